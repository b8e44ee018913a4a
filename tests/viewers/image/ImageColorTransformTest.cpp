#include "ImageTransformTestSupport.h"
#include "viewers/image/ImageTransforms.h"

#include <cstring>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::BlackWhite;
using test::GreyImage;
using test::TopIndex;

RasterImage RgbRow(std::initializer_list<RgbQuad> colors) {
    RasterImage image;
    image.Create(static_cast<int>(colors.size()), 1, 24);
    int x = 0;
    for (RgbQuad c : colors)
        image.SetPixelColor(x++, 0, c);
    return image;
}

TEST(GreyScale, WeightsTheChannelsInWholeNumbers) {
    RasterImage rgb = RgbRow({MakeRgb(255, 0, 0), MakeRgb(0, 255, 0), MakeRgb(0, 0, 255),
                              MakeRgb(255, 255, 255), MakeRgb(10, 20, 30)});
    rgb.SetTransparentIndex(0);
    rgb.SetBackgroundColor(MakeRgb(192, 192, 192));
    ASSERT_TRUE(GreyScale(rgb));
    ASSERT_EQ(rgb.Bits(), 8);
    EXPECT_TRUE(rgb.IsGreyScale());
    // 76.5, 150.45, 28.05, 255, 18.2 truncated.
    const int expected[] = {76, 150, 28, 255, 18};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(rgb.GetPixelIndex(x, 0), expected[x]);
    EXPECT_EQ(rgb.TransparentIndex(), 192) << "the background colour stays the transparent one";
}

TEST(GreyScale, PaletteImagesMapTheirEntries) {
    for (int bits : {1, 4, 8}) {
        RasterImage image;
        image.Create(3, 1, bits);
        image.Palette()[0] = MakeRgb(255, 0, 0);
        image.Palette()[1] = MakeRgb(0, 0, 255);
        image.SetPixelIndex(0, 0, 1);
        image.SetPixelIndex(2, 0, 1);
        image.SetTransparentIndex(1);
        ASSERT_TRUE(GreyScale(image));
        ASSERT_EQ(image.Bits(), 8) << bits;
        EXPECT_TRUE(image.IsGreyScale());
        EXPECT_EQ(image.GetPixelIndex(0, 0), 28);
        EXPECT_EQ(image.GetPixelIndex(1, 0), 76);
        EXPECT_EQ(image.GetPixelIndex(2, 0), 28);
        EXPECT_EQ(image.TransparentIndex(), 28);
    }
}

TEST(Threshold, WhiteOnlyAboveTheLevel) {
    RasterImage image = GreyImage({{128, 129, 0, 255}, {127, 200, 100, 128}});
    image.SetTransparentIndex(5);
    ASSERT_TRUE(Threshold(image, 128));
    ASSERT_EQ(image.Bits(), 1);
    EXPECT_EQ(image.Palette()[0], MakeRgb(0, 0, 0));
    EXPECT_EQ(image.Palette()[1], MakeRgb(255, 255, 255));
    EXPECT_EQ(BlackWhite(image), "KWKW/KWKK");
    EXPECT_EQ(image.TransparentIndex(), -1);

    // An RGB picture goes through its grey levels: (255, 0, 0) is grey 76.
    RasterImage rgb = RgbRow({MakeRgb(255, 0, 0), MakeRgb(0, 255, 0)});
    ASSERT_TRUE(Threshold(rgb, 100));
    EXPECT_EQ(BlackWhite(rgb), "KW");

    const RasterImage before = image;
    ASSERT_TRUE(Threshold(image, 0));
    ASSERT_TRUE(Dither(image, 1));
    EXPECT_EQ(std::memcmp(image.Block(), before.Block(), before.MemorySize()), 0);
}

