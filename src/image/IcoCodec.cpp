// Icon files: a directory of entries, each a bitmap of doubled height (the
// colour rows, then a 1-bit transparency mask) or, in newer files, a PNG.
#include "image/ImageCodec.h"

#include <algorithm>

namespace orvo {

namespace {

constexpr const char* kCorrupt = "Corrupted icon file";

struct IconEntry {
    int width, height, colours, bits;
    uint32_t bytes, offset;
};

void ReadTrueColour(RasterImage& image, ByteReader& in, int bits) {
    const int width = image.Width();
    const int stride = RasterImage::StrideFor(width, bits);
    const int step = bits / 8;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* src = in.Take(stride);
        uint8_t* dst = image.Row(y);
        for (int x = 0; x < width; ++x, src += step, dst += 3) {
            // Alpha icons show on a white field, as the browser shows icons.
            const int alpha = step == 4 ? src[3] : 255;
            for (int c = 0; c < 3; ++c)
                dst[c] = static_cast<uint8_t>((src[c] * alpha + 255 * (255 - alpha) + 127) / 255);
        }
    }
}

} // namespace

void ReadIco(RasterImage& image, std::string_view data) {
    ByteReader in(data, kCorrupt);
    if (data.size() < 6)
        throw ImageFormatError("Not an icon file");
    const uint16_t reserved = in.U16();
    const uint16_t type = in.U16();
    const uint16_t count = in.U16();
    if (reserved != 0 || type != 1 || count == 0)
        throw ImageFormatError("Not an icon file");
    // A count beyond the entries the file holds would be a lie in FrameCount.
    const int entries = static_cast<int>(std::min<size_t>(count, (data.size() - 6) / 16));
    image.SetFrameCount(entries);
    const int index = image.FrameIndex();
    if (index < 0 || index >= entries)
        throw ImageFormatError("Icon frame not present");
    in.Seek(6 + 16 * static_cast<size_t>(index));
    IconEntry e{};
    e.width = in.U8();
    e.height = in.U8();
    e.colours = in.U8();
    in.Skip(3); // reserved, planes
    e.bits = in.U16();
    e.bytes = in.U32();
    e.offset = in.U32();
    // A stored side of 0 means 256 pixels.
    if (e.width == 0)
        e.width = 256;
    if (e.height == 0)
        e.height = 256;
    if (e.offset >= data.size())
        throw ImageFormatError(kCorrupt);
    const std::string_view body = data.substr(e.offset, e.bytes ? e.bytes : std::string_view::npos);
    if (body.size() >= 8 && body.substr(0, 8) == "\x89PNG\r\n\x1A\n") {
        ReadPng(image, body);
        image.SetFrameCount(entries);
        return;
    }

    ByteReader bmp(data, kCorrupt);
    bmp.Seek(e.offset);
    const uint32_t headerSize = bmp.U32();
    if (headerSize < 12 || headerSize > 4096)
        throw ImageFormatError(kCorrupt);
    bmp.Seek(e.offset + 14);
    const int headerBits = bmp.U16();
    bmp.Seek(e.offset + headerSize);
    if (headerBits == 24 || headerBits == 32) {
        CreateOrThrow(image, e.width, e.height, 24, "Can't allocate memory");
        ReadTrueColour(image, bmp, headerBits);
        return;
    }
    // The colour count decides the depth; a header that states 1, 4 or 8
    // bits is trusted over a count that some writers leave at 0.
    int bits = e.colours == 2 ? 1 : e.colours == 16 ? 4 : 8;
    if (headerBits == 1 || headerBits == 4 || headerBits == 8)
        bits = headerBits;
    CreateOrThrow(image, e.width, e.height, bits, "Can't allocate memory");
    const uint8_t* palette = bmp.Take(4 * static_cast<size_t>(image.PaletteSize()));
    std::memcpy(image.Palette(), palette, 4 * static_cast<size_t>(image.PaletteSize()));
    for (int i = 0; i < image.PaletteSize(); ++i)
        image.Palette()[i].reserved = 0;
    const size_t rows = static_cast<size_t>(image.Stride()) * image.Height();
    std::memcpy(image.PixelData(), bmp.Take(rows), rows);
}

std::string WriteIco(const RasterImage& image) {
    if (image.IsEmpty() || image.Bits() > 8 || image.Width() > 255 || image.Height() > 255)
        throw ImageFormatError("Can't save this image as icon");
    const int width = image.Width(), height = image.Height();
    const uint32_t pixelBytes = static_cast<uint32_t>(image.PixelBytes());
    const uint32_t paletteBytes = static_cast<uint32_t>(image.PaletteSize() * 4);
    // The mask needs one bit per pixel in 32-bit aligned rows; small icons
    // would otherwise end before their mask does.
    const uint32_t maskBytes =
        std::max<uint32_t>(width * height / 4, RasterImage::StrideFor(width, 1) * height);
    ByteWriter out;
    out.U16(0);
    out.U16(1);
    out.U16(1);
    out.U8(static_cast<uint8_t>(width));
    out.U8(static_cast<uint8_t>(height));
    out.U8(static_cast<uint8_t>(image.Header().clrUsed & 0xFF));
    out.U8(0);
    out.U16(0);
    out.U16(static_cast<uint16_t>(image.Bits()));
    out.U32(pixelBytes + maskBytes + paletteBytes + 40);
    out.U32(22);
    BitmapInfoHeader h;
    h.width = width;
    h.height = height * 2;
    h.bitCount = static_cast<uint16_t>(image.Bits());
    h.sizeImage = pixelBytes;
    out.Header(h);
    out.Bytes(image.Palette(), paletteBytes);
    out.Bytes(image.PixelData(), pixelBytes);
    out.Zeros(maskBytes);
    return std::move(out.Out());
}

} // namespace orvo
