#include "ImageTransformTestSupport.h"
#include "viewers/image/ImageTransforms.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Gradient;
using test::TopColor;
using test::TopIndex;

// Compares every pixel of result with the source pixel that where() names
// (both in picture coordinates, rows from the top).
void ExpectMapping(const RasterImage& result, const RasterImage& source,
                   const std::function<std::pair<int, int>(int, int)>& where) {
    for (int ty = 0; ty < result.Height(); ++ty)
        for (int x = 0; x < result.Width(); ++x) {
            const auto [sx, sy] = where(x, ty);
            EXPECT_EQ(TopColor(result, x, ty), TopColor(source, sx, sy)) << x << "," << ty;
        }
}

RasterImage GreyRow(std::initializer_list<int> levels, bool vertical = false) {
    RasterImage image;
    const int n = static_cast<int>(levels.size());
    image.Create(vertical ? 1 : n, vertical ? n : 1, 24);
    int i = 0;
    for (int v : levels) {
        const uint8_t b = static_cast<uint8_t>(v);
        if (vertical)
            image.SetPixelColor(0, n - 1 - i++, MakeRgb(b, b, b));
        else
            image.SetPixelColor(i++, 0, MakeRgb(b, b, b));
    }
    return image;
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
    ASSERT_EQ(turned.Width(), 2);
    ASSERT_EQ(turned.Height(), 3);
    // Clockwise: the picture's left column becomes its top row.
    ExpectMapping(turned, source, [](int x, int y) { return std::pair{y, 1 - x}; });

    ASSERT_TRUE(Rotate(turned = source, -90));
    ASSERT_EQ(turned.Width(), 2);
    ExpectMapping(turned, source, [](int x, int y) { return std::pair{2 - y, x}; });

    ASSERT_TRUE(Rotate(turned = source, 180));
    ASSERT_EQ(turned.Width(), 3);
    ExpectMapping(turned, source, [](int x, int y) { return std::pair{2 - x, 1 - y}; });

    ASSERT_TRUE(Rotate(turned = source, 0));
    EXPECT_EQ(std::memcmp(turned.Block(), source.Block(), source.MemorySize()), 0);

    RasterImage mono;
    mono.Create(9, 2, 1);
    mono.Palette()[1] = MakeRgb(255, 0, 0);
    mono.SetPixelIndex(8, 1, 1); // top right
    ASSERT_TRUE(Rotate(mono, 90));
    ASSERT_EQ(mono.Bits(), 1);
    ASSERT_EQ(mono.Width(), 2);
    ASSERT_EQ(mono.Height(), 9);
    EXPECT_EQ(TopIndex(mono, 1, 8), 1) << "top right goes to bottom right";
    EXPECT_EQ(mono.Palette()[1], MakeRgb(255, 0, 0));
}

TEST(Rotate, ObliqueAnglesGrowTheBoxAndFillTheCorners) {
    RasterImage rgb;
    rgb.Create(10, 10, 24);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            rgb.SetPixelColor(x, y, MakeRgb(255, 0, 0));
    RasterImage plain;
    ASSERT_TRUE(Rotate(rgb, 45, &plain));
    EXPECT_EQ(rgb.Width(), 10) << "a destination leaves the source alone";
    ASSERT_EQ(plain.Width(), 13);
    ASSERT_EQ(plain.Height(), 14);
    EXPECT_EQ(plain.GetPixelColor(6, 7), MakeRgb(255, 0, 0));
    EXPECT_EQ(plain.GetPixelColor(6, 1), MakeRgb(255, 0, 0)) << "near the bottom corner";
    EXPECT_EQ(plain.GetPixelColor(0, 0), MakeRgb(0, 0, 0)) << "outside with no transparency";

    rgb.SetTransparentIndex(0);
    rgb.SetBackgroundColor(MakeRgb(0, 255, 0));
    ASSERT_TRUE(Rotate(rgb, 45));
    EXPECT_EQ(rgb.GetPixelColor(0, 0), MakeRgb(0, 255, 0));
    EXPECT_EQ(rgb.TransparentIndex(), 0);

    RasterImage palette;
    palette.Create(10, 10, 8);
    palette.FillBits(1);
    palette.SetTransparentIndex(7);
    ASSERT_TRUE(Rotate(palette, -30));
    EXPECT_EQ(palette.GetPixelIndex(0, 0), 7);
    EXPECT_EQ(palette.GetPixelIndex(palette.Width() / 2, palette.Height() / 2), 1);

    RasterImage dot;
    dot.Create(1, 1, 8);
    ASSERT_TRUE(Rotate(dot, 45));
    EXPECT_EQ(dot.Width(), 1);
    EXPECT_FALSE(Rotate(dot, std::numeric_limits<double>::quiet_NaN()));
}