TEST(Dither, OrderedFollowsTheMatrix) {
    RasterImage half = GreyImage({{128, 128, 128, 128, 128},
                                  {128, 128, 128, 128, 128},
                                  {128, 128, 128, 128, 128},
                                  {128, 128, 128, 128, 128}});
    ASSERT_TRUE(Dither(half, 1));
    // Level 128 × 16 / 255 = 8: white where the matrix holds 0 to 7. The
    // matrix rows follow the stored rows, so the picture's bottom row is the
    // matrix's first; the fifth column repeats the first.
    EXPECT_EQ(BlackWhite(half), "KWKWK/WKWKW/KWKWK/WKWKW");

    RasterImage ends = GreyImage({{0, 255, 15, 16}});
    ASSERT_TRUE(Dither(ends, 1));
    // 15 → level 0 (never white), 16 → level 1 (white where the matrix is 0).
    EXPECT_EQ(BlackWhite(ends), "KWKK");
    RasterImage firstColumn = GreyImage({{16}});
    ASSERT_TRUE(Dither(firstColumn, 1));
    EXPECT_EQ(BlackWhite(firstColumn), "W");
}

TEST(Dither, ErrorDiffusionSpreadsIntoTheGreyImage) {
    // One row: 128 → black (error 128, right gets +56 → 184 → white, error
    // -71, right gets -31 → 97 → black).
    RasterImage row = GreyImage({{128, 128, 128}});
    ASSERT_TRUE(Dither(row, 0));
    EXPECT_EQ(BlackWhite(row), "KWK");

    // Two rows of 100, stored row 0 (the picture's bottom) first:
    // 100 → black, right 143 → white; the next row becomes 110, 71 and its
    // second pixel 71 + 48 = 119 stays black.
    RasterImage square = GreyImage({{100, 100}, {100, 100}});
    ASSERT_TRUE(Dither(square, 2));
    EXPECT_EQ(BlackWhite(square), "KK/KW");

    RasterImage grey;
    grey.Create(32, 32, 8);
    grey.SetGreyPalette();
    grey.FillBits(128);
    ASSERT_TRUE(Dither(grey, 0));
    int white = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            white += grey.GetPixelIndex(x, y);
    EXPECT_GT(white, 1024 * 45 / 100);
    EXPECT_LT(white, 1024 * 55 / 100);
}

TEST(ReduceColors, MapsToTheNearestStandardEntry) {
    RasterImage rgb = RgbRow({MakeRgb(255, 0, 0), MakeRgb(250, 5, 5), MakeRgb(130, 0, 0),
                              MakeRgb(255, 255, 255), MakeRgb(200, 190, 185)});
    RasterImage eight = rgb;
    ASSERT_TRUE(ReduceColors(rgb, 4));
    ASSERT_EQ(rgb.Bits(), 4);
    EXPECT_EQ(std::memcmp(rgb.Palette(), RasterImage::StandardPalette16(), 64), 0);
    const int expected16[] = {9, 9, 1, 15, 7};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(rgb.GetPixelIndex(x, 0), expected16[x]) << x;

    ASSERT_TRUE(ReduceColors(eight, 8));
    ASSERT_EQ(eight.Bits(), 8);
    EXPECT_EQ(eight.GetPixelColor(0, 0), MakeRgb(255, 0, 0));
    EXPECT_EQ(eight.GetPixelColor(3, 0), MakeRgb(255, 255, 255));

    // The given palette wins over the standard one.
    RgbQuad two[16] = {MakeRgb(0, 0, 255), MakeRgb(255, 0, 0)};
    RasterImage custom = RgbRow({MakeRgb(200, 0, 0), MakeRgb(0, 0, 0), MakeRgb(0, 0, 200)});
    ASSERT_TRUE(ReduceColors(custom, 4, two));
    EXPECT_EQ(custom.GetPixelIndex(0, 0), 1);
    EXPECT_EQ(custom.GetPixelIndex(2, 0), 0);
}

