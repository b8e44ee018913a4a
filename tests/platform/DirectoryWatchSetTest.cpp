#include "platform/DirectoryWatchSet.h"

#include "TestDirectory.h"
#include "TmpfsMount.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace orvo {
namespace {

using Paths = std::vector<std::string>;

TEST(DirectoryWatchSet, ReportsEachChangedDirectoryOnceWhileItHasUsers) {
    test::TestDirectory dir;
    const std::string a = dir.MakeDirectory("a"), b = dir.MakeDirectory("b");
    const std::string file = dir.Write("b/log", "1");
    std::filesystem::create_directory_symlink(a, dir / "link");
    DirectoryWatchSet watch;
    ASSERT_GE(watch.Descriptor(), 0);
    ASSERT_TRUE(watch.Add(a));
    ASSERT_TRUE(watch.Add(a));
    ASSERT_TRUE(watch.Add(b));
    ASSERT_TRUE(watch.Add(dir / "link"));
    EXPECT_EQ(watch.ReadChanges(), Paths{});

    for (const char* name : {"a/1", "a/2", "a/3"})
        dir.Write(name);
    std::ofstream(file, std::ios::app) << "more"; // written in place
    EXPECT_EQ(watch.ReadChanges(), (Paths{a, b, dir / "link"}));

    watch.Remove(a); // one of its two users left
    watch.Remove(dir / "link");
    dir.Write("a/4");
    EXPECT_EQ(watch.ReadChanges(), Paths{a});
    watch.Remove(a);
    dir.Write("a/5");
    EXPECT_EQ(watch.ReadChanges(), Paths{});
    EXPECT_FALSE(watch.IsWatched(a));
    EXPECT_TRUE(watch.IsWatched(b));
}

TEST(DirectoryWatchSet, ADirectoryThatGoesIsReportedAndCanBeWatchedWhenBack) {
    test::TestDirectory dir;
    const std::string a = dir.MakeDirectory("a");
    DirectoryWatchSet watch;
    ASSERT_TRUE(watch.Add(a));
    std::filesystem::rename(a, dir / "moved");
    EXPECT_EQ(watch.ReadChanges(), Paths{a});
    EXPECT_FALSE(watch.IsWatched(a));
    dir.Write("moved/x"); // the moved directory is no longer a's
    EXPECT_EQ(watch.ReadChanges(), Paths{});

    dir.MakeDirectory("a");
    watch.Remove(a);
    ASSERT_TRUE(watch.Add(a));
    dir.Write("a/y");
    EXPECT_EQ(watch.ReadChanges(), Paths{a});
    std::filesystem::remove_all(a);
    EXPECT_EQ(watch.ReadChanges(), Paths{a});
    EXPECT_FALSE(watch.Add(dir / "missing"));
    watch.Remove(dir / "missing");
}

TEST(DirectoryWatchSet, AnUnmountedFileSystemIsToldApartFromAChange) {
    test::TestDirectory dir;
    test::TmpfsMount tmpfs("1m", dir.MakeDirectory("mnt"));
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    const std::string inside = dir.MakeDirectory("mnt/sub");
    const std::string outside = dir.MakeDirectory("other");
    DirectoryWatchSet watch;
    ASSERT_TRUE(watch.Add(inside));
    ASSERT_TRUE(watch.Add(tmpfs.Path()));
    ASSERT_TRUE(watch.Add(outside));
    dir.Write("other/x");
    ASSERT_EQ(::umount2(tmpfs.Path().c_str(), 0), 0);

    Paths unmounted;
    EXPECT_EQ(watch.ReadChanges(unmounted), Paths{outside});
    EXPECT_EQ(unmounted, (Paths{tmpfs.Path(), inside}));
    EXPECT_FALSE(watch.IsWatched(inside));
    EXPECT_TRUE(watch.IsWatched(outside));
}

} // namespace
} // namespace orvo
