// BMP and ICO layouts the program does not write itself, built byte by byte.
#include "FormatTestSupport.h"
#include "image/ImageCodec.h"
#include "image/ImageFile.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

struct BmpSpec {
    int width = 2, height = 2, bits = 8;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::string palette; // raw bytes
    std::string extra;   // between header and palette (bit-field masks)
    std::string pixels;
};

std::string BuildBmp(const BmpSpec& s) {
    ByteWriter w;
    const uint32_t offset = 54 + s.extra.size() + s.palette.size();
    w.Bytes("BM", 2);
    w.U32(offset + s.pixels.size());
    w.U32(0);
    w.U32(offset);
    w.U32(40);
    w.U32(static_cast<uint32_t>(s.width));
    w.U32(static_cast<uint32_t>(s.height));
    w.U16(1);
    w.U16(static_cast<uint16_t>(s.bits));
    w.U32(s.compression);
    w.U32(0);
    w.U32(3780); // 96 dpi
    w.U32(3780);
    w.U32(s.colorsUsed);
    w.U32(0);
    w.Bytes(s.extra.data(), s.extra.size());
    w.Bytes(s.palette.data(), s.palette.size());
    w.Bytes(s.pixels.data(), s.pixels.size());
    return w.Out();
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

std::string Load(RasterImage& image, const std::string& bytes, ImageFormat format) {
    image.Destroy();
    try {
        format == ImageFormatBmp ? ReadBmp(image, bytes) : ReadIco(image, bytes);
    } catch (const ImageFormatError& e) {
        return e.what();
    }
    return "";
}

// Indexes of an image as text, rows from the top.
std::string Indexes(const RasterImage& image) {
    std::string out;
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x)
            out += static_cast<char>('0' + image.GetPixelIndex(x, y));
        if (y)
            out += '/';
    }
    return out;
}

TEST(BmpReader, RunLengthEncodingWithEscapes) {
    BmpSpec rle8;
    rle8.width = 6;
    rle8.height = 3;
    rle8.compression = 1;
    // Bottom row: run of 3 × 1, absolute 2,3,4 (padded); end of line.
    // Middle row: delta right 2, up 0; run 2 × 5; end of line. Top row: end of bitmap.
    rle8.pixels = Bytes({3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 0, 2, 5, 0, 0, 0, 1});
    RasterImage image;
    ASSERT_EQ(Load(image, BuildBmp(rle8), ImageFormatBmp), "");
    EXPECT_EQ(Indexes(image), "000000/005500/111234");
    EXPECT_EQ(image.DpiX(), 96);

    BmpSpec rle4 = rle8;
    rle4.bits = 4;
    rle4.compression = 2;
    // Run of 5 alternating 1,2; absolute 3 nibbles 7,8,9 (2 bytes, even).
    rle4.pixels = Bytes({5, 0x12, 0, 3, 0x78, 0x90, 0, 0, 0, 1});
    ASSERT_EQ(Load(image, BuildBmp(rle4), ImageFormatBmp), "");
    EXPECT_EQ(Indexes(image), "000000/000000/121217");

    // Runs that overshoot the row and a huge delta stay inside the image.
    rle8.pixels = Bytes({255, 9, 0, 2, 255, 255, 200, 1});
    ASSERT_EQ(Load(image, BuildBmp(rle8), ImageFormatBmp), "");
    EXPECT_EQ(Indexes(image), "000000/000000/999999");
}

TEST(BmpReader, DeepPixelsBecome24Bits) {
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 16;
    s.pixels = Bytes({0x00, 0x7C, 0x1F, 0x00}); // 5-5-5: pure red, pure blue
    RasterImage image;
    ASSERT_EQ(Load(image, BuildBmp(s), ImageFormatBmp), "");
    ASSERT_EQ(image.Bits(), 24);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(0, 0, 255));

    s.compression = 3; // 5-6-5 masks follow the header
    s.extra = Bytes({0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
    s.pixels = Bytes({0xE0, 0x07, 0x10, 0x00}); // full green; blue 16/31
    ASSERT_EQ(Load(image, BuildBmp(s), ImageFormatBmp), "");
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(0, 255, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(0, 0, 132));
}

TEST(BmpReader, RefusalsAndTheirTexts) {
    RasterImage image;
    BmpSpec s;
    s.bits = 32;
    s.compression = 4; // JPEG inside a BMP
    s.pixels = std::string(16, '\0');
    EXPECT_EQ(Load(image, BuildBmp(s), ImageFormatBmp), "unknown compression");
    s.compression = 3;
    s.extra = Bytes({0, 0xFF, 0, 0, 0xF0, 0, 0, 0, 0x0F, 0, 0, 0}); // red mask has a hole
    s.extra[1] = static_cast<char>(0xF7);
    EXPECT_EQ(Load(image, BuildBmp(s), ImageFormatBmp), "Error reading BMP info");
    s.extra.clear();
    s.bits = 24;
    s.compression = 3;
    EXPECT_EQ(Load(image, BuildBmp(s), ImageFormatBmp), "unknown compression");
    s.bits = 8;
    s.compression = 2; // RLE4 on 8 bits
    EXPECT_EQ(Load(image, BuildBmp(s), ImageFormatBmp), "compression type not supported");
    EXPECT_EQ(Load(image, "BX" + BuildBmp(s).substr(2), ImageFormatBmp), "Not a BMP");
    EXPECT_EQ(Load(image, BuildBmp(s).substr(0, 30), ImageFormatBmp), "Error reading BMP info");

    BmpSpec huge; // promises 900 million pixels in a few bytes
    huge.width = 30000;
    huge.height = 30000;
    EXPECT_EQ(Load(image, BuildBmp(huge), ImageFormatBmp), "Can't allocate memory");
    BmpSpec shortRows;
    shortRows.width = 4;
    shortRows.height = 4;
    shortRows.pixels = std::string(11, '\1');
    EXPECT_EQ(Load(image, BuildBmp(shortRows), ImageFormatBmp), "Error reading BMP data");
    // Through the loader the image ends empty, with the BMP text.
    EXPECT_FALSE(LoadImageBytes(image, BuildBmp(shortRows), ImageFormatBmp));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.LastError(), "Error reading BMP data");
}

