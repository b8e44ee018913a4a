#include "ImageTransformTestSupport.h"
#include "image/ImageTransformSupport.h"
#include "image/ImageTransforms.h"

#include <gtest/gtest.h>
#include <random>

namespace orvo {
namespace {

using namespace test;

RasterImage RgbRow(std::initializer_list<RgbQuad> colors) {
    RasterImage image;
    image.Create(static_cast<int>(colors.size()), 1, 24);
    int x = 0;
    for (RgbQuad c : colors)
        image.SetPixelColor(x++, 0, c);
    return image;
}

// Pixels 1, 0, 0 over the palette red, blue (the rest black); entry 1
// transparent.
RasterImage RedBlue(int bits) {
    RasterImage image;
    image.Create(3, 1, bits);
    image.Palette()[0] = MakeRgb(255, 0, 0);
    image.Palette()[1] = MakeRgb(0, 0, 255);
    image.SetPixelIndex(0, 0, 1);
    image.SetTransparentIndex(1);
    return image;
}

TEST(GreyScale, WeighsChannelsInWholeNumbersAtEveryDepth) {
    RasterImage rgb = RgbRow({MakeRgb(255, 0, 0), MakeRgb(0, 255, 0), MakeRgb(0, 0, 255),
                              MakeRgb(255, 255, 255), MakeRgb(10, 20, 30)});
    rgb.SetTransparentIndex(0);
    rgb.SetBackgroundColor(MakeRgb(192, 192, 192));
    ASSERT_TRUE(GreyScale(rgb) && rgb.Bits() == 8 && rgb.IsGreyScale());
    const int expected[] = {76, 150, 28, 255, 18}; // 76.5, 150.45, 28.05, 255, 18.1
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(rgb.GetPixelIndex(x, 0), expected[x]);
    EXPECT_EQ(rgb.TransparentIndex(), 192) << "the background stays the transparent colour";
    for (int bits : {1, 4, 8}) {
        RasterImage image = RedBlue(bits);
        ASSERT_TRUE(GreyScale(image) && image.Bits() == 8 && image.IsGreyScale()) << bits;
        EXPECT_EQ(image.GetPixelIndex(0, 0) * 1000 + image.GetPixelIndex(1, 0), 28076);
        EXPECT_EQ(image.TransparentIndex(), 28);
    }
}

TEST(BlackAndWhite, ThresholdAndOrderedDitherArePixelExact) {
    RasterImage image = GreyImage(4, {128, 129, 0, 255, 127, 200, 100, 128});
    image.SetTransparentIndex(5);
    ASSERT_TRUE(Threshold(image, 128) && image.Bits() == 1);
    EXPECT_EQ(BlackWhite(image), "KWKW/KWKK");
    EXPECT_EQ(image.TransparentIndex(), -1);
    const RasterImage before = image;
    ASSERT_TRUE(Threshold(image, 0) && Dither(image, 1) && Dither(image, 0));
    EXPECT_TRUE(SameBlock(image, before)) << "1-bit images are kept";

    // Level 128 × 16 / 255 = 8: white where the matrix holds 0 to 7. Matrix
    // rows follow the stored rows, so the bottom row uses the first.
    RasterImage half;
    half.Create(5, 4, 8);
    half.SetGreyPalette();
    half.FillBits(128);
    ASSERT_TRUE(Dither(half, 1));
    EXPECT_EQ(BlackWhite(half), "KWKWK/WKWKW/KWKWK/WKWKW");
    // 15 is level 0 (never white), 16 level 1 (white only where the matrix is 0).
    RasterImage ends = GreyImage(5, {0, 255, 15, 16, 16});
    ASSERT_TRUE(Dither(ends, 1));
    EXPECT_EQ(BlackWhite(ends), "KWKKW");
}

TEST(BlackAndWhite, ErrorDiffusionSpreadsIntoTheGreyImage) {
    // 128 → black, error 128: right 184 → white, error -71: right 97 → black.
    RasterImage row = GreyImage(3, {128, 128, 128});
    ASSERT_TRUE(Dither(row, 0));
    EXPECT_EQ(BlackWhite(row), "KWK");
    // Stored row 0 (the bottom) first: 100 → black, right 143 → white; the
    // row above becomes 110, 71, then its 71 + 48 = 119 stays black.
    RasterImage square = GreyImage(2, {100, 100, 100, 100});
    ASSERT_TRUE(Dither(square, 2));
    EXPECT_EQ(BlackWhite(square), "KK/KW");

    RasterImage grey;
    grey.Create(32, 32, 8);
    grey.SetGreyPalette();
    grey.FillBits(128);
    ASSERT_TRUE(Dither(grey, 0));
    int white = 0;
    for (int i = 0; i < 32 * 32; ++i)
        white += grey.GetPixelIndex(i % 32, i / 32);
    EXPECT_NEAR(white, 512, 50);
    EXPECT_EQ(grey.Progress(), 96) << "100 × 31 / 32 at the last row";
}

TEST(ColorDepth, ReduceTakesTheNearestEntry) {
    const RasterImage rgb = RgbRow({MakeRgb(255, 0, 0), MakeRgb(250, 5, 5), MakeRgb(130, 0, 0),
                                    MakeRgb(255, 255, 255), MakeRgb(200, 190, 185)});
    RasterImage four = rgb, eight = rgb, custom = rgb;
    ASSERT_TRUE(ReduceColors(four, 4) && ReduceColors(eight, 8));
    ASSERT_EQ(four.Bits() * 10 + eight.Bits() / 8, 41);
    const int expected16[] = {9, 9, 1, 15, 7};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(four.GetPixelIndex(x, 0), expected16[x]) << x;
        EXPECT_EQ(eight.GetPixelColor(x, 0),
                  RasterImage::StandardPalette256()[eight.GetPixelIndex(x, 0)]);
    }
    EXPECT_EQ(eight.GetPixelColor(3, 0), MakeRgb(255, 255, 255));
    RgbQuad blueRed[16] = {MakeRgb(0, 0, 255), MakeRgb(255, 0, 0)};
    ASSERT_TRUE(ReduceColors(custom, 4, blueRed));
    EXPECT_EQ(custom.GetPixelIndex(2, 0), 1);

