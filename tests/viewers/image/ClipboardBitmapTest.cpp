#include "viewers/image/ClipboardBitmap.h"

#include "ImageTransformTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Gradient;
using test::TopColor;

// A packed bitmap block built by hand: header, extra (masks or palette),
// then the rows exactly as given.
std::vector<uint8_t> Block(int width, int height, int bits, uint32_t compression,
                           const std::vector<uint32_t>& extra, const std::vector<uint8_t>& rows,
                           uint32_t colorsUsed = 0) {
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = static_cast<uint16_t>(bits);
    header.compression = compression;
    header.clrUsed = colorsUsed;
    header.xPelsPerMeter = 3780; // 96 dpi
    std::vector<uint8_t> out(sizeof header + extra.size() * 4);
    std::memcpy(out.data(), &header, sizeof header);
    if (!extra.empty())
        std::memcpy(out.data() + sizeof header, extra.data(), extra.size() * 4);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

TEST(ClipboardBitmap, RoundTripsEveryDepthByteForByte) {
    for (int bits : {1, 4, 8, 24}) {
        RasterImage image;
        if (bits == 24) {
            image = Gradient(7, 3);
        } else {
            image.Create(7, 3, bits);
            for (int i = 0; i < image.PaletteSize(); ++i)
                image.Palette()[i] = MakeRgb(uint8_t(i), uint8_t(2 * i), uint8_t(255 - i));
            for (int x = 0; x < 7; ++x)
                image.SetPixelIndex(x, x % 3, uint8_t(x % image.PaletteSize()));
        }
        image.SetDpi(300, 200);
        const std::vector<uint8_t> block = ToClipboardBitmap(image);
        ASSERT_EQ(block.size(), image.MemorySize());
        RasterImage back;
        back.SetTransparentIndex(3);
        ASSERT_TRUE(FromClipboardBitmap(back, block.data(), block.size())) << back.LastError();
        EXPECT_EQ(back.Bits(), bits);
        EXPECT_EQ(back.DpiX(), 300);
        EXPECT_EQ(back.DpiY(), 200);
        EXPECT_EQ(back.TransparentIndex(), -1) << "a pasted picture has no transparency";
        ASSERT_EQ(back.MemorySize(), image.MemorySize());
        EXPECT_EQ(std::memcmp(back.Block(), block.data(), block.size()), 0) << bits;
    }
    EXPECT_TRUE(ToClipboardBitmap(RasterImage()).empty());
}

TEST(ClipboardBitmap, SixteenAndThirtyTwoBitsBecomeRgb) {
    // Uncompressed 16 bits are 5-5-5: white, pure red, and the middle step.
    RasterImage image;
    const auto rgb555 = Block(3, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x42, 0, 0});
    ASSERT_TRUE(FromClipboardBitmap(image, rgb555.data(), rgb555.size()));
    ASSERT_EQ(image.Bits(), 24);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(255, 255, 255));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(image.GetPixelColor(2, 0), MakeRgb(132, 132, 132)); // 16 / 31 of 255, rounded
    EXPECT_EQ(image.DpiX(), 96);

    // Bit fields 5-6-5 with the masks after the header.
    const auto rgb565 = Block(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x10, 0x04});
    ASSERT_TRUE(FromClipboardBitmap(image, rgb565.data(), rgb565.size()));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(0, 255, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(0, 130, 132));

    // 32 bits, with unusual masks, and uncompressed (8-8-8, top byte unused).
    const auto swapped = Block(1, 1, 32, 3, {0xFF, 0xFF00, 0xFF0000}, {0x11, 0x22, 0x33, 0x44});
    ASSERT_TRUE(FromClipboardBitmap(image, swapped.data(), swapped.size()));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(0x11, 0x22, 0x33));
    const auto plain = Block(1, 1, 32, 0, {}, {0x11, 0x22, 0x33, 0x44});
    ASSERT_TRUE(FromClipboardBitmap(image, plain.data(), plain.size()));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(0x33, 0x22, 0x11));
}

TEST(ClipboardBitmap, TopDownRowsAndShortPalettes) {
    // Rows are stored bottom first unless the height is negative.
    const auto topDown = Block(1, 2, 32, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0});
    RasterImage image;
    ASSERT_TRUE(FromClipboardBitmap(image, topDown.data(), topDown.size()));
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(TopColor(image, 0, 0), MakeRgb(0, 0, 255));

    auto flipped = topDown;
    int32_t negative = -2;
    std::memcpy(flipped.data() + 8, &negative, 4);
    ASSERT_TRUE(FromClipboardBitmap(image, flipped.data(), flipped.size()));
    EXPECT_EQ(TopColor(image, 0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(TopColor(image, 0, 1), MakeRgb(0, 0, 255));

    // Two palette entries given for an 8-bit bitmap; the rest are black.
    const auto twoColours = Block(2, 1, 8, 0, {0x00FF0000, 0x000000FF}, {1, 0, 0, 0}, 2);
    ASSERT_TRUE(FromClipboardBitmap(image, twoColours.data(), twoColours.size()));
    EXPECT_EQ(image.PaletteSize(), 256);
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgb(0, 0, 255));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(image.Palette()[2], RgbQuad{});
}

TEST(ClipboardBitmap, DamagedBlocksFailCleanly) {
    RasterImage image;
    image.Create(4, 4, 8);
    const std::vector<uint8_t> good = ToClipboardBitmap(image);
    // Every cut short of the whole block misses rows or palette.
    for (size_t n = 0; n < good.size(); ++n) {
        RasterImage back;
        EXPECT_FALSE(FromClipboardBitmap(back, good.data(), n)) << n;
        EXPECT_TRUE(back.IsEmpty());
        EXPECT_FALSE(back.LastError().empty());
    }

    struct Case {
        std::vector<uint8_t> block;
        const char* error;
    } cases[] = {
        {Block(0, 1, 24, 0, {}, {0, 0, 0, 0}), "Damaged clipboard bitmap"},
        {Block(1, 1, 8, 1, {}, std::vector<uint8_t>(1028)), "Unsupported clipboard bitmap"},
        {Block(1, 1, 24, 3, {0, 0, 0}, {0, 0, 0, 0}), "Unsupported clipboard bitmap"},
        {Block(1, 1, 12, 0, {}, {0, 0, 0, 0}), "Unsupported clipboard bitmap"},
        {Block(1, 1, 8, 0, {}, {0, 0, 0, 0}, 0x40000000), "Damaged clipboard bitmap"},
        {Block(40000, 1, 1, 0, {0, 0}, std::vector<uint8_t>(5000)), "Clipboard bitmap too large"},
        {Block(30000, 30000, 1, 0, {0, 0}, {}), "Clipboard bitmap too large"},
        {Block(1000, 1000, 24, 0, {}, {1, 2, 3}), "Damaged clipboard bitmap"},
    };
    for (const Case& c : cases) {
        RasterImage back;
        EXPECT_FALSE(FromClipboardBitmap(back, c.block.data(), c.block.size()));
        EXPECT_EQ(back.LastError(), c.error);
        EXPECT_TRUE(back.IsEmpty());
    }
    auto hugeHeader = good;
    const uint32_t size = 1u << 31;
    std::memcpy(hugeHeader.data(), &size, 4);
    EXPECT_FALSE(FromClipboardBitmap(image, hugeHeader.data(), hugeHeader.size()));
    EXPECT_FALSE(FromClipboardBitmap(image, nullptr, 100));
}

} // namespace
} // namespace orvo
