#include "FormatTestSupport.h"
#include "image/GifLzw.h"
#include "image/ImageCodec.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace orvo {
namespace {

struct Frame {
    int width = 4, height = 4;
    std::vector<uint8_t> pixels; // top row first, in file order
    bool interlaced = false;
    int transparent = -1;
    int minCodeSize = 2;
};

// A GIF89a with a four-colour global table and the given frames.
std::string BuildGif(const std::vector<Frame>& frames) {
    ByteWriter w;
    w.Bytes("GIF89a", 6);
    w.U16(4);
    w.U16(4);
    w.U8(0x81); // global table of 4 entries
    w.U16(0);
    w.Bytes("\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12);
    w.Bytes("!\xFE\x03"
            "abc"
            "\x00",
            7); // a comment to skip
    for (const Frame& f : frames) {
        if (f.transparent >= 0) {
            w.Bytes("!\xF9\x04\x01\x07\x00", 6);
            w.U8(static_cast<uint8_t>(f.transparent));
            w.U8(0);
        }
        w.U8(',');
        w.U32(0);
        w.U16(static_cast<uint16_t>(f.width));
        w.U16(static_cast<uint16_t>(f.height));
        w.U8(f.interlaced ? 0x40 : 0);
        w.U8(static_cast<uint8_t>(f.minCodeSize));
        w.SubBlocks(GifLzw::Encode(f.pixels.data(), f.pixels.size(), f.minCodeSize));
    }
    w.U8(';');
    return w.Out();
}

std::string Read(RasterImage& image, const std::string& bytes) {
    image.Destroy();
    try {
        ReadGif(image, bytes);
    } catch (const ImageFormatError& e) {
        return e.what();
    }
    return "";
}

int TopIndex(const RasterImage& image, int x, int top) {
    return image.GetPixelIndex(x, image.Height() - 1 - top);
}

TEST(GifLzw, MatchesHandWorkedCodes) {
    // Four zeros at minimum code size 2: clear, 0, 6, 0, end, the last
    // one already 4 bits wide because the table has reached 8 entries.
    const uint8_t zeros[4] = {};
    EXPECT_EQ(GifLzw::Encode(zeros, 4, 2), std::string("\x84\x51", 2));
    uint8_t out[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(GifLzw::Decode(reinterpret_cast<const uint8_t*>("\x84\x51"), 2, 2, out, 8), 4u);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[4], 9);
}

TEST(GifLzw, RoundTripsThroughFullTables) {
    std::mt19937 random(7);
    for (int bits : {1, 2, 4, 8}) {
        // Noise fills the 4096-entry table many times over; long runs
        // exercise the code that is defined by its own use.
        std::vector<uint8_t> pixels(60000);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = (i / 3000) % 2 ? static_cast<uint8_t>(random() % (1u << bits)) : 1;
        const int minCodeSize = std::max(2, bits);
        const std::string data = GifLzw::Encode(pixels.data(), pixels.size(), minCodeSize);
        std::vector<uint8_t> back(pixels.size() + 10, 0xEE);
        const size_t n = GifLzw::Decode(reinterpret_cast<const uint8_t*>(data.data()), data.size(),
                                        minCodeSize, back.data(), back.size());
        ASSERT_EQ(n, pixels.size()) << bits;
        EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), back.begin())) << bits;
    }
}

TEST(GifLzw, RefusesCodesNotYetDefined) {
    // Clear (4), 0, then code 7 while only 6 could come next.
    uint8_t out[4];
    EXPECT_THROW(GifLzw::Decode(reinterpret_cast<const uint8_t*>("\xC4\x01"), 2, 2, out, 4),
                 ImageFormatError);
    EXPECT_THROW(GifLzw::Decode(reinterpret_cast<const uint8_t*>("\x00"), 1, 12, out, 4),
                 ImageFormatError);
}

TEST(GifReader, ReadsAReferenceFile) {
    // The well-known 1 × 1 transparent GIF, written by other programs.
    const std::string pixel("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00"
                            "!\xF9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                            "\x02\x02\x44\x01\x00;",
                            43);
    RasterImage image;
    ASSERT_EQ(Read(image, pixel), "");
    EXPECT_EQ(image.Bits(), 1);
    EXPECT_EQ(image.TransparentIndex(), 0);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(255, 255, 255));
    EXPECT_EQ(image.FrameCount(), 1);
}

TEST(GifReader, InterlacedRowsAndFrames) {
    Frame tall;
    tall.width = 1;
    tall.height = 10;
    tall.interlaced = true;
    // File order of an interlaced picture: rows 0 8 | 4 | 2 6 | 1 3 5 7 9.
    for (int row : {0, 8, 4, 2, 6, 1, 3, 5, 7, 9})
        tall.pixels.push_back(static_cast<uint8_t>(row % 4));
    Frame second;
    second.transparent = 2;
    second.pixels.assign(16, 3);
    RasterImage image;
    ASSERT_EQ(Read(image, BuildGif({tall, second})), "");
    EXPECT_TRUE(image.Interlaced());
    EXPECT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(image.TransparentIndex(), -1); // the control block belongs to frame 2
    for (int top = 0; top < 10; ++top)
        EXPECT_EQ(TopIndex(image, 0, top), top % 4) << top;

    image.SetFrameIndex(1);
    ASSERT_EQ(Read(image, BuildGif({tall, second})), "");
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.TransparentIndex(), 2);
    EXPECT_EQ(image.FrameDelay(), 7);
    EXPECT_EQ(image.GetPixelColor(1, 1), MakeRgb(0, 0, 255));
    image.SetFrameIndex(2);
    EXPECT_EQ(Read(image, BuildGif({tall, second})), "GIF frame not present");
}

TEST(GifReader, DamageBeforeAndAfterTheFrame) {
    Frame f;
    f.pixels = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    const std::string good = BuildGif({f, f});
    const std::string one = BuildGif({f});
    RasterImage image;
    // A broken second frame does not spoil the first.
    ASSERT_EQ(Read(image, good.substr(0, good.size() - 12) + "\x07"), "");
    EXPECT_EQ(TopIndex(image, 2, 0), 2);
    EXPECT_EQ(image.FrameCount(), 2);
    // Every cut inside the first frame's data fails cleanly.
    for (size_t n = 0; n + 1 < one.size(); ++n)
        EXPECT_NE(Read(image, one.substr(0, n)), "") << n;
    EXPECT_EQ(Read(image, one.substr(0, one.size() - 1)), ""); // only the trailer missing
    EXPECT_EQ(Read(image, "GIF7a"), "Not a GIF file");

    // Indexes beyond a 4-entry table read as 0.
    Frame wide;
    wide.minCodeSize = 8;
    wide.pixels.assign(16, 200);
    ASSERT_EQ(Read(image, BuildGif({wide})), "");
    EXPECT_EQ(image.GetPixelIndex(0, 0), 0);
}

TEST(GifReader, LyingSizeIsRefusedBeforeAllocating) {
    Frame f;
    f.pixels.assign(16, 1);
    std::string bytes = BuildGif({f});
    const size_t descriptor = bytes.find(',');
    bytes[descriptor + 5] = '\x30'; // 30000 wide
    bytes[descriptor + 6] = '\x75';
    bytes[descriptor + 7] = '\x80'; // 16000 high
    bytes[descriptor + 8] = '\x3E';
    RasterImage image;
    EXPECT_EQ(Read(image, bytes), "Corrupted GIF file");
}

} // namespace
} // namespace orvo