TEST(BmpReader, CoreHeaderAndTopDownRows) {
    ByteWriter w; // 12-byte header, 3-byte palette entries
    w.Bytes("BM", 2);
    w.U32(0);
    w.U32(0);
    w.U32(14 + 12 + 6);
    w.U32(12);
    w.U16(3);
    w.U16(2);
    w.U16(1);
    w.U16(1);
    w.Bytes("\x10\x20\x30\xF0\xE0\xD0", 6);
    w.Bytes("\xA0\0\0\0\x40\0\0\0", 8); // bottom row 101, top row 010
    RasterImage image;
    ASSERT_EQ(Load(image, w.Out(), ImageFormatBmp), "");
    EXPECT_EQ(Indexes(image), "010/101");
    EXPECT_EQ(image.Palette()[1], MakeRgb(0xD0, 0xE0, 0xF0));

    BmpSpec top;
    top.width = 1;
    top.height = -2; // rows stored top first
    top.pixels = Bytes({7, 0, 0, 0, 3, 0, 0, 0});
    ASSERT_EQ(Load(image, BuildBmp(top), ImageFormatBmp), "");
    EXPECT_EQ(Indexes(image), "7/3");
}

TEST(IcoReader, EntriesDepthsAndFrames) {
    RasterImage first = test::PatternImage(16, 16, 4);
    std::string bytes = WriteIco(first);
    // Make it a two-entry icon whose second entry is 1-bit 8 × 8.
    RasterImage second = test::PatternImage(8, 8, 1);
    std::string other = WriteIco(second);
    ByteWriter two;
    two.U16(0);
    two.U16(1);
    two.U16(2);
    two.Bytes(bytes.data() + 6, 12);
    two.U32(6 + 32);
    two.Bytes(other.data() + 6, 12);
    two.U32(static_cast<uint32_t>(6 + 32 + bytes.size() - 22));
    two.Bytes(bytes.data() + 22, bytes.size() - 22);
    two.Bytes(other.data() + 22, other.size() - 22);

    RasterImage image;
    ASSERT_EQ(Load(image, two.Out(), ImageFormatIco), "");
    EXPECT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(test::PixelDifference(first, image), "");
    image.SetFrameIndex(1);
    ASSERT_EQ(Load(image, two.Out(), ImageFormatIco), "");
    EXPECT_EQ(test::PixelDifference(second, image), "");
    image.SetFrameIndex(2);
    EXPECT_EQ(Load(image, two.Out(), ImageFormatIco), "Icon frame not present");
    image.SetFrameIndex(0);

    std::string lying = bytes;
    lying[21] = static_cast<char>(0x7F); // offset far beyond the file
    EXPECT_EQ(Load(image, lying, ImageFormatIco), "Corrupted icon file");
    EXPECT_EQ(Load(image, Bytes({0, 0, 2, 0, 1, 0}), ImageFormatIco), "Not an icon file");
}

TEST(IcoReader, TrueColourAndPngEntries) {
    // 2 × 1 at 32 bits: opaque red, fully transparent (shown white).
    ByteWriter w;
    w.U16(0);
    w.U16(1);
    w.U16(1);
    w.Bytes("\x02\x01\x00\x00\x01\x00\x20\x00", 8);
    w.U32(40 + 8 + 4);
    w.U32(22);
    BitmapInfoHeader h;
    h.width = 2;
    h.height = 2;
    h.bitCount = 32;
    w.Header(h);
    w.Bytes("\x00\x00\xFF\xFF\x10\x20\x30\x00", 8);
    w.Zeros(4);
    RasterImage image;
    ASSERT_EQ(Load(image, w.Out(), ImageFormatIco), "");
    ASSERT_EQ(image.Bits(), 24);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(255, 255, 255));

    const std::string png = WritePng(test::PatternImage(5, 3, 8));
    ByteWriter p;
    p.U16(0);
    p.U16(1);
    p.U16(1);
    p.Bytes("\x05\x03\x00\x00\x01\x00\x20\x00", 8);
    p.U32(static_cast<uint32_t>(png.size()));
    p.U32(22);
    p.Bytes(png.data(), png.size());
    ASSERT_EQ(Load(image, p.Out(), ImageFormatIco), "");
    EXPECT_EQ(test::PixelDifference(test::PatternImage(5, 3, 8), image), "");
}

TEST(IcoWriter, MaskCoversEveryRow) {
    // 8 × 8: a 1-bit mask needs 4 bytes per row, more than width × height / 4.
    const std::string bytes = WriteIco(test::PatternImage(8, 8, 8));
    const size_t expected = 22 + 40 + 1024 + 64 + 32;
    EXPECT_EQ(bytes.size(), expected);
    EXPECT_EQ(static_cast<uint8_t>(bytes[14]) | static_cast<uint8_t>(bytes[15]) << 8,
              static_cast<int>(expected - 22));
    EXPECT_EQ(static_cast<uint8_t>(bytes[22 + 14]), 8); // header states its depth
}

} // namespace
} // namespace orvo
