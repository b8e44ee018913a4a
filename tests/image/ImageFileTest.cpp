#include "image/ImageFile.h"

#include "FormatTestSupport.h"
#include "image/ImageCodec.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orvo {
namespace {

using test::PatternImage;
using test::PixelDifference;
using test::TempDir;

struct LosslessCase {
    ImageFormat format;
    const char* extension;
    int bits;
};

TEST(ImageFile, LosslessRoundTripsAtEveryDepth) {
    const LosslessCase cases[] = {
        {ImageFormatBmp, "bmp", 1},  {ImageFormatBmp, "bmp", 4},  {ImageFormatBmp, "bmp", 8},
        {ImageFormatBmp, "bmp", 24}, {ImageFormatGif, "gif", 1},  {ImageFormatGif, "gif", 4},
        {ImageFormatGif, "gif", 8},  {ImageFormatPng, "png", 1},  {ImageFormatPng, "png", 4},
        {ImageFormatPng, "png", 8},  {ImageFormatPng, "png", 24}, {ImageFormatIco, "ico", 1},
        {ImageFormatIco, "ico", 4},  {ImageFormatIco, "ico", 8},  {ImageFormatTiff, "tif", 4},
        {ImageFormatTiff, "tif", 8},
    };
    TempDir dir;
    // Odd sizes put padding at the end of every row.
    for (const LosslessCase& c : cases) {
        RasterImage original = PatternImage(37, 11, c.bits);
        original.SetDpi(150, 300);
        // TIFF keeps a black-and-white or grey palette as such, not as a colour map.
        if (c.format == ImageFormatTiff && c.bits != 4)
            original.SetGreyPalette();
        const std::string path = dir.File(std::string("round.") + c.extension);
        ASSERT_TRUE(SaveImage(original, path)) << c.extension << c.bits << original.LastError();
        RasterImage loaded;
        ASSERT_TRUE(LoadImage(loaded, path)) << c.extension << c.bits << loaded.LastError();
        EXPECT_EQ(loaded.Format(), c.format);
        EXPECT_EQ(PixelDifference(original, loaded), "") << c.extension << " " << c.bits;
        if (c.format != ImageFormatGif && c.format != ImageFormatIco) {
            EXPECT_EQ(loaded.DpiX(), 150) << c.extension;
            EXPECT_EQ(loaded.DpiY(), 300) << c.extension;
        }
    }
}

TEST(ImageFile, LossyFormatsStayClose) {
    TempDir dir;
    RasterImage photo = test::GradientImage(64, 48);
    photo.SetJpegQuality(95);
    for (const char* name : {"p.jpg", "p.tif"}) {
        ASSERT_TRUE(SaveImage(photo, dir.File(name))) << name << photo.LastError();
        RasterImage loaded;
        ASSERT_TRUE(LoadImage(loaded, dir.File(name))) << name << loaded.LastError();
        ASSERT_EQ(loaded.Bits(), 24);
        ASSERT_EQ(loaded.Width(), 64);
        EXPECT_LE(test::MaxChannelDifference(photo, loaded), 12) << name;
    }
    // Upside-down rows or swapped red and blue would be far off.
    RasterImage loaded;
    LoadImage(loaded, dir.File("p.jpg"));
    EXPECT_GT(loaded.GetPixelColor(63, 0).red, 200);
    EXPECT_LT(loaded.GetPixelColor(63, 0).blue, 150);
    EXPECT_GT(loaded.GetPixelColor(0, 47).green, 200);
}

TEST(ImageFile, JpegTakesGreyOrRgbOnly) {
    TempDir dir;
    RasterImage colours = PatternImage(8, 8, 4);
    EXPECT_FALSE(SaveImage(colours, dir.File("c.jpg")));
    EXPECT_EQ(colours.LastError(), "JPEG can save only RGB or GreyScale images");

    RasterImage grey = PatternImage(16, 16, 8);
    grey.SetGreyPalette();
    ASSERT_TRUE(SaveImage(grey, dir.File("g.jpg"))) << grey.LastError();
    RasterImage loaded;
    ASSERT_TRUE(LoadImage(loaded, dir.File("g.jpg")));
    EXPECT_EQ(loaded.Bits(), 8); // one component comes back as grey
    EXPECT_TRUE(loaded.IsGreyScale());

    // Packed rows whose palette happens to read as a grey ramp: the left
    // half is the brightest entry, the right half the darkest.
    for (int bits : {1, 4}) {
        RasterImage packed;
        packed.Create(64, 3, bits);
        const int top = packed.PaletteSize() - 1;
        for (int i = 0; i <= top; ++i)
            packed.Palette()[i] = MakeRgb(i, i, i);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 64; ++x)
                packed.SetPixelIndex(x, y, x < 32 ? top : 0);
        packed.SetJpegQuality(100);
        ASSERT_TRUE(SaveImage(packed, dir.File("p.jpg"))) << packed.LastError();
        ASSERT_TRUE(LoadImage(loaded, dir.File("p.jpg")));
        EXPECT_EQ(loaded.Bits(), 8);
        EXPECT_NEAR(loaded.GetPixelIndex(2, 1), top, 1) << bits;
        EXPECT_NEAR(loaded.GetPixelIndex(60, 1), 0, 1) << bits;
    }

    // With the adjust flag a palette image is raised to 24 bits first.
    ASSERT_TRUE(SaveImage(colours, dir.File("c.jpg"), -1, true)) << colours.LastError();
    EXPECT_EQ(colours.Bits(), 24);
}