    RasterImage palette = RedBlue(8), mono = RedBlue(8);
    EXPECT_FALSE(ReduceColors(palette, 24));
    ASSERT_TRUE(ReduceColors(palette, 8));
    EXPECT_EQ(palette.Palette()[0], MakeRgb(255, 0, 0)) << "equal depth changes nothing";
    ASSERT_TRUE(ReduceColors(palette, 4));
    EXPECT_EQ(palette.GetPixelIndex(0, 0) * 100 + palette.GetPixelIndex(1, 0), 1209);
    EXPECT_EQ(palette.TransparentIndex(), 12) << "the transparent colour's new entry";
    EXPECT_FALSE(ReduceColors(palette, 8));
    mono.Palette()[0] = MakeRgb(200, 200, 200);
    ASSERT_TRUE(ReduceColors(mono, 1));
    EXPECT_EQ(BlackWhite(mono), "KWW");
    EXPECT_EQ(mono.TransparentIndex(), -1);
}

TEST(ColorDepth, PrunedSearchAgreesWithTheFullScan) {
    std::mt19937 random(7);
    for (int round = 0; round < 10; ++round) {
        RasterImage image;
        image.Create(1, 1, round % 2 ? 8 : 4);
        // Few levels per channel, so duplicates and equal distances abound.
        auto level = [&] { return static_cast<uint8_t>(random() % 5 * 60); };
        for (int i = 0; i < image.PaletteSize(); ++i)
            image.Palette()[i] = MakeRgb(level(), level(), level());
        transform_detail::NearestPaletteSearch search(image);
        for (int i = 0; i < 1000; ++i) {
            const RgbQuad c =
                i % 2 ? MakeRgb(level(), level(), level())
                      : MakeRgb(uint8_t(random()), uint8_t(random()), uint8_t(random()));
            ASSERT_EQ(search.Find(c), image.NearestPaletteIndex(c));
        }
    }
}

TEST(ColorDepth, IncreaseKeepsColoursIndexesAndTransparency) {
    const RasterImage one = RedBlue(1);
    RasterImage eight = one, rgb = one;
    ASSERT_TRUE(IncreaseColors(eight, 8) && IncreaseColors(rgb, 24));
    ASSERT_EQ(eight.Bits() + rgb.Bits(), 32);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(eight.GetPixelIndex(x, 0), one.GetPixelIndex(x, 0));
        EXPECT_EQ(rgb.GetPixelColor(x, 0), one.GetPixelColor(x, 0));
    }
    EXPECT_EQ(eight.TransparentIndex(), 1);
    EXPECT_EQ(rgb.TransparentColor(), MakeRgb(0, 0, 255));
    EXPECT_TRUE(IncreaseColors(rgb, 24));
    EXPECT_FALSE(IncreaseColors(rgb, 8) || IncreaseColors(eight, 16));
}

TEST(LongTransforms, StopAtTheAbortFlagKeepingThePartialResult) {
    RasterImage image = GreyImage(2, {255, 255, 255, 255});
    image.SetAbortFlag(true);
    EXPECT_FALSE(Threshold(image, 10));
    EXPECT_EQ(BlackWhite(image), "KK/KK");
    EXPECT_TRUE(image.AbortFlag()) << "the request stays for the caller to clear";
    RasterImage rgb = RgbRow({MakeRgb(1, 1, 1), MakeRgb(2, 2, 2)});
    rgb.SetAbortFlag(true);
    EXPECT_FALSE(ReduceColors(rgb, 8));
    EXPECT_EQ(rgb.Bits(), 8);
}

} // namespace
} // namespace orvo
