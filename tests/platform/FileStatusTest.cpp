#include "platform/FileStatus.h"

#include "TestDirectory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

TEST(FileStatus, AttributeLettersFollowWhatTheEntryIs) {
    TestDirectory dir;
    std::string plain = dir.Write("plain.txt", "abc");
    std::string dot = dir.Write(".profile");
    std::string locked = dir.Write("locked");
    ::chmod(locked.c_str(), 0444);
    std::string sub = dir.MakeDirectory("sub");
    std::string fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);

    EXPECT_EQ(GetFileStatus(plain).attributes, "-a--");
    EXPECT_EQ(GetFileStatus(dot).attributes, "-ah-");
    EXPECT_EQ(GetFileStatus(locked).attributes, "ra--");
    EXPECT_EQ(GetFileStatus(sub).attributes, "----");
    EXPECT_EQ(GetFileStatus(sub + "/").attributes, "----");
    EXPECT_EQ(GetFileStatus(fifo).attributes, "---s");

    FileStatus f = GetFileStatus(plain);
    EXPECT_TRUE(f.exists && f.isRegular && !f.isDirectory && !f.isSymlink);
    EXPECT_EQ(f.size, 3u);
    EXPECT_GT(f.modified, 40000.0); // some day after 2009, as a local OLE date
    EXPECT_FALSE(GetFileStatus(dir / "missing").exists);
}

TEST(FileStatus, LinksReportTheirTarget) {
    TestDirectory dir;
    std::string sub = dir.MakeDirectory("sub");
    ASSERT_EQ(::symlink("sub", (dir / "to-sub").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / ".dangling").c_str()), 0);

    FileStatus link = GetFileStatus(dir / "to-sub");
    EXPECT_TRUE(link.exists && link.isSymlink && link.isDirectory);
    EXPECT_TRUE(IsDirectory(dir / "to-sub"));

    FileStatus dangling = GetFileStatus(dir / ".dangling");
    EXPECT_TRUE(dangling.exists && dangling.isSymlink);
    EXPECT_FALSE(dangling.isDirectory || dangling.isRegular);
    EXPECT_EQ(dangling.mode, 0u);
    EXPECT_EQ(dangling.attributes, "--h-");
    EXPECT_TRUE(PathExists(dir / ".dangling"));
}

TEST(FileStatus, ReadOnlyIsTheOnlyChangeableLetter) {
    TestDirectory dir;
    std::string file = dir.Write("f");
    ::chmod(file.c_str(), 0664);
    ASSERT_TRUE(SetReadOnly(file, true));
    struct stat st {};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(GetFileStatus(file).attributes, "ra--");

    ASSERT_TRUE(ClearAttributes(file));
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    // Clearing a link's attributes must not reach through to its target.
    SetReadOnly(file, true);
    ASSERT_EQ(::symlink("f", (dir / "link").c_str()), 0);
    EXPECT_TRUE(ClearAttributes(dir / "link"));
    EXPECT_EQ(GetFileStatus(file).attributes, "ra--");
    EXPECT_FALSE(SetReadOnly(dir / "missing", true));
}
