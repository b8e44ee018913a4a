// Pictures whose camera orientation was decoded and turned upright by
// another program (data/image/orientation).
#include "FormatTestSupport.h"
#include "PictureFixtures.h"
#include "image/ImageCodec.h"
#include "image/ImageFile.h"
#include "image/LoadImageGuarded.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::Compare;
using test::Fixture;
using test::ReadPpm;

std::string Load(RasterImage& image, const std::string& name, ImageFormat format) {
    image.Destroy();
    if (!LoadImageBytes(image, Fixture("orientation/" + name), format))
        return image.LastError();
    return "";
}

TEST(ImageOrientation, JpegExifTurnsEveryWay) {
    RasterImage image;
    ASSERT_EQ(Load(image, "plain.jpg", ImageFormatJpeg), "");
    const RasterImage plain = image;
    for (int n = 2; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const std::string name = "o" + std::to_string(n);
        ASSERT_EQ(Load(image, name + ".jpg", ImageFormatJpeg), "");
        // Same decoder on both sides; only rounding of the IDCT may differ.
        EXPECT_EQ(Compare(ReadPpm(Fixture("orientation/" + name + ".ppm")), image, 2), "");
    }
    // A tag of the wrong type leaves the picture as stored.
    std::string wrongType = Fixture("orientation/o7.jpg"); // big-endian block
    const size_t tag = wrongType.find(std::string("\x01\x12", 2));
    ASSERT_NE(tag, std::string::npos);
    wrongType[tag + 3] = 4; // LONG instead of SHORT
    ASSERT_TRUE(LoadImageBytes(image, wrongType, ImageFormatJpeg));
    EXPECT_EQ(Compare(plain, image, 0), "");

    // Saved, a turned photo keeps its upright pixels and is not turned twice.
    ASSERT_EQ(Load(image, "o6.jpg", ImageFormatJpeg), "");
    const RasterImage upright = image;
    ASSERT_TRUE(LoadImageBytes(image, WriteJpeg(upright), ImageFormatJpeg));
    EXPECT_EQ(image.Width(), 8);
    EXPECT_EQ(image.Height(), 16);
    EXPECT_GT(image.GetPixelColor(2, 13).green, 200); // the green corner stays at the top left
    EXPECT_LT(image.GetPixelColor(2, 13).red, 60);
}

TEST(ImageOrientation, ThumbnailsOfTurnedPhotosKeepTheirShape) {
    // The scaled JPEG decoding picks its size before the turn.
    test::TempDir dir;
    dir.Write("turned.jpg", Fixture("orientation/o6.jpg"));
    RasterImage thumb;
    ASSERT_EQ(LoadImageGuarded(thumb, dir.File("turned.jpg"), 4, 4, nullptr), GuardedLoad::Loaded);
    EXPECT_EQ(thumb.Width(), 2);
    EXPECT_EQ(thumb.Height(), 4);
}

TEST(ImageOrientation, TiffTagInStripsAndTiles) {
    RasterImage image;
    for (const auto& [file, expected] :
         {std::pair{"o6.tif", "o6-tif.ppm"}, std::pair{"o8.tif", "o8-tif.ppm"},
          std::pair{"o6-tiled.tif", "o6-tiled.ppm"}}) {
        SCOPED_TRACE(file);
        ASSERT_EQ(Load(image, file, ImageFormatTiff), "");
        EXPECT_EQ(Compare(ReadPpm(Fixture(std::string("orientation/") + expected)), image, 0), "");
    }
    // Saved again, the pixels stay upright and the file holds no turn.
    const RasterImage upright = image;
    ASSERT_TRUE(LoadImageBytes(image, WriteTiff(upright), ImageFormatTiff));
    EXPECT_EQ(Compare(upright, image, 4), ""); // written as JPEG inside the TIFF
}

} // namespace
} // namespace orvo