TEST(ImageFile, GifNeedsEightBitsOrTheAdjustFlag) {
    TempDir dir;
    RasterImage photo = test::GradientImage(10, 10);
    EXPECT_FALSE(SaveImage(photo, dir.File("a.gif")));
    EXPECT_EQ(photo.LastError(), "GIF Images must be 8 bit or less");
    ASSERT_TRUE(SaveImage(photo, dir.File("a.gif"), -1, true)) << photo.LastError();
    RasterImage loaded;
    ASSERT_TRUE(LoadImage(loaded, dir.File("a.gif")));
    EXPECT_EQ(loaded.Bits(), 8);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(loaded.Palette()[i], RasterImage::StandardPalette256()[i]) << i;
}

TEST(ImageFile, IconSizeLimit) {
    TempDir dir;
    RasterImage big = PatternImage(256, 256, 8);
    EXPECT_FALSE(SaveImage(big, dir.File("big.ico")));
    EXPECT_EQ(big.LastError(), "Can't save this image as icon");
    RasterImage deep = PatternImage(16, 16, 24);
    EXPECT_FALSE(SaveImage(deep, dir.File("deep.ico")));
    RasterImage largest = PatternImage(255, 255, 8);
    ASSERT_TRUE(SaveImage(largest, dir.File("ok.ico")));
    RasterImage loaded;
    ASSERT_TRUE(LoadImage(loaded, dir.File("ok.ico")));
    EXPECT_EQ(PixelDifference(largest, loaded), "");
}

TEST(ImageFile, WrongExtensionStillLoads) {
    TempDir dir;
    RasterImage photo = test::GradientImage(30, 20);
    ASSERT_TRUE(SaveImage(photo, dir.File("real.jpg")));
    dir.Write("photo.bmp", ReadWholeFile(dir.File("real.jpg")));
    RasterImage loaded;
    ASSERT_TRUE(LoadImage(loaded, dir.File("photo.bmp"))) << loaded.LastError();
    EXPECT_EQ(loaded.Format(), ImageFormatJpeg);
    EXPECT_EQ(loaded.Width(), 30);
    EXPECT_EQ(loaded.LastError(), "");
    // A format number beyond the six is refused as such, then retried.
    RasterImage again;
    EXPECT_TRUE(LoadImageFile(again, dir.File("photo.bmp"), 9));
}

TEST(ImageFile, FailuresLeaveAnEmptyImageAndTheNamedFormatsText) {
    TempDir dir;
    dir.Write("junk.gif", "this is not a picture at all");
    RasterImage image = PatternImage(4, 4, 8);
    EXPECT_FALSE(LoadImage(image, dir.File("junk.gif")));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.LastError(), "Not a GIF file");
    EXPECT_FALSE(LoadImage(image, dir.File("junk.bmp")));
    EXPECT_NE(image.LastError().find("No such file"), std::string::npos) << image.LastError();
    // A pipe would never end; a directory is no picture either.
    ASSERT_EQ(mkfifo(dir.File("pipe.jpg").c_str(), 0600), 0);
    EXPECT_FALSE(LoadImage(image, dir.File("pipe.jpg")));
    EXPECT_NE(image.LastError().find("not a regular file"), std::string::npos);
    EXPECT_FALSE(LoadImage(image, dir.File("")));
    EXPECT_FALSE(LoadImageResource(image, "", ImageFormatPng));
    EXPECT_EQ(image.LastError(), "Unable to load resource!");

    RasterImage picture = PatternImage(4, 4, 8);
    EXPECT_FALSE(SaveImageFile(picture, dir.File("x.bmp"), 6));
    EXPECT_EQ(picture.LastError(), "Unsupported operation for this format");
    EXPECT_FALSE(SaveImage(picture, dir.File("missing-dir/x.gif")));
    EXPECT_EQ(picture.LastError(), "Can't open GIF for writing");
    // A failed save keeps the old file.
    dir.Write("keep.jpg", "old content");
    EXPECT_FALSE(SaveImage(picture, dir.File("keep.jpg")));
    EXPECT_EQ(ReadWholeFile(dir.File("keep.jpg")), "old content");
}

TEST(ImageFile, ExtensionsAndFormats) {
    EXPECT_EQ(FormatOfExtension("JPEG"), ImageFormatJpeg);
    EXPECT_EQ(FormatOfExtension("Jpe"), ImageFormatJpeg);
    EXPECT_EQ(FormatOfExtension("TIFF"), ImageFormatTiff);
    EXPECT_EQ(FormatOfExtension("tga"), ImageFormatBmp);
    EXPECT_EQ(FormatOfExtension(""), ImageFormatBmp);
    EXPECT_EQ(ExtensionOfPath("/a.b/c"), "");
    EXPECT_EQ(ExtensionOfPath("dir/x.tar.GZ"), "GZ");
    EXPECT_TRUE(IsImageExtension("PNG"));
    EXPECT_TRUE(IsImageExtension("tga"));
    EXPECT_FALSE(IsImageExtension("jpeg")); // not in the shared list
    EXPECT_FALSE(IsImageExtension("pn"));
    EXPECT_FALSE(IsImageExtension(""));
}

TEST(ImageFile, PaletteTransparencySurvivesPngAndGif) {
    TempDir dir;
    for (const char* name : {"t.png", "t.gif"}) {
        RasterImage image = PatternImage(9, 9, 8);
        image.SetTransparentIndex(5);
        image.SetFrameDelay(40);
        ASSERT_TRUE(SaveImage(image, dir.File(name)));
        RasterImage loaded;
        ASSERT_TRUE(LoadImage(loaded, dir.File(name)));
        EXPECT_EQ(loaded.TransparentIndex(), 5) << name;
        if (std::string(name) == "t.gif")
            EXPECT_EQ(loaded.FrameDelay(), 40);
        else // composited over the default grey
            EXPECT_EQ(loaded.Palette()[5], MakeRgb(192, 192, 192));
    }
}

} // namespace
} // namespace orvo
