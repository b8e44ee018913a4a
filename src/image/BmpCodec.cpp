// BMP files: the 14-byte file header followed by the same bitmap block the
// image holds in memory, so writing is a straight copy and reading mostly
// checks and unpacks.
#include "image/ImageCodec.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvo {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr const char* kInfoError = "Error reading BMP info";
constexpr const char* kDataError = "Error reading BMP data";

struct BmpInfo {
    uint32_t headerSize = 0;
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kRgb;
    uint32_t colorsUsed = 0;
    int32_t pelsX = 0, pelsY = 0;
};

BmpInfo ReadInfo(ByteReader& in) {
    BmpInfo info;
    info.headerSize = in.U32();
    if (info.headerSize == 12) {
        info.width = in.U16();
        info.height = in.U16();
        in.U16(); // planes
        info.bits = in.U16();
        return info;
    }
    // Later header versions (52 to 124 bytes) start with the same 40 bytes.
    if (info.headerSize < 40 || info.headerSize > 4096)
        throw ImageFormatError(kInfoError);
    int32_t width = static_cast<int32_t>(in.U32());
    int32_t height = static_cast<int32_t>(in.U32());
    in.U16();
    info.bits = in.U16();
    info.compression = in.U32();
    in.U32(); // image size: unreliable, recomputed
    info.pelsX = static_cast<int32_t>(in.U32());
    info.pelsY = static_cast<int32_t>(in.U32());
    info.colorsUsed = in.U32();
    in.U32();
    if (height < 0 && height != std::numeric_limits<int32_t>::min()) {
        info.topDown = true;
        height = -height;
    }
    info.width = width;
    info.height = height;
    return info;
}

// One channel of a bit-field pixel, scaled to 0..255. Masks must be one
// run of bits; anything else has no meaning as a channel.
struct MaskChannel {
    explicit MaskChannel(uint32_t m) : mask(m) {
        if (!mask)
            return;
        while (!((mask >> shift) & 1))
            ++shift;
        while (shift + width < 32 && ((mask >> (shift + width)) & 1))
            ++width;
        max = width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1);
        if ((mask >> shift) != max)
            throw ImageFormatError(kInfoError);
    }
    uint8_t operator()(uint32_t pixel) const {
        if (!mask)
            return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
    uint32_t mask;
    int shift = 0;
    int width = 0;
    uint32_t max = 1;
};

uint8_t* StoredRow(RasterImage& image, const BmpInfo& info, int fileRow) {
    return image.Row(info.topDown ? image.Height() - 1 - fileRow : fileRow);
}

void ReadRle(RasterImage& image, ByteReader& in, bool four) {
    const int width = image.Width();
    int x = 0, y = 0;
    auto put = [&](uint8_t index) {
        if (x < width)
            image.SetPixelIndex(x, y, index);
        x = std::min(x + 1, width);
    };
    while (in.Has(2) && y < image.Height()) {
        const uint8_t count = in.U8();
        const uint8_t value = in.U8();
        if (count) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!in.Has(2))
                break;
            x = std::min(x + in.U8(), width);
            y += in.U8();
        } else {
            const size_t bytes = four ? (value + 1u) / 2 : value;
            if (!in.Has(bytes))
                throw ImageFormatError(kDataError);
            const uint8_t* p = in.Take(bytes);
            for (int i = 0; i < value; ++i)
                put(four ? ((i & 1) ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
            if (bytes & 1)
                in.Skip(std::min<size_t>(1, in.Remaining()));
        }
    }
}

void ReadUncompressed(RasterImage& image, const BmpInfo& info, ByteReader& in) {
    const int stride = image.Stride();
    const size_t lastRow = (static_cast<size_t>(info.width) * info.bits + 7) / 8;
    // Some writers leave out the padding of the final row.
    if (in.Remaining() < static_cast<size_t>(stride) * (info.height - 1) + lastRow)
        throw ImageFormatError(kDataError);
    for (int y = 0; y < info.height; ++y) {
        size_t n = std::min<size_t>(stride, in.Remaining());
        std::memcpy(StoredRow(image, info, y), in.Take(n), n);
    }
}

