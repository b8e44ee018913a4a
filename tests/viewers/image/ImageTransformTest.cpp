#include "ImageTransformTestSupport.h"
#include "viewers/image/ImageTransforms.h"

#include <cstring>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Gradient;
using test::TopColor;
using test::TopIndex;

// Index pattern that differs between neighbours at every depth.
RasterImage Indexed(int width, int height, int bits) {
    RasterImage image;
    image.Create(width, height, bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelIndex(x, y, static_cast<uint8_t>((x + 2 * y) % image.PaletteSize()));
    return image;
}

TEST(ImageTransform, FlipAndMirrorAtEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        const RasterImage original = bits == 24 ? Gradient(5, 3) : Indexed(5, 3, bits);
        RasterImage flipped = original, mirrored = original;
        ASSERT_TRUE(Flip(flipped));
        ASSERT_TRUE(Mirror(mirrored));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(flipped.GetPixelColor(x, y), original.GetPixelColor(x, 2 - y)) << bits;
                EXPECT_EQ(mirrored.GetPixelColor(x, y), original.GetPixelColor(4 - x, y)) << bits;
                EXPECT_EQ(mirrored.GetPixelIndex(x, y), original.GetPixelIndex(4 - x, y)) << bits;
            }
        // Twice gives back every byte, the row padding included.
        ASSERT_TRUE(Mirror(mirrored));
        EXPECT_EQ(std::memcmp(mirrored.Block(), original.Block(), original.MemorySize()), 0)
            << bits;
    }
}

TEST(ImageTransform, NegativeInvertsPaletteOrPixels) {
    RasterImage palette = Indexed(3, 1, 8);
    palette.Palette()[1] = MakeRgb(10, 200, 255);
    ASSERT_TRUE(Negative(palette));
    EXPECT_EQ(palette.Palette()[1], MakeRgb(245, 55, 0));
    EXPECT_EQ(palette.GetPixelIndex(1, 0), 1);

    RasterImage rgb;
    rgb.Create(1, 1, 24);
    rgb.SetPixelColor(0, 0, MakeRgb(0, 100, 255));
    rgb.SetBackgroundColor(MakeRgb(192, 192, 192));
    ASSERT_TRUE(Negative(rgb));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(255, 155, 0));
    EXPECT_EQ(rgb.BackgroundColor(), MakeRgb(63, 63, 63));
    EXPECT_EQ(rgb.Row(0)[3], 0) << "padding stays zero";
}

TEST(ImageTransform, LightScalesAroundMidGrey) {
    RasterImage rgb;
    rgb.Create(3, 1, 24);
    rgb.SetPixelColor(0, 0, MakeRgb(0, 128, 255));
    rgb.SetPixelColor(1, 0, MakeRgb(1, 2, 3));
    const RasterImage original = rgb;
    ASSERT_TRUE(Light(rgb, 0, 100));
    EXPECT_EQ(std::memcmp(rgb.Block(), original.Block(), original.MemorySize()), 0);

    // (c - 128) × 0.5 + 10 + 128, truncated: 0 → 74, 128 → 138, 255 → 201.5 → 201.
    ASSERT_TRUE(Light(rgb, 10, 50));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(74, 138, 201));
    ASSERT_TRUE(Light(rgb, -300, 100));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(0, 0, 0));
    ASSERT_TRUE(Light(rgb, 0, 1000000000)); // absurd contrast clamps, nothing overflows
    EXPECT_EQ(rgb.GetPixelColor(2, 0), MakeRgb(0, 0, 0));

    RasterImage palette = Indexed(2, 1, 4);
    palette.Palette()[1] = MakeRgb(100, 150, 200);
    ASSERT_TRUE(Light(palette, 20, 200));
    // (c - 128) × 2 + 148: 100 → 92, 150 → 192, 200 → 292 → 255.
    EXPECT_EQ(palette.Palette()[1], MakeRgb(92, 192, 255));
    EXPECT_EQ(palette.GetPixelIndex(1, 0), 1);
}

