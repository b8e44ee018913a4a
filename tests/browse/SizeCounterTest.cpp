#include "browse/SizeCounter.h"

#include "../platform/TestDirectory.h"
#include "../platform/TmpfsMount.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;
using orvo::test::TmpfsMount;

namespace {

struct Recorded {
    int row;
    std::string text;
    uint32_t kilobytes;
};

// Records what a count reports; hooks let a test press Escape or close the
// window in the middle of a walk.
class RecordingSink : public SizeCountSink {
public:
    std::vector<Recorded> progress, counted;
    std::vector<uint64_t> totals;
    uint64_t finalTotal = 0;
    bool finished = false, cancelled = false;
    std::function<void(int row)> onProgress;

    void RowProgress(int row, const std::string&, const std::string& text) override {
        progress.push_back({row, text, 0});
        if (onProgress)
            onProgress(row);
    }
    void RowCounted(int row, const std::string&, const std::string& text, uint32_t kb) override {
        counted.push_back({row, text, kb});
    }
    void TotalChanged(uint64_t total) override { totals.push_back(total); }
    void Finished(uint64_t total, bool wasCancelled) override {
        finished = true;
        finalTotal = total;
        cancelled = wasCancelled;
    }
};

void ManyFiles(const TestDirectory& dir, const std::string& sub, int count) {
    for (int i = 0; i < count; ++i)
        dir.Write(sub + "/f" + std::to_string(i), "ab");
}

const auto kTerabyte = [](const std::string&) { return uint64_t{1} << 40; };

} // namespace

TEST(SizeCountTexts, FormatsAndPercentages) {
    SizeCountFigures none;
    EXPECT_EQ(SizeCountFinalText(none, 0, false),
              "0     (0 dirs, 0 files, 0% of total disk space)");
    SizeCountFigures some{1234567, 3, 12};
    EXPECT_EQ(SizeCountProgressText(some, 4),
              "*1 234 567 (3 dirs, 12 files, 4% of total disk space)");
    EXPECT_EQ(SizeCountFinalText(some, 4, true),
              "User stopped.1 234 567     (3 dirs, 12 files, 4% of total disk space)");

    EXPECT_EQ(SizeCountPercentage(1000, 0), 0);    // q = 1000
    EXPECT_EQ(SizeCountPercentage(1000, 9), 1);    // q = 100
    EXPECT_EQ(SizeCountPercentage(1000, 299), 33); // q = 3
    EXPECT_EQ(SizeCountPercentage(1000, 999), 100);
    EXPECT_EQ(SizeCountPercentage(1000, 5000), 100); // larger than the drive: no division by 0
    EXPECT_EQ(SizeCountPercentage(0, 5000), 0);      // drive size unknown
    EXPECT_EQ(SizeCountPercentage(1000, UINT64_MAX), 100);
}

TEST(CountDirectories, CountsEachDirectoryWithoutFollowingLinks) {
    TestDirectory dir;
    dir.MakeDirectory("empty");
    dir.Write("tree/a.bin", std::string(3000, 'x'));
    dir.Write("tree/sub/b.bin", std::string(1000, 'y'));
    dir.MakeDirectory("tree/sub/deeper");
    dir.Write("outside/big.bin", std::string(50000, 'z'));
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "tree/link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "dirlink").c_str()), 0);
    dir.Write("top.txt", "12345");

    std::vector<SizeCountRow> rows = {{1, dir / "empty"},
                                      {2, dir / "tree"},
                                      {3, dir / "top.txt"},
                                      {4, dir / "dirlink"},
                                      {5, dir / "vanished"}};
    SizeCountControl control;
    RecordingSink sink;
    CountDirectories(rows, control, sink, kTerabyte);

    ASSERT_EQ(sink.counted.size(), 2u); // the file, the link and the vanished row get no text
    EXPECT_EQ(sink.counted[0].row, 1);
    EXPECT_EQ(sink.counted[0].text, "0     (0 dirs, 0 files, 0% of total disk space)");
    EXPECT_EQ(sink.counted[0].kilobytes, 0u);
    // The link inside the tree is a file of its own length, never the 50 000 bytes behind it.
    const uint64_t linkLength = (dir / "outside").size();
    EXPECT_EQ(sink.counted[1].row, 2);
    EXPECT_EQ(sink.counted[1].text, std::to_string(4000 + linkLength).insert(1, " ") +
                                        "     (2 dirs, 3 files, 0% of total disk space)");
    EXPECT_EQ(sink.counted[1].kilobytes, (4000 + linkLength) / 1024);
    EXPECT_TRUE(sink.finished);
    EXPECT_FALSE(sink.cancelled);
    EXPECT_EQ(sink.finalTotal, 4000 + linkLength + 5 + linkLength);
}

