#include "fileops/TreeRemoval.h"

#include "../platform/TestDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace fs = std::filesystem;

namespace {

// A place outside the tree that links lead to; it must come through whole.
void MakeOutside(const TestDirectory& dir) {
    dir.Write("outside/precious.txt", "precious");
    dir.Write("outside/sub/deeper.txt", "deeper");
}

void ExpectOutsideWhole(const TestDirectory& dir) {
    EXPECT_EQ(ReadFile(dir / "outside/precious.txt"), "precious");
    EXPECT_EQ(ReadFile(dir / "outside/sub/deeper.txt"), "deeper");
}

} // namespace

TEST(TreeRemoval, ALinkAsTheRootIsRemovedAsALink) {
    TestDirectory dir;
    MakeOutside(dir);
    fs::create_directory_symlink(dir / "outside", dir / "temp");
    EXPECT_TRUE(RemoveEntryTree(dir / "temp"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "temp")));
    ExpectOutsideWhole(dir);
    // With a trailing slash too, which a shell completion leaves.
    fs::create_directory_symlink(dir / "outside", dir / "temp");
    EXPECT_TRUE(RemoveEntryTree(dir / "temp/"));
    ExpectOutsideWhole(dir);
}

TEST(TreeRemoval, LinksBelowTheRootAreRemovedAsLinks) {
    TestDirectory dir;
    MakeOutside(dir);
    dir.Write("temp/.hidden/a.txt", "a");
    dir.Write("temp/A.TXT", "twin");
    dir.Write("temp/a.txt", "twin");
    dir.Write("temp/name \xff\xfe.bin", "bytes");
    std::string deep = "temp";
    for (int i = 0; i < 40; ++i)
        deep += "/d";
    dir.Write(deep + "/leaf", "leaf");
    fs::create_directory_symlink(dir / "outside", dir / "temp/to outside");
    fs::create_directory_symlink(dir / "outside/sub", dir / "temp/.hidden/to sub");
    fs::create_symlink(dir / "outside/precious.txt", dir / "temp/to file");
    fs::create_symlink(dir / "nowhere", dir / "temp/dangling");
    ::chmod((dir / "temp/a.txt").c_str(), 0444);
    EXPECT_TRUE(RemoveEntryTree(dir / "temp"));
    EXPECT_FALSE(fs::exists(dir / "temp"));
    ExpectOutsideWhole(dir);
}

TEST(TreeRemoval, AFileOrNothingAtAll) {
    TestDirectory dir;
    dir.Write("file", "x");
    EXPECT_TRUE(RemoveEntryTree(dir / "file"));
    EXPECT_FALSE(fs::exists(dir / "file"));
    EXPECT_TRUE(RemoveEntryTree(dir / "missing"));
    EXPECT_FALSE(RemoveEntryTree(dir / "missing/.."));
}