TEST(ReduceColors, DepthRulesAndTransparency) {
    RasterImage image;
    image.Create(2, 1, 8);
    image.Palette()[3] = MakeRgb(250, 0, 0);
    image.Palette()[4] = MakeRgb(200, 200, 200);
    image.SetPixelIndex(0, 0, 3);
    image.SetPixelIndex(1, 0, 4);
    image.SetTransparentIndex(3);
    EXPECT_FALSE(ReduceColors(image, 24));
    EXPECT_TRUE(ReduceColors(image, 8));
    EXPECT_EQ(image.Palette()[3], MakeRgb(250, 0, 0)) << "equal depth changes nothing";

    RasterImage four = image;
    ASSERT_TRUE(ReduceColors(four, 4));
    EXPECT_EQ(four.GetPixelIndex(0, 0), 9);
    EXPECT_EQ(four.GetPixelIndex(1, 0), 7);
    EXPECT_EQ(four.TransparentIndex(), 9) << "the transparent colour's new entry";
    EXPECT_FALSE(ReduceColors(four, 8));

    ASSERT_TRUE(ReduceColors(image, 1));
    ASSERT_EQ(image.Bits(), 1);
    EXPECT_EQ(BlackWhite(image), "KW"); // (250,0,0) is nearer black, silver nearer white
    EXPECT_EQ(image.TransparentIndex(), -1);
}

TEST(IncreaseColors, KeepsColoursAndIndexes) {
    RasterImage one;
    one.Create(10, 2, 1);
    one.Palette()[0] = MakeRgb(9, 8, 7);
    one.Palette()[1] = MakeRgb(1, 2, 3);
    for (int x = 0; x < 10; x += 3)
        one.SetPixelIndex(x, 1, 1);
    one.SetTransparentIndex(1);
    RasterImage eight = one, rgb = one;
    ASSERT_TRUE(IncreaseColors(eight, 8));
    ASSERT_TRUE(IncreaseColors(rgb, 24));
    ASSERT_EQ(eight.Bits(), 8);
    ASSERT_EQ(rgb.Bits(), 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(eight.GetPixelIndex(x, y), one.GetPixelIndex(x, y));
            EXPECT_EQ(rgb.GetPixelColor(x, y), one.GetPixelColor(x, y));
        }
    EXPECT_EQ(eight.TransparentIndex(), 1);
    EXPECT_EQ(rgb.BackgroundColor(), MakeRgb(1, 2, 3));
    EXPECT_EQ(rgb.TransparentColor(), MakeRgb(1, 2, 3));

    EXPECT_TRUE(IncreaseColors(rgb, 24));
    EXPECT_FALSE(IncreaseColors(rgb, 8));
    EXPECT_FALSE(IncreaseColors(eight, 16));
    EXPECT_EQ(rgb.Bits(), 24);
}

TEST(LongTransforms, StopAtTheAbortFlagKeepingThePartialResult) {
    RasterImage image = GreyImage({{255, 255}, {255, 255}});
    image.SetAbortFlag(true);
    EXPECT_FALSE(Threshold(image, 10));
    EXPECT_EQ(image.Bits(), 1);
    EXPECT_EQ(BlackWhite(image), "KK/KK");
    EXPECT_TRUE(image.AbortFlag()) << "the request stays for the caller to clear";

    RasterImage rgb = RgbRow({MakeRgb(1, 1, 1), MakeRgb(2, 2, 2), MakeRgb(3, 3, 3)});
    rgb.SetAbortFlag(true);
    EXPECT_FALSE(ReduceColors(rgb, 8));
    EXPECT_EQ(rgb.Bits(), 8);
    EXPECT_EQ(rgb.Progress(), 0);

    RasterImage tall;
    tall.Create(1, 50, 24);
    ASSERT_TRUE(Dither(tall, 0));
    EXPECT_EQ(tall.Progress(), 98) << "100 × 49 / 50 at the last row";
}

} // namespace
} // namespace orvo
