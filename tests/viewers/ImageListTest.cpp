#include "viewers/ImageList.h"

#include "../platform/TestDirectory.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace {

// b.PNG, c.jpg and a.gif are pictures; the rest are not.
std::string MakeDirectory(const test::TestDirectory& dir) {
    for (const char* name : {"b.PNG", "c.jpg", "notes.txt", "a.gif", "README"})
        dir.Write(name, "x");
    dir.MakeDirectory("folder.jpg");
    return dir.Path();
}

} // namespace

TEST(ImageList, PicturesOfTheDirectoryInNameOrder) {
    test::TestDirectory dir;
    ImageList list;
    list.Build(MakeDirectory(dir));
    ASSERT_TRUE(list.IsBuilt());
    EXPECT_EQ(list.Paths(),
              (std::vector<std::string>{dir / "a.gif", dir / "b.PNG", dir / "c.jpg"}));

    ImageList missing;
    missing.Build(dir / "gone");
    EXPECT_TRUE(missing.IsBuilt());
    EXPECT_TRUE(missing.Paths().empty());
    EXPECT_EQ(missing.Next("", true), "");
    EXPECT_EQ(missing.First(), "");
}

TEST(ImageList, NavigationStopsAtTheEndsUnlessTheSlideshowWraps) {
    test::TestDirectory dir;
    ImageList list;
    list.Build(MakeDirectory(dir));
    EXPECT_EQ(list.Next(dir / "a.gif", false), dir / "b.PNG");
    EXPECT_EQ(list.Next(dir / "c.jpg", false), "");
    EXPECT_EQ(list.Next(dir / "c.jpg", true), dir / "a.gif");
    EXPECT_EQ(list.Previous(dir / "b.PNG"), dir / "a.gif");
    EXPECT_EQ(list.Previous(dir / "a.gif"), "");
    EXPECT_EQ(list.First(), dir / "a.gif");
    EXPECT_EQ(list.Last(), dir / "c.jpg");
    // A path that is not in the list goes nowhere.
    EXPECT_EQ(list.Next(dir / "notes.txt", true), "");
    EXPECT_EQ(list.Previous(dir / "zzz.jpg"), "");

    list.Remove(dir / "b.PNG");
    EXPECT_EQ(list.Next(dir / "a.gif", false), dir / "c.jpg");
    // Read again from its own directory (when a file operation ends there).
    list.Build(list.Directory());
    EXPECT_EQ(list.Paths().size(), 3u);
}
