#include "platform/FileIO.h"

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

} // namespace
} // namespace orvo
