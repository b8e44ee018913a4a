// Tree copies and moves on the trees people have: thousands of commented
// files, a second file system, kept overwrites, read-only directories and
// links in the target.
#include "../platform/TestDirectory.h"
#include "../platform/TmpfsMount.h"
#include "ScriptedOperationUi.h"
#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "fileops/FileOperationRun.h"
#include "platform/PathText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::ScriptedOperationUi;
using orvo::test::TestDirectory;
using orvo::test::TmpfsMount;

namespace {

void WriteAt(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

FileOperationResult Operate(ScriptedOperationUi& ui, std::vector<std::string> items,
                            const std::string& destination, int kind, int checkFirst = 1) {
    FileOperationRequest request;
    request.items = std::move(items);
    request.destination = destination;
    request.kind = kind;
    request.checkFirst = checkFirst;
    return RunFileOperation(request, ui);
}

// count commented files in directory, the comment file written before the
// files: a file system that lists the newest first (tmpfs) then gives the
// files before the comment file.
void WriteCommentedFiles(const std::string& directory, int count) {
    std::vector<CommentEntry> entries{{std::string(kThisDirKey), "the tree"}};
    for (int i = 0; i < count; ++i)
        entries.push_back({"file " + std::to_string(i), "comment " + std::to_string(i)});
    WriteAt(CommentFile::PathFor(directory), CommentFile::Serialize(entries));
    for (int i = 0; i < count; ++i)
        WriteAt(directory + "/file " + std::to_string(i), "x");
}

// How many of the files carry their own comment.
int CommentsArrived(const std::string& directory, int count) {
    CommentFile comments;
    comments.Load(directory);
    std::map<std::string, std::string> byName;
    for (const CommentEntry& e : comments.Entries())
        byName[e.key] = e.comment;
    comments.Close(false);
    int arrived = 0;
    for (int i = 0; i < count; ++i)
        arrived += Exists(directory + "/file " + std::to_string(i)) &&
                   byName["file " + std::to_string(i)] == "comment " + std::to_string(i);
    return arrived;
}

int FilesIn(const std::string& directory) {
    std::error_code ec;
    int n = 0;
    for (auto it = std::filesystem::directory_iterator(directory, ec);
         !ec && it != std::filesystem::directory_iterator(); ++it)
        ++n;
    return n;
}

void Skip(QTable& rows, const std::string& path) {
    for (int i = 0; i < rows.GetRecordCount(); ++i)
        if (rows.GetText("Path", i) == path)
            rows.SetValue("Execute", i, QValue(false, QVT_BOOL));
}

} // namespace

TEST(TreeTransfer, LargeTreesMovedEntryByEntryKeepEveryComment) {
    constexpr int kFiles = 5000;
    TmpfsMount source("64m");
    if (!source.Mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    TestDirectory other; // another file system than the tmpfs

    // To another file system.
    WriteCommentedFiles(source.Path() + "/big", kFiles);
    ScriptedOperationUi ui;
    EXPECT_EQ(Operate(ui, {source.Path() + "/big"}, other.Path(), OpMove).end,
              OperationEnd::Completed);
    EXPECT_FALSE(Exists(source.Path() + "/big"));
    EXPECT_EQ(CommentsArrived(other / "big", kFiles), kFiles);
    EXPECT_EQ(GetComment(other / "big"), "the tree");

    // Into an existing directory of the same name on the same file system.
    WriteCommentedFiles(source.Path() + "/src/big", kFiles);
    WriteAt(source.Path() + "/dst/big/mine.txt", "m");
    SetComment(source.Path() + "/dst/big/mine.txt", "mine");
    ScriptedOperationUi into;
    EXPECT_EQ(Operate(into, {source.Path() + "/src/big"}, source.Path() + "/dst", OpMove).end,
              OperationEnd::Completed);
    EXPECT_FALSE(Exists(source.Path() + "/src/big"));
    EXPECT_EQ(CommentsArrived(source.Path() + "/dst/big", kFiles), kFiles);
    EXPECT_EQ(GetComment(source.Path() + "/dst/big/mine.txt"), "mine");
    EXPECT_TRUE(into.questions.empty());
}

TEST(TreeTransfer, AMoveAcrossFileSystemsStoppedHalfwayLeavesEachFileOnce) {
    constexpr int kFiles = 3000;
    TmpfsMount source("32m");
    if (!source.Mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    TestDirectory other;
    WriteCommentedFiles(source.Path() + "/t", kFiles);
    ScriptedOperationUi ui;
    int calls = 0;
    ui.paused = [&] {
        if (++calls % 64 == 0 && FilesIn(other / "t") > kFiles / 3)
            ui.cancelled = true;
        return false;
    };
    EXPECT_EQ(Operate(ui, {source.Path() + "/t"}, other.Path(), OpMove).end,
              OperationEnd::Broken);
    int moved = 0;
    for (int i = 0; i < kFiles; ++i) {
        std::string name = "/file " + std::to_string(i);
        bool there = Exists(other / "t" + name), here = Exists(source.Path() + "/t" + name);
        EXPECT_NE(there, here) << name;
        moved += there;
    }
    EXPECT_GT(moved, 0);
    EXPECT_LT(moved, kFiles);
    // Both halves keep their comments.
    EXPECT_EQ(CommentsArrived(other / "t", kFiles), moved);
    EXPECT_EQ(CommentsArrived(source.Path() + "/t", kFiles), kFiles - moved);
}

TEST(TreeTransfer, ATargetKeptBySkipKeepsItsOwnComment) {
    for (int kind : {OpCopy, OpMove}) {
        TestDirectory dir;
        std::string a = dir.Write("src/d/a.txt", "new a");
        std::string b = dir.Write("src/d/b.txt", "new b");
        SetComment(a, "source a");
        SetComment(b, "source b");
        // One target directory with comments of its own, one without any.
        std::string commented = dir.Write("dst1/d/a.txt", "old a");
        SetComment(commented, "target a");
        std::string plain = dir.Write("dst2/d/a.txt", "old a");
        for (const std::string& kept : {commented, plain}) {
            std::string destination = ParentDirectoryOf(ParentDirectoryOf(kept));
            ScriptedOperationUi ui;
            ui.onProblems = [&](QTable& rows) {
                Skip(rows, kept);
                return true;
            };
            // A move takes its source again for the second target.
            if (kind == OpMove && !Exists(b)) {
                dir.Write("src/d/b.txt", "new b");
                SetComment(b, "source b");
            }
            EXPECT_EQ(Operate(ui, {dir / "src/d"}, destination, kind).end,
                      OperationEnd::Completed);
            EXPECT_EQ(ReadFile(kept), "old a");
            EXPECT_EQ(GetComment(kept), kept == commented ? "target a" : "") << kind << kept;
            EXPECT_EQ(GetComment(destination + "/d/b.txt"), "source b") << kind << kept;
            // What a move left behind keeps its comment where it is.
            EXPECT_EQ(GetComment(a), "source a") << kind << kept;
        }
    }
}

// The old file is gone, so its comment goes too, even when the new one
// brings none: a file alone, and one inside a tree merged into its copy.
TEST(TreeTransfer, AReplacedFileTakesItsSourcesCommentEvenNone) {
    for (int kind : {OpCopy, OpMove}) {
        TestDirectory dir;
        dir.Write("src/f.txt", "new f");
        dir.Write("src/d/g.txt", "new g");
        dir.Write("src/d/h.txt", "new h");
        SetComment(dir / "src/d/h.txt", "new h comment");
        std::string f = dir.Write("dst/f.txt", "old f");
        std::string g = dir.Write("dst/d/g.txt", "old g");
        std::string h = dir.Write("dst/d/h.txt", "old h");
        std::string mine = dir.Write("dst/d/mine.txt", "mine");
        SetComment(f, "describes the old f");
        SetComment(g, "describes the old g");
        SetComment(h, "describes the old h");
        SetComment(mine, "stays");
        ScriptedOperationUi ui; // Yes to every overwrite
        EXPECT_EQ(Operate(ui, {dir / "src/f.txt", dir / "src/d"}, dir / "dst", kind).end,
                  OperationEnd::Completed);
        EXPECT_EQ(ReadFile(f), "new f");
        EXPECT_EQ(ReadFile(g), "new g");
        EXPECT_EQ(GetComment(f), "") << kind;
        EXPECT_EQ(GetComment(g), "") << kind;
        EXPECT_EQ(GetComment(h), "new h comment") << kind;
        EXPECT_EQ(GetComment(mine), "stays") << kind;
    }
}

TEST(TreeTransfer, DirectoriesKeepTheirModeAndTimes) {
    TmpfsMount other("4m");
    TestDirectory dir;
    dir.Write("src/ro/inside.txt", "in");
    dir.Write("src/ro/sub/deep.txt", "deep");
    const struct timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, (dir / "src/ro/sub").c_str(), past, 0);
    ::chmod((dir / "src/ro/sub").c_str(), 0750);
    ::utimensat(AT_FDCWD, (dir / "src/ro").c_str(), past, 0);
    ::chmod((dir / "src/ro").c_str(), 0555);
    auto check = [&](const std::string& root, const char* what) {
        struct stat top {}, sub{};
        ASSERT_EQ(::lstat(root.c_str(), &top), 0) << what;
        ASSERT_EQ(::lstat((root + "/sub").c_str(), &sub), 0) << what;
        EXPECT_EQ(top.st_mode & 07777, 0555u) << what;
        EXPECT_EQ(sub.st_mode & 07777, 0750u) << what;
        EXPECT_EQ(top.st_mtim.tv_sec, 1000000000) << what;
        EXPECT_EQ(sub.st_mtim.tv_sec, 1000000000) << what;
        EXPECT_EQ(ReadFile(root + "/sub/deep.txt"), "deep") << what;
        EXPECT_EQ(ReadFile(root + "/inside.txt"), "in") << what;
    };
    ScriptedOperationUi ui;
    EXPECT_EQ(Operate(ui, {dir / "src/ro"}, dir.MakeDirectory("copy"), OpCopy).end,
              OperationEnd::Completed);
    check(dir / "copy/ro", "copy");
    if (other.Mounted()) {
        ::chmod((dir / "src/ro").c_str(), 0755); // its entries may go now
        ::utimensat(AT_FDCWD, (dir / "src/ro").c_str(), past, 0);
        EXPECT_EQ(Operate(ui, {dir / "src/ro"}, other.Path(), OpMove).end,
                  OperationEnd::Completed);
        EXPECT_FALSE(Exists(dir / "src/ro"));
        struct stat top {};
        ::lstat((other.Path() + "/ro").c_str(), &top);
        EXPECT_EQ(top.st_mtim.tv_sec, 1000000000);
        EXPECT_EQ(top.st_mode & 07777, 0755u);
    }
    ::chmod((dir / "copy/ro").c_str(), 0755);
}

TEST(TreeTransfer, NothingIsWrittenThroughALinkInTheTarget) {
    TestDirectory dir;
    std::string outside = dir.MakeDirectory("outside");
    SetComment(outside, "outside's own");
    dir.Write("src/t/x.txt", "x");
    dir.Write("src/t/sub/y.txt", "y");
    SetComment(dir / "src/t/x.txt", "ex");
    std::string dst = dir.MakeDirectory("dst");
    ASSERT_EQ(::symlink(outside.c_str(), (dst + "/t").c_str()), 0);
    auto outsideUntouched = [&](const char* what) {
        EXPECT_EQ(FilesIn(outside), 1) << what; // its comment file only
        EXPECT_EQ(GetComment(outside), "outside's own") << what;
    };

    // The tree's own target is a link: a problem; Skip leaves all alone.
    for (int kind : {OpCopy, OpMove}) {
        ScriptedOperationUi skip;
        skip.onProblems = [&](QTable& rows) {
            Skip(rows, dst + "/t");
            return true;
        };
        EXPECT_EQ(Operate(skip, {dir / "src/t"}, dst, kind).end, OperationEnd::Completed);
        EXPECT_EQ(skip.problemRows, std::vector<std::string>{dst + "/t"});
        outsideUntouched("skipped");
        EXPECT_TRUE(std::filesystem::is_symlink(dst + "/t"));
        EXPECT_EQ(ReadFile(dir / "src/t/sub/y.txt"), "y");
    }
    // Without the check the link is no directory to go into.
    ScriptedOperationUi unchecked;
    unchecked.errors = {ErrorAnswer::Ignore};
    EXPECT_EQ(Operate(unchecked, {dir / "src/t"}, dst, OpMove, 0).end, OperationEnd::Completed);
    EXPECT_EQ(unchecked.questions.size(), 1u);
    outsideUntouched("unchecked");
    EXPECT_EQ(ReadFile(dir / "src/t/x.txt"), "x");

    // Deeper: a target directory that is a link is listed too.
    ASSERT_EQ(::unlink((dst + "/t").c_str()), 0);
    dir.Write("dst/t/x.txt", "old x");
    ASSERT_EQ(::symlink(outside.c_str(), (dst + "/t/sub").c_str()), 0);
    ScriptedOperationUi deep;
    deep.onProblems = [&](QTable& rows) {
        Skip(rows, dst + "/t/sub");
        return true;
    };
    EXPECT_EQ(Operate(deep, {dir / "src/t"}, dst, OpCopy).end, OperationEnd::Completed);
    std::vector<std::string> rows = deep.problemRows;
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{dst + "/t/sub", dst + "/t/x.txt"}));
    outsideUntouched("deep");
    EXPECT_EQ(ReadFile(dst + "/t/x.txt"), "x");