TEST(ImageTransform, CropTakesRowsFromTheTopAndClamps) {
    RasterImage image = Gradient(4, 3);
    image.SetDpi(300, 300);
    image.SetTransparentIndex(0);
    const RasterImage original = image;
    RasterImage part;
    ASSERT_TRUE(Crop(image, 1, 0, 3, 2, &part));
    EXPECT_EQ(std::memcmp(image.Block(), original.Block(), original.MemorySize()), 0);
    ASSERT_EQ(part.Width(), 2);
    ASSERT_EQ(part.Height(), 2);
    for (int ty = 0; ty < 2; ++ty)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(TopColor(part, x, ty), TopColor(original, x + 1, ty));
    EXPECT_EQ(part.DpiX(), 300);
    EXPECT_EQ(part.TransparentIndex(), 0);

    ASSERT_TRUE(Crop(image, -5, 1, 99, 99));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(TopColor(image, 3, 0), TopColor(original, 3, 1));

    EXPECT_FALSE(Crop(image, 2, 0, 2, 1)) << "an empty rectangle";
    EXPECT_FALSE(Crop(image, 3, 0, 1, 1));
    EXPECT_EQ(image.Width(), 4);
}

TEST(ImageTransform, CropOfPackedPixelsAtAnyOffset) {
    for (int bits : {1, 4}) {
        const RasterImage original = Indexed(13, 2, bits);
        RasterImage part;
        ASSERT_TRUE(CopyRect(original, part, 3, 1, 12, 2));
        ASSERT_EQ(part.Width(), 9);
        ASSERT_EQ(part.Height(), 1);
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(TopIndex(part, x, 0), TopIndex(original, x + 3, 1)) << bits;
        EXPECT_EQ(part.PaletteSize(), original.PaletteSize());
    }
}

TEST(ImageTransform, EmptyImagesAreRefusedUntouched) {
    RasterImage empty;
    EXPECT_FALSE(Flip(empty));
    EXPECT_FALSE(Mirror(empty));
    EXPECT_FALSE(Negative(empty));
    EXPECT_FALSE(GreyScale(empty));
    EXPECT_FALSE(Threshold(empty, 1));
    EXPECT_FALSE(Dither(empty, 0));
    EXPECT_FALSE(ReduceColors(empty, 4));
    EXPECT_FALSE(IncreaseColors(empty, 24));
    EXPECT_FALSE(Rotate(empty, 10));
    EXPECT_FALSE(Light(empty, 1, 1));
    EXPECT_FALSE(Crop(empty, 0, 0, 1, 1));
    EXPECT_FALSE(Resample(empty, 2, 2, 0));
    EXPECT_FALSE(ResampleToFit(empty, 2, 2, 0, true, true));
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(ImageDrawing, FitKeepsTheAspectInsideTheBox) {
    RasterImage wide, tall;
    wide.Create(200, 100, 8);
    tall.Create(100, 200, 8);
    EXPECT_EQ(DrawToFit(wide, 5, 6, 50, 50), (ImageRect{5, 6, 50, 25}));
    EXPECT_EQ(DrawToFit(tall, 0, 0, 50, 50), (ImageRect{0, 0, 25, 50}));
    EXPECT_EQ(DrawToFit(wide, 0, 0, 30, 0), (ImageRect{0, 0, 30, 15}));
    EXPECT_EQ(DrawToFit(tall, 0, 0, 0, 30), (ImageRect{0, 0, 15, 30}));
    // A wide picture in a wider, flat box is limited by the box height.
    RasterImage squarish;
    squarish.Create(200, 190, 8);
    EXPECT_EQ(DrawToFit(squarish, 0, 0, 100, 10), (ImageRect{0, 0, 10, 10}));
    EXPECT_EQ(DrawToFit(wide, 1, 2, 0, 0), (ImageRect{1, 2, 200, 100}));
    EXPECT_EQ(DrawRect(wide, 1, 2, -1, 7), (ImageRect{1, 2, 200, 7}));
}

TEST(ImageDrawing, TilesRepeatFromTheCornerAndClipTheLast) {
    RasterImage image;
    image.Create(3, 2, 24);
    const TileGrid grid = TileLayout(image, ImageRect{10, 20, 7, 3});
    EXPECT_EQ(grid.columns, 3);
    EXPECT_EQ(grid.rows, 2);
    EXPECT_EQ(grid.Cell(0, 0).target, (ImageRect{10, 20, 3, 2}));
    EXPECT_EQ(grid.Cell(2, 1).target, (ImageRect{16, 22, 1, 1}));
    EXPECT_EQ(grid.Cell(2, 1).source, (ImageRect{0, 0, 1, 1}));
    EXPECT_EQ(TileLayout(image, ImageRect{0, 0, 0, 5}).columns, 0);
}

} // namespace
} // namespace orvo