struct BmpMasks {
    uint32_t red = 0x7C00, green = 0x03E0, blue = 0x001F, alpha = 0;
};

uint32_t DeepPixel(const uint8_t* row, int x, int bytes) {
    const uint8_t* p = row + static_cast<size_t>(x) * bytes;
    return bytes == 2 ? (p[0] | p[1] << 8)
                      : (p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Many writers declare an alpha channel and leave it zero everywhere; such a
// picture is meant opaque, not invisible.
bool AlphaUsed(const uint8_t* pixels, int srcStride, const BmpInfo& info, int bytes,
               uint32_t alphaMask) {
    if (!alphaMask)
        return false;
    for (int y = 0; y < info.height; ++y)
        for (int x = 0; x < info.width; ++x)
            if (DeepPixel(pixels + static_cast<size_t>(y) * srcStride, x, bytes) & alphaMask)
                return true;
    return false;
}

void ReadDeep(RasterImage& image, const BmpInfo& info, ByteReader& in, const BmpMasks& masks) {
    const int srcStride = RasterImage::StrideFor(info.width, info.bits);
    if (in.Remaining() / srcStride < static_cast<size_t>(info.height))
        throw ImageFormatError(kDataError);
    const MaskChannel red(masks.red), green(masks.green), blue(masks.blue), alpha(masks.alpha);
    const int bytes = info.bits / 8;
    const uint8_t* pixels = in.Take(static_cast<size_t>(srcStride) * info.height);
    // Translucent pixels show on a white field, as icons do.
    const bool blend = AlphaUsed(pixels, srcStride, info, bytes, masks.alpha);
    for (int y = 0; y < info.height; ++y) {
        const uint8_t* src = pixels + static_cast<size_t>(y) * srcStride;
        uint8_t* dst = StoredRow(image, info, y);
        for (int x = 0; x < info.width; ++x, dst += 3) {
            const uint32_t v = DeepPixel(src, x, bytes);
            dst[0] = blue(v);
            dst[1] = green(v);
            dst[2] = red(v);
            if (blend) {
                const int a = alpha(v);
                for (int c = 0; c < 3; ++c)
                    dst[c] = static_cast<uint8_t>((dst[c] * a + 255 * (255 - a) + 127) / 255);
            }
        }
    }
}

} // namespace

void ByteWriter::Header(const BitmapInfoHeader& h) {
    U32(h.size);
    U32(static_cast<uint32_t>(h.width));
    U32(static_cast<uint32_t>(h.height));
    U16(h.planes);
    U16(h.bitCount);
    U32(h.compression);
    U32(h.sizeImage);
    U32(static_cast<uint32_t>(h.xPelsPerMeter));
    U32(static_cast<uint32_t>(h.yPelsPerMeter));
    U32(h.clrUsed);
    U32(h.clrImportant);
}

int DpiFromPelsPerMeter(int32_t pelsPerMeter) {
    if (pelsPerMeter <= 0 || pelsPerMeter > 10000000)
        return 72;
    return static_cast<int>(std::floor(pelsPerMeter / 39.37007874015748 + 0.5));
}

void CreateOrThrow(RasterImage& image, int width, int height, int bits, const char* message) {
    if (!image.Create(width, height, bits))
        throw ImageFormatError(message);
}

bool PeekBmpLayout(std::string_view data, int& bitsPerPixel, int& compression, bool& alpha) {
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
        return false;
    try {
        ByteReader in(data, kInfoError);
        in.Seek(14);
        const BmpInfo info = ReadInfo(in);
        bitsPerPixel = info.bits;
        compression = static_cast<int>(info.compression);
        // The alpha mask is the fourth mask, where ReadBmp takes it from.
        alpha = false;
        if (info.compression == kAlphaBitFields ||
            (info.compression == kBitFields && info.headerSize >= 56)) {
            in.Seek(14 + 40 + 12);
            alpha = in.U32() != 0;
        }
        return true;
    } catch (const ImageFormatError&) {
        return false;
    }
}

void ReadBmp(RasterImage& image, std::string_view data) {
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
        throw ImageFormatError("Not a BMP");
    ByteReader in(data, kInfoError);
    in.Seek(10);
    const uint32_t pixelOffset = in.U32();
    const BmpInfo info = ReadInfo(in);
    if (info.width <= 0 || info.height <= 0)
        throw ImageFormatError(kInfoError);
    switch (info.bits) {
    case 1:
    case 4:
    case 8:
        if (info.compression != kRgb &&
            !(info.compression == kRle8 && info.bits == 8 && !info.topDown) &&
            !(info.compression == kRle4 && info.bits == 4 && !info.topDown))
            throw ImageFormatError("compression type not supported");
        break;
    case 16:
    case 24:
    case 32:
        if (info.compression == kRgb)
            break;
        if ((info.compression == kBitFields || info.compression == kAlphaBitFields) &&
            info.bits != 24)
            break;
        throw ImageFormatError("unknown compression");
    default:
        throw ImageFormatError(kInfoError);
    }

    BmpMasks masks;
    if (info.bits == 32)
        masks = BmpMasks{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    const bool fields = info.compression == kBitFields || info.compression == kAlphaBitFields;
    if (fields) {
        // The masks follow a 40-byte header, or sit inside a longer one at
        // the same place; the alpha mask comes fourth where there is room.
        in.Seek(14 + 40);
        masks.red = in.U32();
        masks.green = in.U32();
        masks.blue = in.U32();
        masks.alpha = (info.compression == kAlphaBitFields || info.headerSize >= 56) ? in.U32() : 0;
    }
    const bool core = info.headerSize == 12;
    const size_t paletteStart = 14 + info.headerSize;
    int entries = 0;
    if (info.bits <= 8) {
        const int full = 1 << info.bits;
        entries = (info.colorsUsed > 0 && info.colorsUsed < static_cast<uint32_t>(full))
                      ? static_cast<int>(info.colorsUsed)
                      : full;
        // A header that promises more entries than fit before the pixels.
        const size_t entrySize = core ? 3 : 4;
        if (pixelOffset >= paletteStart && pixelOffset < data.size())
            entries = std::min<int>(entries, (pixelOffset - paletteStart) / entrySize);
    }
    CreateOrThrow(image, info.width, info.height, info.bits <= 8 ? info.bits : 24,
                  "Can't allocate memory");
    if (entries) {
        in.Seek(paletteStart);
        RgbQuad* palette = image.Palette();
        for (int i = 0; i < entries; ++i) {
            const uint8_t* p = in.Take(core ? 3 : 4);
            palette[i] = RgbQuad{p[0], p[1], p[2], 0};
        }
    }
    image.SetDpi(DpiFromPelsPerMeter(info.pelsX), DpiFromPelsPerMeter(info.pelsY));

    const size_t afterPalette =
        paletteStart + entries * (core ? 3 : 4) +
        (fields && info.headerSize == 40 ? (info.compression == kAlphaBitFields ? 16 : 12) : 0);
    ByteReader pixels(data, kDataError);
    pixels.Seek(pixelOffset >= 14 + info.headerSize && pixelOffset < data.size() ? pixelOffset
                                                                                 : afterPalette);
    if (info.compression == kRle8 || info.compression == kRle4)
        ReadRle(image, pixels, info.compression == kRle4);
    else if (info.bits <= 8 || info.bits == 24)
        ReadUncompressed(image, info, pixels);
    else
        ReadDeep(image, info, pixels, masks);
}

std::string WriteBmp(const RasterImage& image) {
    if (image.IsEmpty())
        throw ImageFormatError("Can't save an empty image");
    ByteWriter out;
    const size_t paletteBytes = image.PaletteSize() * sizeof(RgbQuad);
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<uint32_t>(image.MemorySize() + 14));
    out.U16(0);
    out.U16(0);
    out.U32(static_cast<uint32_t>(14 + 40 + paletteBytes));
    BitmapInfoHeader h = image.Header();
    h.size = 40;
    h.compression = 0;
    out.Header(h);
    out.Bytes(image.Palette(), paletteBytes);
    out.Bytes(image.PixelData(), image.PixelBytes());
    return std::move(out.Out());
}

} // namespace orvo
