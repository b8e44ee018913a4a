#include "platform/ProcessLauncher.h"

#include "TestDirectory.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace {

// The started program is detached, so the test waits for what it writes.
std::string WaitForFile(const std::string& path, const std::string& endMarker) {
    for (int i = 0; i < 500; ++i) {
        std::string text = ReadFile(path);
        if (text.size() >= endMarker.size() &&
            text.compare(text.size() - endMarker.size(), endMarker.size(), endMarker) == 0)
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ReadFile(path);
}

} // namespace

TEST(ProcessLauncher, ArgumentsArriveUntouchedInTheWorkingDirectory) {
    TestDirectory dir;
    std::string work = dir.MakeDirectory("work dir");
    std::string out = dir / "out";
    // Text that a shell would split, expand or run if it were spliced in.
    std::string tricky = "a b; touch pwned $(id) `id` 'q' \"dq\" *";
    std::string error;
    ASSERT_TRUE(
        StartProgram({"sh", "-c", "pwd > \"$1\"; printf '%s|' \"$2\" >> \"$1\"; echo END >> \"$1\"",
                      "sh", out, tricky},
                     work, &error))
        << error;
    EXPECT_EQ(WaitForFile(out, "END\n"), work + "\n" + tricky + "|END\n");
    struct stat st {};
    EXPECT_NE(::stat((work + "/pwned").c_str(), &st), 0);
}

TEST(ProcessLauncher, FailuresComeBackAsMessages) {
    TestDirectory dir;
    std::string error;
    EXPECT_FALSE(StartProgram({"orvo-no-such-program"}, "", &error));
    EXPECT_NE(error.find("orvo-no-such-program"), std::string::npos);

    EXPECT_FALSE(StartProgram({"sh", "-c", "true"}, dir / "missing", &error));
    EXPECT_NE(error.find("Cannot enter the directory"), std::string::npos) << error;

    EXPECT_FALSE(StartProgram({}, "", &error));
}
