#include "ImageTransformTestSupport.h"
#include "image/ImageTransforms.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace orvo {
namespace {

using namespace test;

// Every pixel of result against the source pixel where(x, y) names, both in
// picture coordinates.
void ExpectMapping(const RasterImage& result, const RasterImage& source,
                   const std::function<std::pair<int, int>(int, int)>& where) {
    for (int ty = 0; ty < result.Height(); ++ty)
        for (int x = 0; x < result.Width(); ++x) {
            const auto [sx, sy] = where(x, ty);
            EXPECT_EQ(TopColor(result, x, ty), TopColor(source, sx, sy)) << x << "," << ty;
        }
}

std::vector<int> Levels(const RasterImage& image) {
    std::vector<int> out;
    for (int ty = 0; ty < image.Height(); ++ty)
        for (int x = 0; x < image.Width(); ++x)
            out.push_back(TopColor(image, x, ty).red);
    return out;
}

TEST(Rotate, RightAnglesMoveEveryPixelExactly) {
    const RasterImage source = Gradient(3, 2);
    RasterImage turned = source;
    ASSERT_TRUE(Rotate(turned, 90));
    ASSERT_EQ(turned.Width() * 10 + turned.Height(), 23);
    // Clockwise: the picture's left column becomes its top row.
    ExpectMapping(turned, source, [](int x, int y) { return std::pair{y, 1 - x}; });
    ASSERT_TRUE(Rotate(turned = source, -90));
    ExpectMapping(turned, source, [](int x, int y) { return std::pair{2 - y, x}; });
    ASSERT_TRUE(Rotate(turned = source, 180));
    ExpectMapping(turned, source, [](int x, int y) { return std::pair{2 - x, 1 - y}; });
    ASSERT_TRUE(Rotate(turned = source, 0));
    EXPECT_TRUE(SameBlock(turned, source));

    RasterImage mono;
    mono.Create(9, 2, 1);
    mono.Palette()[1] = MakeRgb(255, 0, 0);
    mono.SetPixelIndex(8, 1, 1); // top right
    ASSERT_TRUE(Rotate(mono, 90));
    ASSERT_EQ(mono.Bits() * 100 + mono.Width() * 10 + mono.Height(), 129);
    EXPECT_EQ(mono.GetPixelIndex(1, 0), 1) << "top right goes to bottom right";
    EXPECT_EQ(mono.Palette()[1], MakeRgb(255, 0, 0));
}

TEST(Rotate, ObliqueAnglesGrowTheBoxAndFillTheCorners) {
    RasterImage rgb, plain;
    rgb.Create(10, 10, 24);
    rgb.FillBits(200);
    ASSERT_TRUE(Rotate(rgb, 45, &plain));
    EXPECT_EQ(rgb.Width(), 10) << "a destination leaves the source alone";
    ASSERT_EQ(plain.Width() * 100 + plain.Height(), 1314);
    EXPECT_EQ(plain.GetPixelColor(6, 7), MakeRgb(200, 200, 200));
    EXPECT_EQ(plain.GetPixelColor(6, 1), MakeRgb(200, 200, 200)) << "near the bottom corner";
    EXPECT_EQ(plain.GetPixelColor(0, 0), MakeRgb(0, 0, 0)) << "outside, no transparency";

    rgb.SetTransparentIndex(0);
    rgb.SetBackgroundColor(MakeRgb(0, 255, 0));
    ASSERT_TRUE(Rotate(rgb, 45));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(0, 255, 0));

    RasterImage palette;
    palette.Create(10, 10, 8);
    palette.FillBits(1);
    palette.SetTransparentIndex(7);
    ASSERT_TRUE(Rotate(palette, -30));
    EXPECT_EQ(palette.GetPixelIndex(0, 0), 7);
    EXPECT_EQ(palette.GetPixelIndex(palette.Width() / 2, palette.Height() / 2), 1);

    palette.Create(1, 1, 8);
    ASSERT_TRUE(Rotate(palette, 45) && palette.Width() == 1) << "never an empty box";
    EXPECT_FALSE(Rotate(palette, std::numeric_limits<double>::quiet_NaN()));

    RasterImage stopped = Gradient(4, 4);
    stopped.SetAbortFlag(true);
    EXPECT_FALSE(Rotate(stopped, 90));
    EXPECT_EQ(stopped.GetPixelColor(1, 1), RgbQuad{}) << "the partial result is kept";
}

