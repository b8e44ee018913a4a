#include "ImageTransformTestSupport.h"
#include "image/ImageTransforms.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

using namespace test;

RasterImage Indexed(int width, int height, int bits) {
    RasterImage image;
    image.Create(width, height, bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelIndex(x, y, uint8_t((x + 2 * y) % image.PaletteSize()));
    return image;
}

TEST(ImageTransform, FlipAndMirrorAtEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        const RasterImage original = bits == 24 ? Gradient(5, 3) : Indexed(5, 3, bits);
        RasterImage flipped = original, mirrored = original;
        ASSERT_TRUE(Flip(flipped) && Mirror(mirrored));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(flipped.GetPixelColor(x, y), original.GetPixelColor(x, 2 - y)) << bits;
                EXPECT_EQ(mirrored.GetPixelIndex(x, y), original.GetPixelIndex(4 - x, y)) << bits;
                EXPECT_EQ(mirrored.GetPixelColor(x, y), original.GetPixelColor(4 - x, y)) << bits;
            }
        ASSERT_TRUE(Mirror(mirrored));
        EXPECT_TRUE(SameBlock(mirrored, original)) << "row padding untouched, " << bits;
    }
}

TEST(ImageTransform, NegativeAndLightChangePaletteOrPixels) {
    RasterImage palette = Indexed(3, 1, 4);
    palette.Palette()[1] = MakeRgb(100, 150, 200);
    ASSERT_TRUE(Negative(palette));
    EXPECT_EQ(palette.Palette()[1], MakeRgb(155, 105, 55));
    // (c - 128) × 2 + 20 + 128: 155 → 202, 105 → 102, 55 → 2.
    ASSERT_TRUE(Light(palette, 20, 200));
    EXPECT_EQ(palette.Palette()[1], MakeRgb(202, 102, 2));
    EXPECT_EQ(palette.GetPixelIndex(1, 0), 1);

    RasterImage rgb;
    rgb.Create(1, 1, 24);
    rgb.SetPixelColor(0, 0, MakeRgb(0, 100, 255));
    rgb.SetBackgroundColor(MakeRgb(192, 192, 192));
    ASSERT_TRUE(Negative(rgb));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(255, 155, 0));
    EXPECT_EQ(rgb.BackgroundColor(), MakeRgb(63, 63, 63));
    EXPECT_EQ(rgb.Row(0)[3], 0) << "padding stays zero";
    const RasterImage before = rgb;
    ASSERT_TRUE(Light(rgb, 0, 100));
    EXPECT_TRUE(SameBlock(rgb, before));
    // × 0.5 + 138: 255 → 201.5 → 201, 155 → 151.5 → 151, 0 → 74.
    ASSERT_TRUE(Light(rgb, 10, 50));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(201, 151, 74));
    ASSERT_TRUE(Light(rgb, 0, 1000000000)); // an absurd contrast saturates
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(255, 255, 0));
}

TEST(ImageTransform, CropCountsRowsFromTheTopAndClamps) {
    RasterImage image = Gradient(4, 3);
    image.SetDpi(300, 300);
    const RasterImage original = image;
    RasterImage part;
    ASSERT_TRUE(Crop(image, 1, 0, 3, 2, &part));
    EXPECT_TRUE(SameBlock(image, original));
    ASSERT_EQ(part.Width() * 10 + part.Height(), 22);
    for (int ty = 0; ty < 2; ++ty)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(TopColor(part, x, ty), TopColor(original, x + 1, ty));
    EXPECT_EQ(part.DpiX(), 300);

    ASSERT_TRUE(Crop(image, -5, 1, 99, 99));
    ASSERT_EQ(image.Width() * 10 + image.Height(), 42);
    EXPECT_EQ(TopColor(image, 3, 0), TopColor(original, 3, 1));
    EXPECT_FALSE(Crop(image, 2, 0, 2, 1));
    EXPECT_FALSE(Crop(image, 3, 0, 1, 1));
    EXPECT_FALSE(Crop(part = RasterImage(), 0, 0, 1, 1));

    for (int bits : {1, 4}) {
        const RasterImage packed = Indexed(13, 2, bits);
        ASSERT_TRUE(CopyRect(packed, part, 3, 1, 12, 2));
        ASSERT_EQ(part.Width(), 9);
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(part.GetPixelIndex(x, 0), packed.GetPixelIndex(x + 3, 0)) << bits;
    }
}

TEST(ImageDrawing, FitStaysInsideTheBoxAndTilesClipTheLast) {
    RasterImage wide, tall, squarish;
    wide.Create(200, 100, 8);
    tall.Create(100, 200, 8);
    squarish.Create(200, 190, 8);
    EXPECT_EQ(DrawToFit(wide, 5, 6, 50, 50), (ImageRect{5, 6, 50, 25}));
    EXPECT_EQ(DrawToFit(tall, 0, 0, 50, 50), (ImageRect{0, 0, 25, 50}));
    EXPECT_EQ(DrawToFit(wide, 0, 0, 30, 0), (ImageRect{0, 0, 30, 15}));
    EXPECT_EQ(DrawToFit(squarish, 0, 0, 100, 10), (ImageRect{0, 0, 10, 10}));
    EXPECT_EQ(DrawToFit(wide, 1, 2, 0, 0), (ImageRect{1, 2, 200, 100}));
    const TileGrid grid = TileLayout(tall, ImageRect{10, 20, 250, 200});
    EXPECT_EQ(grid.columns * 10 + grid.rows, 31);
    EXPECT_EQ(grid.Cell(2, 0).target, (ImageRect{210, 20, 50, 200})) << "the last is clipped";
}

} // namespace
} // namespace orvo
