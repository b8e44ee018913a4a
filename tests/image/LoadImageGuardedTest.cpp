#include "image/LoadImageGuarded.h"

#include "FormatTestSupport.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

using test::TempDir;

TEST(LoadImageGuarded, LargeJpegMatchesTheFullDecode) {
    TempDir dir;
    for (auto [width, height] : {std::pair{800, 450}, std::pair{300, 1000}, std::pair{97, 96}}) {
        RasterImage photo = test::GradientImage(width, height);
        photo.SetJpegQuality(90);
        ASSERT_TRUE(SaveImage(photo, dir.File("big.jpg")));
        RasterImage thumb;
        ASSERT_EQ(LoadImageGuarded(thumb, dir.File("big.jpg"), 96, 96), GuardedLoad::Loaded);
        // The reduced-scale decode must give what the full path gives.
        RasterImage full;
        ASSERT_TRUE(LoadImage(full, dir.File("big.jpg")));
        ResampleToFit(full, 96, 96, ResampleBilinear, false, true);
        ASSERT_EQ(thumb.Width(), full.Width()) << width;
        ASSERT_EQ(thumb.Height(), full.Height()) << width;
        EXPECT_LE(std::max(thumb.Width(), thumb.Height()), 96);
        EXPECT_EQ(thumb.Bits(), 24);
        EXPECT_LE(test::MaxChannelDifference(thumb, full), 24) << width;
    }
}

TEST(LoadImageGuarded, SmallPalettePicturesAreRaisedNotEnlarged) {
    TempDir dir;
    RasterImage small = test::PatternImage(20, 10, 8);
    ASSERT_TRUE(SaveImage(small, dir.File("small.gif")));
    RasterImage thumb;
    ASSERT_EQ(LoadImageGuarded(thumb, dir.File("small.gif"), 96, 96), GuardedLoad::Loaded);
    EXPECT_EQ(thumb.Width(), 20);
    EXPECT_EQ(thumb.Bits(), 24);
    EXPECT_EQ(test::MaxChannelDifference(thumb, small), 0);

    // A picture under a wrong extension still loads by the retry.
    dir.Write("really-gif.png", ReadWholeFile(dir.File("small.gif")));
    EXPECT_EQ(LoadImageGuarded(thumb, dir.File("really-gif.png"), 96, 96), GuardedLoad::Loaded);
}

TEST(LoadImageGuarded, ShellIconCases) {
    TempDir dir;
    RasterImage icon = test::PatternImage(16, 16, 4);
    ASSERT_TRUE(SaveImage(icon, dir.File("app.ico")));
    dir.Write("notes.txt", "hello");
    dir.Write("broken.png", "\x89PNG\r\n\x1A\n garbage");
    RasterImage thumb = test::PatternImage(3, 3, 24);
    EXPECT_EQ(LoadImageGuarded(thumb, dir.File("app.ico"), 96, 96), GuardedLoad::UseIcon);
    EXPECT_TRUE(thumb.IsEmpty());
    EXPECT_EQ(LoadImageGuarded(thumb, dir.File("notes.txt"), 96, 96), GuardedLoad::UseIcon);
    EXPECT_EQ(LoadImageGuarded(thumb, dir.File("broken.png"), 96, 96), GuardedLoad::UseIcon);
    EXPECT_EQ(thumb.LastError(), "Error reading PNG file");
    EXPECT_EQ(LoadImageGuarded(thumb, dir.File("gone.jpg"), 96, 96), GuardedLoad::UseIcon);
    EXPECT_FALSE(thumb.LastError().empty());
}

TEST(LoadImageGuarded, ComposeCentresOnTheField) {
    RasterImage picture;
    picture.Create(3, 1, 24);
    for (int x = 0; x < 3; ++x)
        picture.SetPixelColor(x, 0, MakeRgb(255, 0, 0));
    RasterImage cell;
    ASSERT_TRUE(ComposeOnField(picture, 5, 3, MakeRgb(255, 255, 255), cell));
    std::string rows;
    for (int y = 2; y >= 0; --y) {
        for (int x = 0; x < 5; ++x)
            rows += cell.GetPixelColor(x, y) == MakeRgb(255, 0, 0) ? 'R' : '.';
        rows += y ? "/" : "";
    }
    EXPECT_EQ(rows, "...../.RRR./.....");
    // Larger than the field: cut, not overflowing.
    ASSERT_TRUE(ComposeOnField(picture, 1, 1, MakeRgb(0, 0, 0), cell));
    EXPECT_EQ(cell.GetPixelColor(0, 0), MakeRgb(255, 0, 0));
}

} // namespace
} // namespace orvo
