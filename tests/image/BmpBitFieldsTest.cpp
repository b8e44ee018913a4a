// 32-bit BMP layouts checked against pixels decoded by another program
// (the files and their expected pictures are kept under data/image/bitfields).
#include "PictureFixtures.h"
#include "image/ImageCodec.h"
#include "image/ImageFile.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Compare;
using test::Fixture;
using test::ReadPpm;

TEST(BmpBitFields, EveryMaskLayoutGivesTheSamePicture) {
    const RasterImage expected = ReadPpm(Fixture("bitfields/expected.ppm"));
    ASSERT_FALSE(expected.IsEmpty());
    for (const char* name : {"a2r10g10b10-v5.bmp", "r11g11b10.bmp", "rgbx-order.bmp",
                             "bgra-alpha-bitfields.bmp", "xrgb-uncompressed.bmp"}) {
        SCOPED_TRACE(name);
        RasterImage image;
        ASSERT_TRUE(
            LoadImageBytes(image, Fixture(std::string("bitfields/") + name), ImageFormatBmp))
            << image.LastError();
        EXPECT_EQ(Compare(expected, image, 0), "");
    }
}

TEST(BmpBitFields, ImageMagickFilesWithAndWithoutAlpha) {
    RasterImage image;
    ASSERT_TRUE(LoadImageBytes(image, Fixture("bitfields/red-white-v5.bmp"), ImageFormatBmp));
    EXPECT_EQ(Compare(ReadPpm(Fixture("bitfields/red-white.ppm")), image, 0), "");
    // Translucent pixels over white, as the other program flattens them.
    ASSERT_TRUE(LoadImageBytes(image, Fixture("bitfields/alpha-v5.bmp"), ImageFormatBmp));
    EXPECT_EQ(Compare(ReadPpm(Fixture("bitfields/alpha-on-white.ppm")), image, 1), "");

    // An alpha mask whose every value is zero means an opaque picture.
    std::string clear = Fixture("bitfields/red-white-v5.bmp");
    const size_t pixels = static_cast<uint8_t>(clear[10]);
    for (size_t i = pixels + 3; i < clear.size(); i += 4)
        clear[i] = 0;
    ASSERT_TRUE(LoadImageBytes(image, clear, ImageFormatBmp));
    EXPECT_EQ(Compare(ReadPpm(Fixture("bitfields/red-white.ppm")), image, 0), "");
}

} // namespace
} // namespace orvo
