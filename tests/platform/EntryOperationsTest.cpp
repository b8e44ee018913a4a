#include "platform/EntryOperations.h"

#include "TestDirectory.h"
#include "TmpfsMount.h"
#include "platform/FileCopy.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;
using orvo::test::TmpfsMount;

namespace {

struct stat Lstat(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Names in a directory other than the given one: what a copy left behind.
int OtherEntries(const std::string& directory, const std::string& except) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(directory))
        n += e.path().filename() != except;
    return n;
}

class StopAfterFirstChunk : public CopyObserver {
public:
    bool ContinueCopy(uint64_t) override { return false; }
};

} // namespace

TEST(EntryOperations, CopyKeepsBitsAndTimesAndLinksStayLinks) {
    TestDirectory dir;
    std::string src = dir.Write("src/tool.sh", "#!/bin/sh\necho hi\n");
    ASSERT_EQ(::chmod(src.c_str(), 0751), 0);
    struct timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, src.c_str(), times, 0), 0);
    ASSERT_EQ(::symlink("../elsewhere", (dir / "src/link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "src/pipe").c_str(), 0640), 0);

    // The destination's directories are made on the way.
    ASSERT_TRUE(CopyEntry(src, dir / "dst/deep/tool.sh", false, false));
    struct stat st = Lstat(dir / "dst/deep/tool.sh");
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(ReadFile(dir / "dst/deep/tool.sh"), "#!/bin/sh\necho hi\n");

    ASSERT_TRUE(CopyEntry(dir / "src/link", dir / "dst/link", false, false));
    EXPECT_TRUE(S_ISLNK(Lstat(dir / "dst/link").st_mode));
    EXPECT_EQ(std::filesystem::read_symlink(dir / "dst/link"), "../elsewhere");
    // A FIFO is made, never read (which would wait for a writer forever).
    ASSERT_TRUE(CopyEntry(dir / "src/pipe", dir / "dst/pipe", false, false));
    EXPECT_TRUE(S_ISFIFO(Lstat(dir / "dst/pipe").st_mode));
    EXPECT_EQ(OtherEntries(dir / "dst", "deep"), 2); // no staging names left
}

TEST(EntryOperations, ExistingTargetsAndRefusals) {
    TestDirectory dir;
    std::string src = dir.Write("a.txt", "new");
    std::string dst = dir.Write("out/a.txt", "old");
    EXPECT_FALSE(CopyEntry(src, dst, true, false));
    EXPECT_EQ(LastEntryError(), EEXIST);
    EXPECT_EQ(ReadFile(dst), "old");

    ASSERT_EQ(::chmod(dst.c_str(), 0444), 0);
    EXPECT_FALSE(CopyEntry(src, dst, false, true)); // protected and kept
    EXPECT_EQ(ReadFile(dst), "old");
    EXPECT_TRUE(CopyEntry(src, dst, false, false));
    EXPECT_EQ(ReadFile(dst), "new");

    // A directory in the way is never replaced by a file.
    dir.Write("out/b.txt/inside", "keep");
    EXPECT_FALSE(CopyEntry(src, dir / "out/b.txt", false, false));
    EXPECT_FALSE(MoveEntry(src, dir / "out/b.txt", false, false));
    EXPECT_EQ(ReadFile(dir / "out/b.txt/inside"), "keep");
    EXPECT_EQ(ReadFile(src), "new");

    // A directory over an existing file fails instead of "existing".
    dir.MakeDirectory("d");
    dir.Write("out/d", "file");
    EXPECT_FALSE(CopyEntry(dir / "d", dir / "out/d", false, false));
    EXPECT_TRUE(CopyEntry(dir / "d", dir / "out/e", false, false));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "out/e"));
}

TEST(EntryOperations, AStoppedCopyLeavesNoTargetAndHarmsNoOldOne) {
    TestDirectory dir;
    std::string src = dir.Write("big.bin", std::string(300000, 'x'));
    std::string old = dir.Write("out/big.bin", "previous");
    StopAfterFirstChunk stop;
    {
        ScopedCopyObserver observer(&stop);
        EXPECT_FALSE(CopyEntry(src, dir / "out/fresh.bin", false, false));
        EXPECT_EQ(LastEntryError(), ECANCELED);
        EXPECT_FALSE(CopyEntry(src, old, false, false));
    }
    EXPECT_FALSE(Exists(dir / "out/fresh.bin"));
    EXPECT_EQ(ReadFile(old), "previous");
    EXPECT_EQ(OtherEntries(dir / "out", "big.bin"), 0);
}

TEST(EntryOperations, MoveRenamesOverTheTargetAndDeleteRefusesWhatIsNotAllowed) {
    TestDirectory dir;
    std::string src = dir.Write("a.txt", "moved");
    std::string dst = dir.Write("out/a.txt", "old");
    EXPECT_FALSE(MoveEntry(src, dst, true, false));
    EXPECT_TRUE(MoveEntry(src, dst, false, false));
    EXPECT_EQ(ReadFile(dst), "moved");
    EXPECT_FALSE(Exists(src));
    EXPECT_FALSE(MoveEntry(src, dst, false, false)); // gone: nothing to move
    EXPECT_EQ(LastEntryError(), ENOENT);

    std::string hidden = dir.Write(".hidden");
    std::string readOnly = dir.Write("ro.txt");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(DeleteEntry(hidden, true, true, false));
    EXPECT_FALSE(DeleteEntry(readOnly, false, true, true));
    EXPECT_FALSE(DeleteEntry(dir / "out", true, true, true));
    EXPECT_EQ(LastEntryError(), EISDIR);
    EXPECT_TRUE(DeleteEntry(hidden, true, true, true));
    EXPECT_TRUE(DeleteEntry(readOnly, true, true, true));
    EXPECT_FALSE(Exists(hidden));
    EXPECT_FALSE(Exists(readOnly));
}

TEST(EntryOperations, MoveAcrossFileSystemsDeletesTheSourceAfterTheCopy) {
    TmpfsMount other("4m");
    if (!other.Mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    TestDirectory dir;
    std::string src = dir.Write("a.txt", "travels");
    ASSERT_EQ(::chmod(src.c_str(), 0640), 0);
    std::string dst = other.Path() + "/sub/a.txt";
    ASSERT_TRUE(MoveEntry(src, dst, false, false));
    EXPECT_FALSE(Exists(src));
    EXPECT_EQ(ReadFile(dst), "travels");
    EXPECT_EQ(Lstat(dst).st_mode & 07777, 0640u);
}

TEST(EntryOperations, CreateDirChainMakesEveryMissingLevel) {
    TestDirectory dir;
    EXPECT_TRUE(CreateDirChain(dir / "a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    EXPECT_TRUE(CreateDirChain(dir / "a/b/c/")); // all there already
    // A backslash is a name character here, not a separator.
    EXPECT_TRUE(CreateDirChain(dir / "a/x\\y"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/x\\y"));
    dir.Write("file");
    EXPECT_FALSE(CreateDirChain(dir / "file/sub"));
}
