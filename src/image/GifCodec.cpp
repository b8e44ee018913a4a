// GIF: one frame read out of a file of any number, written as a single
// frame GIF87a with a graphic control block.
#include "image/GifLzw.h"
#include "image/ImageCodec.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace orvo {

namespace {

constexpr const char* kCorrupt = "Corrupted GIF file";
// Each LZW code takes at least 3 bits and yields at most 4096 pixels, so
// image data can describe at most this many pixels per byte.
constexpr int64_t kMaxPixelsPerByte = 8 * 4096 / 3 + 1;

struct ColourTable {
    RgbQuad entries[256];
    int count = 0;
};

void ReadColourTable(ByteReader& in, int count, ColourTable& table) {
    const uint8_t* p = in.Take(3 * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        table.entries[i] = MakeRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    table.count = count;
}

// Collects the data sub-blocks that follow; returns false when the data
// stops before the zero-length terminator.
bool ReadSubBlocks(ByteReader& in, std::string* collected) {
    for (;;) {
        if (!in.Has(1))
            return false;
        const uint8_t length = in.U8();
        if (length == 0)
            return true;
        if (!in.Has(length))
            return false;
        const uint8_t* p = in.Take(length);
        if (collected)
            collected->append(reinterpret_cast<const char*>(p), length);
    }
}

void DecodeFrame(RasterImage& image, ByteReader& in, const ColourTable& global,
                 int transparentIndex, int delay) {
    in.Skip(4); // left, top: a single frame is shown on its own
    const int width = in.U16();
    const int height = in.U16();
    const uint8_t packed = in.U8();
    ColourTable local;
    const ColourTable* table = &global;
    if (packed & 0x80) {
        ReadColourTable(in, 2 << (packed & 7), local);
        table = &local;
    }
    const bool interlaced = (packed & 0x40) != 0;
    const int minCodeSize = in.U8();
    std::string data;
    if (!ReadSubBlocks(in, &data))
        throw ImageFormatError(kCorrupt);
    if (width == 0 || height == 0 || table->count == 0)
        throw ImageFormatError(kCorrupt);
    const int64_t pixels = int64_t(width) * height;
    if (pixels > (static_cast<int64_t>(data.size()) + 1) * kMaxPixelsPerByte)
        throw ImageFormatError(kCorrupt);

    const int bits = table->count < 3 ? 1 : table->count <= 16 ? 4 : 8;
    CreateOrThrow(image, width, height, bits, "Can't allocate memory");
    image.SetPalette(table->entries, table->count);
    image.SetTransparentIndex(transparentIndex < image.PaletteSize() ? transparentIndex : -1);
    image.SetFrameDelay(delay);
    image.SetInterlaced(interlaced);

    // Filled only as far as the data reaches; the rest of the picture stays 0.
    std::unique_ptr<uint8_t[]> indexes(new uint8_t[static_cast<size_t>(pixels)]);
    const size_t produced =
        GifLzw::Decode(reinterpret_cast<const uint8_t*>(data.data()), data.size(), minCodeSize,
                       indexes.get(), static_cast<size_t>(pixels));
    const int limit = 1 << bits;
    int pass = 0, row = 0;
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int n = 0; n < height && static_cast<size_t>(n) * width < produced; ++n) {
        int top = n;
        if (interlaced) {
            while (pass < 4 && row >= height) {
                ++pass;
                row = pass < 4 ? kStart[pass] : 0;
            }
            top = row;
            row += kStep[std::min(pass, 3)];
        }
        const uint8_t* src = indexes.get() + static_cast<size_t>(n) * width;
        const int count = static_cast<int>(std::min<size_t>(width, produced - size_t(n) * width));
        const int y = height - 1 - top;
        if (bits == 8) {
            std::memcpy(image.Row(y), src, count);
            continue;
        }
        for (int x = 0; x < count; ++x)
            image.SetPixelIndex(x, y, src[x] < limit ? src[x] : 0);
    }
}

} // namespace