TEST(CountDirectories, EscapeStopsOnlyTheCurrentDirectory) {
    TestDirectory dir;
    ManyFiles(dir, "big", 1200);
    ManyFiles(dir, "next", 3);
    SizeCountControl control;
    RecordingSink sink;
    sink.onProgress = [&](int row) {
        if (row == 1)
            control.stopCurrent = true;
    };
    CountDirectories({{1, dir / "big"}, {2, dir / "next"}}, control, sink, kTerabyte, 0);

    ASSERT_EQ(sink.counted.size(), 2u);
    EXPECT_EQ(sink.counted[0].text.rfind("User stopped.", 0), 0u) << sink.counted[0].text;
    EXPECT_EQ(sink.counted[0].text.find("1200 files"), std::string::npos);
    EXPECT_EQ(sink.counted[1].text, "6     (0 dirs, 3 files, 0% of total disk space)");
    EXPECT_FALSE(control.stopCurrent);
    ASSERT_FALSE(sink.progress.empty());
    EXPECT_EQ(sink.progress.front().text.front(), '*');
}

TEST(CountDirectories, CancelEndsTheWholeCount) {
    TestDirectory dir;
    ManyFiles(dir, "big", 1200);
    ManyFiles(dir, "next", 3);
    SizeCountControl control;
    RecordingSink sink;
    sink.onProgress = [&](int) { control.cancel = true; };
    CountDirectories({{1, dir / "big"}, {2, dir / "next"}}, control, sink, kTerabyte, 0);
    EXPECT_TRUE(sink.counted.empty());
    EXPECT_TRUE(sink.finished);
    EXPECT_TRUE(sink.cancelled);
}

// A tmpfs mounted inside a counted tree and one shown as a row of the
// listing: neither is walked, and the texts say why the figures stop there.
TEST(CountDirectories, StaysOnTheFileSystemOfTheCountedDirectory) {
    TestDirectory dir;
    dir.Write("tree/a.bin", std::string(3000, 'x'));
    TmpfsMount inner("1m", dir.MakeDirectory("tree/mnt"));
    TmpfsMount row("1m", dir.MakeDirectory("mounted"));
    if (!inner.Mounted() || !row.Mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    dir.Write("tree/mnt/hidden.bin", std::string(5000, 'y'));
    dir.Write("tree/mnt/sub/more.bin", "z");
    dir.Write("mounted/b.bin", std::string(700, 'w'));

    const std::vector<SizeCountRow> rows = {{1, dir / "tree"}, {2, dir / "mounted"}};
    SizeCountControl control;
    RecordingSink sink;
    CountDirectories(rows, control, sink, kTerabyte, 40, dir.Path());
    ASSERT_EQ(sink.counted.size(), 2u);
    EXPECT_EQ(sink.counted[0].text, "3 000     (0 dirs, 1 files, 0% of total disk space)"
                                    " Skipped 1 directory on another file system.");
    EXPECT_EQ(sink.counted[1].text, kOtherFileSystemText);
    EXPECT_EQ(sink.counted[1].kilobytes, 0u);
    EXPECT_EQ(sink.finalTotal, 3000u);

    // Counting the mounted row itself (a directory the user picked) walks
    // its own file system.
    RecordingSink picked;
    CountDirectories({{2, dir / "mounted"}}, control, picked, kTerabyte);
    ASSERT_EQ(picked.counted.size(), 1u);
    EXPECT_EQ(picked.counted[0].text, "700     (0 dirs, 1 files, 0% of total disk space)");
}