    // Swapped in after the planning: the move fails there and leaves that
    // part of the source where it is.
    ASSERT_EQ(::unlink((dst + "/t/sub").c_str()), 0);
    dir.MakeDirectory("dst/t/sub");
    ScriptedOperationUi swapped;
    swapped.onProblems = [&](QTable&) {
        std::filesystem::remove(dst + "/t/sub");
        std::filesystem::create_directory_symlink(outside, dst + "/t/sub");
        return true;
    };
    swapped.errors = {ErrorAnswer::Ignore};
    EXPECT_EQ(Operate(swapped, {dir / "src/t"}, dst, OpMove).end, OperationEnd::Completed);
    EXPECT_EQ(swapped.questions.size(), 1u);
    outsideUntouched("swapped");
    EXPECT_EQ(ReadFile(dir / "src/t/sub/y.txt"), "y");
    EXPECT_FALSE(Exists(dir / "src/t/x.txt"));

    // Yes to the row: the link is replaced by a real directory.
    ScriptedOperationUi replace;
    EXPECT_EQ(Operate(replace, {dir / "src/t/sub"}, dst + "/t", OpCopy).end,
              OperationEnd::Completed);
    EXPECT_EQ(replace.problemRows, std::vector<std::string>{dst + "/t/sub"});
    EXPECT_FALSE(std::filesystem::is_symlink(dst + "/t/sub"));
    EXPECT_EQ(ReadFile(dst + "/t/sub/y.txt"), "y");
    outsideUntouched("replaced");
}