void ReadGif(RasterImage& image, std::string_view data) {
    if (data.size() < 6 || data.substr(0, 4) != "GIF8")
        throw ImageFormatError("Not a GIF file");
    ByteReader in(data, kCorrupt);
    in.Seek(6);
    in.Skip(4); // screen size
    const uint8_t packed = in.U8();
    in.Skip(2);
    ColourTable global;
    if (packed & 0x80)
        ReadColourTable(in, 2 << (packed & 7), global);

    int frames = 0;
    int transparent = -1, delay = 0;
    bool decoded = false;
    // After the wanted frame the rest is only counted; a damaged tail then
    // ends the count instead of failing the load.
    try {
        while (in.Has(1)) {
            const uint8_t block = in.U8();
            if (block == ';')
                break;
            if (block == '!') {
                const uint8_t label = in.U8();
                if (label == 0xF9 && in.Has(6) && in.Data()[in.Pos()] >= 4) {
                    const size_t start = in.Pos();
                    in.Skip(1);
                    const uint8_t flags = in.U8();
                    delay = in.U16();
                    const uint8_t index = in.U8();
                    transparent = (flags & 1) ? index : -1;
                    in.Seek(start);
                }
                if (!ReadSubBlocks(in, nullptr))
                    throw ImageFormatError(kCorrupt);
            } else if (block == ',') {
                if (frames++ == image.FrameIndex()) {
                    DecodeFrame(image, in, global, transparent, delay);
                    decoded = true;
                } else {
                    in.Skip(8);
                    const uint8_t p = in.U8();
                    if (p & 0x80)
                        in.Skip(3 * (size_t(2) << (p & 7)));
                    in.Skip(1);
                    if (!ReadSubBlocks(in, nullptr))
                        throw ImageFormatError(kCorrupt);
                }
                transparent = -1;
            } else {
                throw ImageFormatError(kCorrupt);
            }
        }
    } catch (const ImageFormatError&) {
        if (!decoded)
            throw;
    }
    if (!decoded)
        throw ImageFormatError(frames ? "GIF frame not present" : kCorrupt);
    image.SetFrameCount(frames);
}

std::string WriteGif(const RasterImage& image) {
    if (image.IsEmpty())
        throw ImageFormatError("Can't save an empty image");
    if (image.Bits() > 8)
        throw ImageFormatError("GIF Images must be 8 bit or less");
    const int bpp = image.Bits();
    const int width = image.Width(), height = image.Height();
    ByteWriter out;
    out.Bytes("GIF87a", 6);
    out.U16(static_cast<uint16_t>(width));
    out.U16(static_cast<uint16_t>(height));
    out.U8(static_cast<uint8_t>(0x80 | ((bpp - 1) << 4) | (bpp - 1)));
    out.U8(0);
    out.U8(0);
    const RgbQuad* palette = image.Palette();
    for (int i = 0; i < image.PaletteSize(); ++i) {
        out.U8(palette[i].red);
        out.U8(palette[i].green);
        out.U8(palette[i].blue);
    }
    const bool transparent = image.TransparentIndex() >= 0;
    out.Bytes("!\xF9\x04", 3);
    out.U8(transparent ? 1 : 0);
    out.U16(static_cast<uint16_t>(image.FrameDelay()));
    out.U8(static_cast<uint8_t>(transparent ? image.TransparentIndex() : 0));
    out.U8(0);
    out.U8(',');
    out.U16(0);
    out.U16(0);
    out.U16(static_cast<uint16_t>(width));
    out.U16(static_cast<uint16_t>(height));
    out.U8(0);

    const int minCodeSize = std::max(2, bpp);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
    for (int top = 0; top < height; ++top)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(top) * width + x] = image.GetPixelIndex(x, height - 1 - top);
    out.U8(static_cast<uint8_t>(minCodeSize));
    out.SubBlocks(GifLzw::Encode(pixels.data(), pixels.size(), minCodeSize));
    out.U8(';');
    return std::move(out.Out());
}

} // namespace orvo
