#include "viewers/ImageConversion.h"

#include "image/ImageTransforms.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace {

RasterImage Gradient(int width, int height, int bits = 24) {
    RasterImage image;
    image.Create(width, height, bits);
    if (bits <= 8)
        for (int i = 0; i < image.PaletteSize(); ++i)
            image.Palette()[i] = MakeRgb(uint8_t(i * 16), uint8_t(i * 16), uint8_t(255 - i * 16));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y, MakeRgb(uint8_t(x * 7), uint8_t(y * 5), uint8_t(x + y)));
    return image;
}

bool SamePixels(const RasterImage& a, const RasterImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Bits() != b.Bits())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(a.GetPixelColor(x, y) == b.GetPixelColor(x, y)))
                return false;
    return true;
}

} // namespace

TEST(ImageConversion, FieldsFollowTheSourceAndTheFormatButtons) {
    RasterImage image = Gradient(641, 480);
    image.SetDpi(300, 150);
    ImageConversion conversion(&image, "/pics/holiday.Tif");
    EXPECT_EQ(conversion.format, ConversionFormatIndex("tif"));
    EXPECT_EQ(conversion.depth, 24);
    EXPECT_EQ(conversion.dpiX, 300);
    conversion.SetPercent(50);
    EXPECT_EQ(conversion.width, 320);
    EXPECT_EQ(conversion.height, 240);
    conversion.ChooseFormat(ConversionFormatIndex("TGA"));
    EXPECT_EQ(conversion.fileName, "/pics/holiday.tga");
    EXPECT_EQ(conversion.FormatExtension(), "tga");
    EXPECT_EQ(ConversionFormatIndex("jpeg"), -1);
    EXPECT_EQ(PathWithExtension("/a.b/name", "png"), "/a.b/name.png");
    EXPECT_DOUBLE_EQ(ReadTypedNumber("12.5 degrees"), 12.5);
    EXPECT_DOUBLE_EQ(ReadTypedNumber("left"), 0.0);
}

TEST(ImageConversion, SaveAsKeepsAnExtensionTypedInOtherLetters) {
    RasterImage image;
    ASSERT_TRUE(image.Create(4, 4, 24));
    const std::string shown = "/pics/IMG_0001.JPG";
    ImageConversion conversion(&image, shown);
    EXPECT_EQ(conversion.SaveAsTarget(shown, "/pics"), shown);
    conversion.ChooseFormat(ConversionFormatIndex("JPG"));
    EXPECT_EQ(conversion.fileName, shown);
    conversion.ChooseFormat(ConversionFormatIndex("PNG"));
    EXPECT_EQ(conversion.SaveAsTarget(shown, "/pics"), "/pics/IMG_0001.png");
    // No format chosen: the shown file's extension, as the format names it.
    ImageConversion bare(&image, "/pics/scan");
    EXPECT_EQ(bare.SaveAsTarget("/pics/scan.TIF", "/pics"), "/pics/scan.tif");
    // A name without a directory belongs beside the source.
    for (const char* typed : {"copy", "old/copy"}) {
        bare.fileName = typed;
        EXPECT_EQ(bare.SaveAsTarget("/pics/scan.TIF", "/pics"),
                  "/pics/" + std::string(typed) + ".tif");
    }
    bare.fileName = "/pics/";
    EXPECT_EQ(bare.SaveAsTarget("/pics/scan.TIF", "/pics"), "");
}

TEST(ImageConversion, OkCommitsInOneStepAndResamplesOnlyForANewSize) {
    RasterImage image = Gradient(40, 30);
    const RasterImage original = image;
    {
        ImageConversion conversion(&image, "x.bmp");
        ASSERT_TRUE(conversion.Rotate(90));
        EXPECT_TRUE(SamePixels(image, original)); // buttons touch the copy only
        // The size fields still name the source's size: the rotated 30 × 40
        // picture is taken as it is, not squeezed back to 40 × 30.
        conversion.Commit();
    }
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 40);

    ImageConversion smaller(&image, "x.bmp");
    smaller.width = 15;
    smaller.height = 20;
    smaller.dpiX = 200;
    smaller.depth = 8;
    smaller.Commit();
    EXPECT_EQ(image.Width(), 15);
    EXPECT_EQ(image.Bits(), 8);
    EXPECT_EQ(image.DpiX(), 200);

    ImageConversion undone(&image, "x.bmp");
    undone.Negative();
    undone.UndoAll();
    EXPECT_TRUE(SamePixels(undone.Working(), image));
}

TEST(ImageColorsConversion, NeutralSettingsReproduceTheSourceExactly) {
    for (int bits : {8, 24}) {
        RasterImage image = Gradient(50, 20, bits);
        const RasterImage original = image;
        ImageColorsConversion colours(&image);
        colours.Preview();
        EXPECT_TRUE(SamePixels(colours.Working(), original));
        colours.Commit();
        EXPECT_TRUE(SamePixels(image, original)) << bits << " bits";
    }
}

TEST(ImageColorsConversion, OffsetsPreviewSmallAndCommitFull) {
    RasterImage image = Gradient(900, 300);
    const RgbQuad before = image.GetPixelColor(10, 10);
    ImageColorsConversion colours(&image, 300);
    colours.red = 128 + 40;
    colours.blue = 0; // -128, clamped at 0
    colours.Preview();
    EXPECT_EQ(colours.Working().Width(), 300);
    EXPECT_EQ(colours.Working().Height(), 100);
    colours.Commit();
    ASSERT_EQ(image.Width(), 900);
    const RgbQuad after = image.GetPixelColor(10, 10);
    EXPECT_EQ(after.red, before.red + 40);
    EXPECT_EQ(after.green, before.green);
    EXPECT_EQ(after.blue, 0);

    // A palette picture takes the nearest entry of its own palette.
    RasterImage indexed;
    indexed.Create(2, 1, 8);
    indexed.Palette()[0] = MakeRgb(0, 0, 0);
    indexed.Palette()[1] = MakeRgb(100, 0, 0);
    indexed.Palette()[2] = MakeRgb(200, 0, 0);
    indexed.SetPixelIndex(0, 0, 1);
    ImageColorsConversion redder(&indexed);
    redder.red = 128 + 90;
    redder.Commit();
    EXPECT_EQ(indexed.GetPixelIndex(0, 0), 2);
    EXPECT_EQ(indexed.GetPixelIndex(1, 0), 1);
}
