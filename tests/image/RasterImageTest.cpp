#include "image/RasterImage.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

TEST(RasterImage, CreateNormalisesBitCountAndLayout) {
    struct Case {
        int asked, bits, palette, stride;
    } cases[] = {{0, 1, 2, 4}, {3, 4, 16, 8}, {5, 8, 256, 12}, {12, 24, 0, 32}, {32, 24, 0, 32}};
    for (const Case& c : cases) {
        RasterImage image;
        ASSERT_TRUE(image.Create(10, 3, c.asked));
        EXPECT_EQ(image.Bits(), c.bits) << c.asked;
        EXPECT_EQ(image.PaletteSize(), c.palette) << c.asked;
        EXPECT_EQ(image.Stride(), c.stride) << c.asked;
        EXPECT_EQ(image.MemorySize(), 40u + c.palette * 4u + c.stride * 3u);
        EXPECT_EQ(image.Header().sizeImage, static_cast<uint32_t>(c.stride * 3));
    }
}

TEST(RasterImage, RefusesAbsurdSizes) {
    RasterImage image;
    EXPECT_FALSE(image.Create(0, 5, 8));
    EXPECT_FALSE(image.Create(kMaxImageSide + 1, 1, 8));
    EXPECT_FALSE(image.Create(25000, 25000, 1)); // 625 million pixels
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_TRUE(image.Create(kMaxImageSide, 1, 24));
}

TEST(RasterImage, PixelIndexesPackIntoTheirBits) {
    for (int bits : {1, 4, 8}) {
        RasterImage image;
        ASSERT_TRUE(image.Create(13, 2, bits));
        const int max = (1 << bits) - 1;
        for (int x = 0; x < 13; ++x)
            image.SetPixelIndex(x, 1, static_cast<uint8_t>(x % (max + 1)));
        for (int x = 0; x < 13; ++x) {
            EXPECT_EQ(image.GetPixelIndex(x, 1), x % (max + 1)) << bits << " " << x;
            EXPECT_EQ(image.GetPixelIndex(x, 0), 0);
        }
    }
    RasterImage one;
    one.Create(9, 1, 1);
    one.SetPixelIndex(0, 0, 1);
    one.SetPixelIndex(8, 0, 1);
    EXPECT_EQ(one.Row(0)[0], 0x80);
    EXPECT_EQ(one.Row(0)[1], 0x80);
}

TEST(RasterImage, OutsideTheImage) {
    RasterImage pal;
    pal.Create(2, 2, 8);
    pal.Palette()[3] = MakeRgb(1, 2, 3);
    pal.SetPixelIndex(-1, 0, 7); // ignored
    EXPECT_EQ(pal.GetPixelIndex(5, 0), 0);
    EXPECT_EQ(pal.GetPixelColor(5, 0), RgbQuad{});
    pal.SetTransparentIndex(3);
    EXPECT_EQ(pal.GetPixelIndex(-1, 0), 3);
    EXPECT_EQ(pal.GetPixelColor(0, 9), MakeRgb(1, 2, 3));

    RasterImage rgb;
    rgb.Create(2, 2, 24);
    rgb.SetBackgroundColor(MakeRgb(9, 8, 7));
    EXPECT_EQ(rgb.GetPixelColor(2, 0), RgbQuad{});
    rgb.SetTransparentIndex(0);
    EXPECT_EQ(rgb.GetPixelColor(2, 0), MakeRgb(9, 8, 7));
    rgb.SetPixelColor(1, 1, MakeRgb(200, 100, 50));
    EXPECT_EQ(rgb.GetPixelColor(1, 1), MakeRgb(200, 100, 50));
    EXPECT_EQ(rgb.Row(1)[3], 50); // blue first
    EXPECT_EQ(rgb.GetPixelIndex(1, 1), 0);
}

TEST(RasterImage, NearestPaletteIndexPrefersExactThenFirst) {
    RasterImage image;
    image.Create(1, 1, 4);
    image.SetPalette(RasterImage::StandardPalette16(), 16);
    EXPECT_EQ(image.NearestPaletteIndex(MakeRgb(255, 255, 255)), 15);
    EXPECT_EQ(image.NearestPaletteIndex(MakeRgb(250, 5, 5)), 9);
    // (64,0,0) is as far from black as from dark red: the first wins.
    EXPECT_EQ(image.NearestPaletteIndex(MakeRgb(64, 0, 0)), 0);
    image.SetPixelColor(0, 0, MakeRgb(0, 120, 130));
    EXPECT_EQ(image.GetPixelIndex(0, 0), 6);
}

TEST(RasterImage, StandardAndGreyPalettes) {
    const RgbQuad* p = RasterImage::StandardPalette256();
    EXPECT_EQ(p[7], MakeRgb(192, 192, 192));
    EXPECT_EQ(p[8], MakeRgb(192, 220, 192));
    EXPECT_EQ(p[9], MakeRgb(166, 202, 240));
    EXPECT_EQ(p[246], MakeRgb(255, 251, 240));
    EXPECT_EQ(p[248], MakeRgb(128, 128, 128));
    EXPECT_EQ(p[255], MakeRgb(255, 255, 255));
    RgbQuad grey[16];
    RasterImage::MakeGreyPalette(grey, 16);
    EXPECT_EQ(grey[1], MakeRgb(17, 17, 17));
    EXPECT_EQ(grey[15], MakeRgb(255, 255, 255));
    RgbQuad three[3];
    RasterImage::MakeGreyPalette(three, 3);
    EXPECT_EQ(three[2], MakeRgb(254, 254, 254)); // 255 / 2 first, then times 2

    // Grey scale means entry i is (i, i, i): only an 8-bit grey palette.
    RasterImage image;
    image.Create(1, 1, 8);
    image.SetGreyPalette();
    EXPECT_TRUE(image.IsGreyScale());
    image.Palette()[200].blue = 0;
    EXPECT_FALSE(image.IsGreyScale());
    image.Create(1, 1, 4);
    image.SetGreyPalette(); // entry 1 is 17
    EXPECT_FALSE(image.IsGreyScale());
    image.Create(1, 1, 24);
    EXPECT_FALSE(image.IsGreyScale());
}

TEST(RasterImage, CopyAndTransfer) {
    RasterImage a;
    a.Create(3, 2, 8);
    a.Palette()[5] = MakeRgb(10, 20, 30);
    a.SetPixelIndex(2, 1, 5);
    a.SetTransparentIndex(5);
    a.SetDpi(300, 150);
    RasterImage b(a);
    EXPECT_EQ(b.GetPixelColor(2, 1), MakeRgb(10, 20, 30));
    EXPECT_EQ(b.TransparentIndex(), 5);
    EXPECT_EQ(b.Header().xPelsPerMeter, 11811);
    EXPECT_EQ(b.Header().yPelsPerMeter, 5906);
    b.SetPixelIndex(2, 1, 0);
    EXPECT_EQ(a.GetPixelIndex(2, 1), 5); // deep copy

    RasterImage c;
    c.TransferFrom(a);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(c.GetPixelIndex(2, 1), 5);
    EXPECT_EQ(c.DpiY(), 150);
    EXPECT_EQ(c.TransparentColor(), MakeRgb(10, 20, 30));
}

} // namespace
} // namespace orvo
