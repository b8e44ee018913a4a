#include "image/ClipboardBitmap.h"

#include "ImageTransformTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace orvo {
namespace {

using namespace test;

// A block built by hand: header, extra words (masks or palette), rows.
std::vector<uint8_t> Block(int width, int height, int bits, uint32_t compression,
                           std::vector<uint32_t> extra, std::vector<uint8_t> rows,
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
    for (size_t i = 0; i < extra.size(); ++i)
        std::memcpy(out.data() + sizeof header + 4 * i, &extra[i], 4);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

RgbQuad Load(RasterImage& image, const std::vector<uint8_t>& block, int x = 0, int ty = 0) {
    EXPECT_TRUE(FromClipboardBitmap(image, block.data(), block.size())) << image.LastError();
    EXPECT_EQ(image.Bits(), 24);
    return TopColor(image, x, ty);
}

TEST(ClipboardBitmap, RoundTripsEveryDepthByteForByte) {
    for (int bits : {1, 4, 8, 24}) {
        RasterImage image = Gradient(7, 3);
        if (bits != 24) {
            image.Create(7, 3, bits);
            for (int i = 0; i < image.PaletteSize(); ++i)
                image.Palette()[i] = MakeRgb(uint8_t(i), uint8_t(2 * i), uint8_t(255 - i));
            for (int x = 0; x < 7; ++x)
                image.SetPixelIndex(x, x % 3, uint8_t(x % image.PaletteSize()));
        }
        image.SetDpi(300, 200);
        const std::vector<uint8_t> block = ToClipboardBitmap(image);
        RasterImage back;
        back.SetTransparentIndex(3);
        ASSERT_TRUE(FromClipboardBitmap(back, block.data(), block.size())) << back.LastError();
        EXPECT_TRUE(SameBlock(back, image)) << bits;
        EXPECT_EQ(back.DpiY(), 200);
        EXPECT_EQ(back.TransparentIndex(), -1) << "a pasted picture has no transparency";
    }
}

TEST(ClipboardBitmap, DeepPixelsBecomeRgbThroughTheirMasks) {
    RasterImage image;
    // Uncompressed 16 bits are 5-5-5: white, red, the middle step 16/31.
    const auto rgb555 = Block(3, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x42, 0, 0});
    EXPECT_EQ(Load(image, rgb555, 0), MakeRgb(255, 255, 255));
    EXPECT_EQ(Load(image, rgb555, 1), MakeRgb(255, 0, 0));
    EXPECT_EQ(Load(image, rgb555, 2), MakeRgb(132, 132, 132));
    EXPECT_EQ(image.DpiX(), 96);
    const auto rgb565 = Block(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x10, 0x04});
    EXPECT_EQ(Load(image, rgb565, 0), MakeRgb(0, 255, 0));
    EXPECT_EQ(Load(image, rgb565, 1), MakeRgb(0, 130, 132));
    const auto swapped = Block(1, 1, 32, 3, {0xFF, 0xFF00, 0xFF0000}, {0x11, 0x22, 0x33, 0x44});
    EXPECT_EQ(Load(image, swapped), MakeRgb(0x11, 0x22, 0x33));
    // Uncompressed 32 bits are 8-8-8; rows run from the top when the
    // height is negative.
    EXPECT_EQ(Load(image, Block(1, 2, 32, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0})),
              MakeRgb(0, 0, 255));
    EXPECT_EQ(Load(image, Block(1, -2, 32, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0})),
              MakeRgb(255, 0, 0));
}

TEST(ClipboardBitmap, DamagedBlocksFailCleanly) {
    RasterImage image;
    image.Create(4, 4, 8);
    const std::vector<uint8_t> good = ToClipboardBitmap(image);
    for (size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(FromClipboardBitmap(image, good.data(), n)) << n;
        EXPECT_TRUE(image.IsEmpty() && !image.LastError().empty());
    }
    auto lyingHeader = good;
    lyingHeader[3] = 0x80; // header size 2 GiB
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {lyingHeader, "Damaged clipboard bitmap"},
        {Block(1, 1, 8, 0, {}, {0, 0, 0, 0}, 0x40000000), "Damaged clipboard bitmap"},
        {Block(1000, 1000, 24, 0, {}, {1, 2, 3}), "Damaged clipboard bitmap"},
        {Block(1, 1, 8, 1, {}, std::vector<uint8_t>(1028)), "Unsupported clipboard bitmap"},
        {Block(1, 1, 12, 0, {}, {0, 0, 0, 0}), "Unsupported clipboard bitmap"},
        {Block(40000, 1, 1, 0, {0, 0}, std::vector<uint8_t>(5000)), "Clipboard bitmap too large"},
        {Block(30000, 30000, 1, 0, {0, 0}, {}), "Clipboard bitmap too large"},
    };
    for (const auto& [block, error] : cases) {
        EXPECT_FALSE(FromClipboardBitmap(image, block.data(), block.size()));
        EXPECT_EQ(image.LastError(), error);
        EXPECT_TRUE(image.IsEmpty());
    }
    EXPECT_FALSE(FromClipboardBitmap(image, nullptr, 100));
}

} // namespace
} // namespace orvo
