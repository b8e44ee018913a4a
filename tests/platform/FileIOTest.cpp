#include "platform/FileIO.h"
#include "platform/SaveTarget.h"

#include "TestDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvo {
namespace {

std::vector<std::string> NamesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(directory))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A writer killed half-way through its bytes (here by the file-size limit's
// signal, which ends the process at a known moment) must leave the old file
// whole and no half-written file anywhere a user sees it.
TEST(WriteFileAtomically, AWriterKilledHalfWayLeavesTheOldFileAndNothingElse) {
    test::TestDirectory dir;
    std::string path = dir.Write("notes.bin", "old contents");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit none{0, 0};
        ::setrlimit(RLIMIT_CORE, &none);
        struct rlimit small{64 << 10, 64 << 10};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::signal(SIGXFSZ, SIG_DFL);
        WriteFileAtomically(path, std::string(1 << 20, 'x'), false);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer was meant to be stopped by the size limit";
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"notes.bin"});
    EXPECT_EQ(ReadWholeFile(path), "old contents");

    // And a writer left alone replaces it, keeping its mode.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    WriteFileAtomically(path, "new contents", true);
    EXPECT_EQ(ReadWholeFile(path), "new contents");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"notes.bin"});
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// Saving through links: the link stays and the file it names gets the
// bytes, however the link is written (relative, chained, dangling).
TEST(WriteFileAtomically, WritesTheFileALinkNamesAndKeepsTheLink) {
    namespace fs = std::filesystem;
    test::TestDirectory dir;
    std::string real = dir.Write("real/notes.txt", "old");
    fs::create_symlink("real/notes.txt", dir / "relative");
    fs::create_symlink(dir / "relative", dir / "chained");

    WriteFileAtomically(dir / "chained", "through two links", false);
    EXPECT_TRUE(fs::is_symlink(dir / "chained"));
    EXPECT_TRUE(fs::is_symlink(dir / "relative"));
    EXPECT_EQ(ReadWholeFile(real), "through two links");
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"chained", "real", "relative"}));
    EXPECT_EQ(NamesIn(dir / "real"), std::vector<std::string>{"notes.txt"});

    // A dangling link names the file the save creates.
    fs::create_symlink("real/later.txt", dir / "dangling");
    WriteFileAtomically(dir / "dangling", "made", false);
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(ReadWholeFile(dir / "real/later.txt"), "made");

    // One pointing into a missing directory fails cleanly and leaves the link.
    fs::create_symlink("nowhere/x.txt", dir / "lost");
    EXPECT_THROW(WriteFileAtomically(dir / "lost", "x", false), FileError);
    EXPECT_TRUE(fs::is_symlink(dir / "lost"));
}

TEST(WriteFileAtomically, NeverReplacesADirectoryOrALoopAndAsksForReadOnlyFiles) {
    namespace fs = std::filesystem;
    test::TestDirectory dir;
    dir.MakeDirectory("folder");
    dir.Write("folder/inside.txt", "kept");
    fs::create_symlink("folder", dir / "to-folder");
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    for (const char* name : {"folder", "to-folder", "loop-a"})
        EXPECT_THROW(WriteFileAtomically(dir / name, "x", false), FileError) << name;
    EXPECT_TRUE(fs::is_symlink(dir / "to-folder"));
    EXPECT_TRUE(fs::is_symlink(dir / "loop-a"));
    EXPECT_EQ(ReadWholeFile(dir / "folder/inside.txt"), "kept");
    EXPECT_EQ(ResolveSaveTarget(dir / "to-folder").state, SaveTarget::State::NotAFile);
    EXPECT_EQ(ResolveSaveTarget(dir / "loop-a").state, SaveTarget::State::Unreachable);

    std::string locked = dir.Write("locked.txt", "old");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    fs::create_symlink("locked.txt", dir / "to-locked");
    const SaveTarget seen = ResolveSaveTarget(dir / "to-locked");
    EXPECT_EQ(seen.state, SaveTarget::State::ReadOnly);
    EXPECT_TRUE(seen.throughLink);
    EXPECT_THROW(WriteFileAtomically(dir / "to-locked", "new", false), FileError);
    EXPECT_EQ(ReadWholeFile(locked), "old");

    WriteFileAtomically(dir / "to-locked", "new", false, ReadOnlyFiles::Replace);
    EXPECT_EQ(ReadWholeFile(locked), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "to-locked"));
    EXPECT_EQ(fs::status(locked).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read);
}

} // namespace
} // namespace orvo