TEST(Resample, NearestTakesTheTruncatedPositionFromTheTop) {
    const RasterImage source = Gradient(4, 2);
    RasterImage half = source;
    ASSERT_TRUE(Resample(half, 2, 1, ResampleNearest));
    ExpectMapping(half, source, [](int x, int y) { return std::pair{x * 2, 0}; });

    RasterImage indexed;
    indexed.Create(4, 1, 4);
    for (int x = 0; x < 4; ++x)
        indexed.SetPixelIndex(x, 0, static_cast<uint8_t>(x + 5));
    indexed.SetTransparentIndex(6);
    ASSERT_TRUE(Resample(indexed, 8, 2, 7));
    ASSERT_EQ(indexed.Bits(), 4);
    EXPECT_EQ(TopIndex(indexed, 3, 1), 6);
    EXPECT_EQ(TopIndex(indexed, 7, 0), 8);
    EXPECT_EQ(indexed.TransparentIndex(), 6);
}

TEST(Resample, BilinearBlendsByTheFractions) {
    RasterImage up = GreyRow({0, 100});
    ASSERT_TRUE(Resample(up, 4, 1, ResampleBilinear));
    EXPECT_EQ(Levels(up), (std::vector<int>{0, 50, 100, 100})) << "the last column repeats";

    RasterImage tall = GreyRow({0, 200}, true);
    ASSERT_TRUE(Resample(tall, 1, 4, ResampleBilinear));
    EXPECT_EQ(Levels(tall), (std::vector<int>{0, 100, 200, 200})) << "rows count from the top";

    RasterImage down = GreyRow({0, 90, 180});
    ASSERT_TRUE(Resample(down, 2, 1, ResampleBilinear));
    EXPECT_EQ(Levels(down), (std::vector<int>{0, 135}));

    // Palette images take the entry nearest to the blend: 170 is nearer
    // grey 128 than white.
    RasterImage palette;
    palette.Create(2, 1, 8);
    palette.Palette()[1] = MakeRgb(255, 255, 255);
    palette.Palette()[2] = MakeRgb(128, 128, 128);
    palette.SetPixelIndex(1, 0, 1);
    ASSERT_TRUE(Resample(palette, 3, 1, ResampleBilinear));
    EXPECT_EQ(palette.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(palette.GetPixelIndex(1, 0), 2);
    EXPECT_EQ(palette.GetPixelIndex(2, 0), 1);

    EXPECT_FALSE(Resample(palette, 0, 3, 0));
    EXPECT_FALSE(Resample(palette, 3, -1, 0));
    EXPECT_EQ(palette.Width(), 3);
}

TEST(Resample, FitChoosesTheGoverningSide) {
    struct Case {
        int width, height, maxWidth, maxHeight;
        bool force, longer;
        int expectWidth, expectHeight;
    } cases[] = {
        {200, 100, 50, 50, false, true, 50, 25}, // fits inside by the longer side
        {100, 200, 50, 50, false, true, 25, 50},
        {200, 100, 50, 50, false, false, 100, 50}, // fills by the shorter side
        {100, 200, 50, 50, false, false, 50, 100},
        {200, 100, 40, 0, false, true, 40, 20}, // only one limit
        {200, 100, 0, 25, false, false, 50, 25},
        {30, 20, 50, 50, false, true, 30, 20}, // already fits
        {30, 20, 60, 60, true, true, 60, 40},  // forced
        {30, 20, 100, 0, false, true, 30, 20}, // fits its only limit
        {1000, 1, 96, 96, false, true, 96, 1}, // a strip keeps a pixel
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
    image.Create(5, 5, 8);
    EXPECT_FALSE(ResampleToFit(image, 0, 0, 0, true, true));
    image.Create(1, 30000, 8);
    EXPECT_FALSE(ResampleToFit(image, 2000000000, 50, 0, true, false)) << "beyond the size guard";
    EXPECT_EQ(image.Height(), 30000);
}

TEST(Rotate, StopsAtTheAbortFlag) {
    RasterImage image = Gradient(4, 4);
    image.SetAbortFlag(true);
    EXPECT_FALSE(Rotate(image, 90));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.GetPixelColor(1, 1), RgbQuad{}) << "the partial result is kept";
    image.SetAbortFlag(false);
    ASSERT_TRUE(Resample(image, 4, 10, 1));
    EXPECT_EQ(image.Progress(), 90);
}

} // namespace
} // namespace orvo