TEST(Resample, NearestAndBilinearSampleFromTheTopLeft) {
    const RasterImage source = Gradient(4, 2);
    RasterImage half = source;
    ASSERT_TRUE(Resample(half, 2, 1, ResampleNearest));
    ExpectMapping(half, source, [](int x, int) { return std::pair{x * 2, 0}; });

    RasterImage indexed;
    indexed.Create(4, 1, 4);
    for (int x = 0; x < 4; ++x)
        indexed.SetPixelIndex(x, 0, uint8_t(x + 5));
    indexed.SetTransparentIndex(6);
    ASSERT_TRUE(Resample(indexed, 8, 2, 7));
    EXPECT_EQ(indexed.GetPixelIndex(3, 0), 6);
    EXPECT_EQ(indexed.GetPixelIndex(7, 1), 8);
    EXPECT_EQ(indexed.Bits() * 10 + indexed.TransparentIndex(), 46);

    RasterImage grey = GreyImage(2, {0, 100});
    ASSERT_TRUE(IncreaseColors(grey, 24) && Resample(grey, 4, 1, ResampleBilinear));
    EXPECT_EQ(Levels(grey), (std::vector<int>{0, 50, 100, 100})) << "the last column repeats";
    grey = GreyImage(1, {0, 200});
    ASSERT_TRUE(IncreaseColors(grey, 24) && Resample(grey, 1, 4, ResampleBilinear));
    EXPECT_EQ(Levels(grey), (std::vector<int>{0, 100, 200, 200}));
    grey = GreyImage(3, {0, 90, 180});
    ASSERT_TRUE(IncreaseColors(grey, 24) && Resample(grey, 2, 1, ResampleBilinear));
    EXPECT_EQ(Levels(grey), (std::vector<int>{0, 135}));
    EXPECT_FALSE(Resample(grey, 0, 3, 0) || Resample(grey, 3, -1, 0));

    // A palette image takes the entry nearest the blend: 170 is nearer
    // grey 128 than white.
    RasterImage palette;
    palette.Create(2, 1, 8);
    palette.Palette()[1] = MakeRgb(255, 255, 255);
    palette.Palette()[2] = MakeRgb(128, 128, 128);
    palette.SetPixelIndex(1, 0, 1);
    ASSERT_TRUE(Resample(palette, 3, 1, ResampleBilinear));
    EXPECT_EQ(palette.GetPixelIndex(1, 0) * 10 + palette.GetPixelIndex(2, 0), 21);
}

TEST(Resample, FitChoosesTheGoverningSide) {
    struct Case {
        int width, height, maxWidth, maxHeight;
        bool force, longer;
        int expectWidth, expectHeight;
    } cases[] = {
        {200, 100, 50, 50, false, true, 50, 25},   {100, 200, 50, 50, false, true, 25, 50},
        {200, 100, 50, 50, false, false, 100, 50}, {100, 200, 50, 50, false, false, 50, 100},
        {200, 100, 40, 0, false, true, 40, 20},    {200, 100, 0, 25, false, false, 50, 25},
        {30, 20, 50, 50, false, true, 30, 20},     {30, 20, 60, 60, true, true, 60, 40},
        {30, 20, 100, 0, false, true, 30, 20},     {1000, 1, 96, 96, false, true, 96, 1},
        {1920, 1080, 96, 96, false, true, 96, 54},
    };
    for (const Case& c : cases) {
        RasterImage image;
        image.Create(c.width, c.height, 24);
        ASSERT_TRUE(ResampleToFit(image, c.maxWidth, c.maxHeight, 0, c.force, c.longer));
        EXPECT_EQ(image.Width(), c.expectWidth) << c.width << "x" << c.height;
        EXPECT_EQ(image.Height(), c.expectHeight) << c.width << "x" << c.height;
    }
    RasterImage image;
    image.Create(1, 30000, 8);
    EXPECT_FALSE(ResampleToFit(image, 0, 0, 0, true, true));
    EXPECT_FALSE(ResampleToFit(image, 2000000000, 50, 0, true, false)) << "beyond the size guard";
    EXPECT_EQ(image.Height(), 30000);
}

} // namespace
} // namespace orvo
