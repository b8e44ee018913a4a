// 32-bit BMP layouts checked against pixels decoded by another program
// (the files and their expected pictures are kept under data/image/bitfields).
#include "image/ImageCodec.h"
#include "image/ImageFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orvo {
namespace {

std::string Fixture(const std::string& name) {
    const char* root = std::getenv("ORVO_TEST_DATA");
    std::ifstream in(std::string(root ? root : "tests/data") + "/image/bitfields/" + name,
                     std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Binary PPM (P6, maxval 255) into a 24-bit image.
RasterImage ReadPpm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    RasterImage image;
    if (magic != "P6" || maxval != 255 || !image.Create(width, height, 24))
        return image;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char rgb[3];
            in.read(rgb, 3);
            image.SetPixelColor(x, height - 1 - y,
                                MakeRgb(static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                                        static_cast<uint8_t>(rgb[2])));
        }
    return image;
}

// Empty when equal within tolerance, else the first pixel that is not.
std::string Compare(const RasterImage& want, const RasterImage& got, int tolerance) {
    if (got.Width() != want.Width() || got.Height() != want.Height() || got.Bits() != 24)
        return "size or depth differs";
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) {
            const RgbQuad a = want.GetPixelColor(x, y), b = got.GetPixelColor(x, y);
            if (std::abs(a.red - b.red) > tolerance || std::abs(a.green - b.green) > tolerance ||
                std::abs(a.blue - b.blue) > tolerance) {
                std::ostringstream o;
                o << "pixel " << x << "," << y << ": want " << int(a.red) << " " << int(a.green)
                  << " " << int(a.blue) << ", got " << int(b.red) << " " << int(b.green) << " "
                  << int(b.blue);
                return o.str();
            }
        }
    return "";
}

TEST(BmpBitFields, EveryMaskLayoutGivesTheSamePicture) {
    const RasterImage expected = ReadPpm(Fixture("expected.ppm"));
    ASSERT_FALSE(expected.IsEmpty());
    for (const char* name : {"a2r10g10b10-v5.bmp", "r11g11b10.bmp", "rgbx-order.bmp",
                             "bgra-alpha-bitfields.bmp", "xrgb-uncompressed.bmp"}) {
        SCOPED_TRACE(name);
        RasterImage image;
        ASSERT_TRUE(LoadImageBytes(image, Fixture(name), ImageFormatBmp)) << image.LastError();
        EXPECT_EQ(Compare(expected, image, 0), "");
    }
}

TEST(BmpBitFields, ImageMagickFilesWithAndWithoutAlpha) {
    RasterImage image;
    ASSERT_TRUE(LoadImageBytes(image, Fixture("red-white-v5.bmp"), ImageFormatBmp));
    EXPECT_EQ(Compare(ReadPpm(Fixture("red-white.ppm")), image, 0), "");
    // Translucent pixels over white, as the other program flattens them.
    ASSERT_TRUE(LoadImageBytes(image, Fixture("alpha-v5.bmp"), ImageFormatBmp));
    EXPECT_EQ(Compare(ReadPpm(Fixture("alpha-on-white.ppm")), image, 1), "");

    // An alpha mask whose every value is zero means an opaque picture.
    std::string clear = Fixture("red-white-v5.bmp");
    const size_t pixels = static_cast<uint8_t>(clear[10]);
    for (size_t i = pixels + 3; i < clear.size(); i += 4)
        clear[i] = 0;
    ASSERT_TRUE(LoadImageBytes(image, clear, ImageFormatBmp));
    EXPECT_EQ(Compare(ReadPpm(Fixture("red-white.ppm")), image, 0), "");
}

} // namespace
} // namespace orvo
