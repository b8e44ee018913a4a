// Whole operations through a scripted person, in temporary trees.
#include "../platform/TestDirectory.h"
#include "../platform/TmpfsMount.h"
#include "ScriptedOperationUi.h"
#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "fileops/FileOperationRun.h"
#include "fileops/RegisteredOperations.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::ScriptedOperationUi;
using orvo::test::SteppingClock;
using orvo::test::TestDirectory;
using orvo::test::TmpfsMount;

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_ino;
}

FileOperationResult Operate(ScriptedOperationUi& ui, std::vector<std::string> items,
                            const std::string& destination, int kind, int checkFirst = 1,
                            const FileOperationClock& clock = FileOperationClock::System()) {
    FileOperationRequest request;
    request.items = std::move(items);
    request.destination = destination;
    request.kind = kind;
    request.checkFirst = checkFirst;
    return RunFileOperation(request, ui, clock);
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST(FileOperation, PathChecksStopWithTheirMessages) {
    TestDirectory dir;
    std::string first = dir.Write("src/first.txt", "1");
    std::string tree = dir.MakeDirectory("src/tree");
    dir.Write("src/tree/inner/x.txt");
    std::string dst = dir.MakeDirectory("dst");

    ScriptedOperationUi ui;
    FileOperationResult r = Operate(ui, {first, tree, dst + "/"}, dst, OpCopy);
    EXPECT_EQ(r.end, OperationEnd::Stopped);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Can't copy a directory to itself. Stopping."});
    EXPECT_TRUE(Exists(dst + "/first.txt")); // items before the stop are done
    EXPECT_TRUE(Exists(dst + "/tree/inner/x.txt"));

    ScriptedOperationUi same;
    EXPECT_EQ(Operate(same, {first}, dir / "src", OpMove).end, OperationEnd::Stopped);
    EXPECT_EQ(same.messages,
              std::vector<std::string>{
                  "Destination directory is the same as source directory. Stopping."});
    EXPECT_TRUE(Exists(first));
    EXPECT_EQ(same.problemsAsked, 0); // a file is no problem to itself

    ScriptedOperationUi nowhere;
    EXPECT_EQ(Operate(nowhere, {first}, dir / "missing", OpCopy).end, OperationEnd::Stopped);
    EXPECT_EQ(nowhere.messages,
              std::vector<std::string>{"The destination is not a directory. Stopping."});
    EXPECT_FALSE(Exists(dir / "missing"));

    // Into its own tree: the walk would copy what it had just made.
    ScriptedOperationUi inside;
    EXPECT_EQ(Operate(inside, {tree}, tree + "/inner", OpCopy).end, OperationEnd::Stopped);
    EXPECT_EQ(inside.messages.at(0), "Can't copy a directory to itself. Stopping.");
    EXPECT_FALSE(Exists(tree + "/inner/tree"));
}

TEST(FileOperation, OverwritesAreListedAndSkippedRowsLeftAlone) {
    TestDirectory dir;
    dir.Write("src/d/a.txt", "new a");
    dir.Write("src/d/sub/b.txt", "new b");
    dir.Write("src/d/c.txt", "new c");
    std::string item = dir / "src/d";
    SetComment(item + "/a.txt", "comment");
    std::string odd = dir.Write("src/dir_info.orb", "");
    std::string dst = dir.MakeDirectory("dst");
    dir.Write("dst/d/a.txt", "old a");
    dir.Write("dst/d/sub/b.txt", "old b");
    dir.Write("dst/d/dir_info.orb", "");
    dir.Write("dst/dir_info.orb", "");

    ScriptedOperationUi ui;
    ui.onProblems = [&](QTable& rows) {
        for (int i = 0; i < rows.GetRecordCount(); ++i)
            if (rows.GetText("Path", i) == dst + "/d/sub/b.txt")
                rows.SetValue("Execute", i, QValue(false, QVT_BOOL));
        return true;
    };
    FileOperationResult r = Operate(ui, {item, odd}, dst, OpCopy);
    EXPECT_EQ(r.end, OperationEnd::Completed);
    EXPECT_EQ(ui.problemsDescription, "These files are to be overwritten during copy operation.\r\n"
                                      "Are you sure you want to overwrite them ?");
    // Targets by their own paths; a tree's comment files are no problem, a
    // comment file given as an item is.
    EXPECT_EQ(Sorted(ui.problemRows),
              Sorted({dst + "/d/a.txt", dst + "/d/sub/b.txt", dst + "/dir_info.orb"}));
    EXPECT_EQ(ReadFile(dst + "/d/a.txt"), "new a");
    EXPECT_EQ(ReadFile(dst + "/d/sub/b.txt"), "old b");
    EXPECT_EQ(ReadFile(dst + "/d/c.txt"), "new c");
    EXPECT_EQ(GetComment(dst + "/d/a.txt"), "comment");
    EXPECT_TRUE(ui.questions.empty());

    // Cancel in the list: nothing is touched.
    dir.Write("src/d/a.txt", "newer a");
    ScriptedOperationUi cancel;
    cancel.onProblems = [](QTable&) { return false; };
    EXPECT_EQ(Operate(cancel, {item}, dst, OpMove).end, OperationEnd::Cancelled);
    EXPECT_EQ(ReadFile(dst + "/d/a.txt"), "new a");
    EXPECT_TRUE(Exists(item + "/a.txt"));
    EXPECT_TRUE(cancel.messages.empty());
}

TEST(FileOperation, DeletingHiddenAndSpecialFilesAsksByTheirOwnPaths) {
    TestDirectory dir;
    std::string tree = dir.MakeDirectory("t");
    std::string hidden = dir.Write("t/keep/.profile");
    std::string readOnly = dir.Write("t/sub/ro.txt");
    ::chmod(readOnly.c_str(), 0444);
    std::string fifo = dir / "t/sub/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string single = dir.Write(".single");
    std::string gone = dir.Write("t/keep/gone.txt");
    SetComment(hidden, "stays with the file");
    SetComment(gone, "goes with the file");

    ScriptedOperationUi ui;
    ui.onProblems = [&](QTable& rows) {
        for (int i = 0; i < rows.GetRecordCount(); ++i)
            rows.SetValue("Execute", i, QValue(rows.GetText("Path", i) != hidden, QVT_BOOL));
        return true;
    };
    FileOperationResult r = Operate(ui, {tree, single}, "", OpDelete);
    EXPECT_EQ(Sorted(ui.problemRows), Sorted({hidden, fifo, single}));
    EXPECT_EQ(r.end, OperationEnd::Completed);
    EXPECT_TRUE(Exists(hidden)); // skipped, so its directories stay, without a question
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_FALSE(Exists(readOnly));
    EXPECT_FALSE(Exists(fifo));
    EXPECT_FALSE(Exists(single));
    EXPECT_FALSE(Exists(dir / "t/sub"));
    EXPECT_FALSE(Exists(gone));
    // The directory that stays keeps the comments of what is still in it.
    CommentFile left;
    left.Load(tree + "/keep");
    EXPECT_EQ(left.Entries(), (std::vector<CommentEntry>{{".profile", "stays with the file"}}));
    left.Close(false);
}

// A dot-directory's contents are as hidden as the directory: "Skip all"
// keeps a repository's .git/ whole, its empty directories included, and
// deleting a dot-directory itself asks about what it holds.
TEST(FileOperation, SkipAllKeepsDotDirectoriesWhole) {
    TestDirectory dir;
    std::string tree = dir.MakeDirectory("project");
    std::string ignore = dir.Write("project/.gitignore", "build/");
    std::string config = dir.Write("project/.git/config", "[core]");
    std::string heads = dir.MakeDirectory("project/.git/refs/heads");
    std::string source = dir.Write("project/src/main.c", "int main;");
    std::string cache = dir.Write(".cache/x/y.bin", "y");

    ScriptedOperationUi skipAll;
    skipAll.onProblems = [](QTable& rows) {
        SetAllExecute(rows, false);
        return true;
    };
    FileOperationResult r = Operate(skipAll, {tree, dir / ".cache"}, "", OpDelete);
    EXPECT_EQ(r.end, OperationEnd::Completed);
    EXPECT_EQ(Sorted(skipAll.problemRows),
              Sorted({ignore, tree + "/.git", config, tree + "/.git/refs", heads, dir / ".cache/x",
                      cache}));
    EXPECT_TRUE(Exists(ignore));
    EXPECT_TRUE(Exists(config));
    EXPECT_TRUE(Exists(heads));
    EXPECT_TRUE(Exists(cache));
    EXPECT_FALSE(Exists(source));
    EXPECT_FALSE(Exists(tree + "/src"));
    EXPECT_TRUE(skipAll.questions.empty());

    ScriptedOperationUi yesToAll;
    yesToAll.onProblems = [](QTable& rows) {
        SetAllExecute(rows, true);
        return true;
    };
    EXPECT_EQ(Operate(yesToAll, {tree}, "", OpDelete).end, OperationEnd::Completed);
    EXPECT_FALSE(Exists(tree));
    EXPECT_TRUE(yesToAll.questions.empty());
}

TEST(FileOperation, WithoutTheCheckNothingIsCountedOrAsked) {
    TestDirectory dir;
    std::string tree = dir.Write("tmp1/x/.hidden", "data");
    ScriptedOperationUi ui;
    FileOperationResult r = Operate(ui, {dir / "tmp1"}, "", OpDelete, 0);
    EXPECT_EQ(r.end, OperationEnd::Completed);
    EXPECT_EQ(ui.problemsAsked, 0);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_FALSE(Exists(dir / "tmp1"));
    ASSERT_FALSE(ui.figures.empty());
    EXPECT_EQ(ui.figures.back().total, 0u);
    EXPECT_EQ(ui.figures.back().barMaximum, 0u);
    EXPECT_EQ(ui.figures.back().timeCaption, "Time, calculating");
    EXPECT_EQ(r.refreshDirectories, std::vector<std::string>{dir.Path()});
}

TEST(FileOperation, MovesRenameInOneStepWhenTheNameIsFree) {
    TestDirectory dir;
    dir.Write("src/d/a.txt", "a");
    dir.Write("src/d/sub/b.txt", "b");
    std::string item = dir / "src/d";
    SetComment(item, "the tree");
    ino_t inode = InodeOf(item + "/a.txt");
    std::string dst = dir.MakeDirectory("dst");

    ScriptedOperationUi ui;
    FileOperationResult r = Operate(ui, {item}, dst, OpMove);
    EXPECT_EQ(r.end, OperationEnd::Completed);
    EXPECT_FALSE(Exists(item));
    EXPECT_EQ(InodeOf(dst + "/d/a.txt"), inode);
    EXPECT_EQ(GetComment(dst + "/d"), "the tree");
    EXPECT_EQ(ui.figures.back().total, 0u); // nothing walked or counted
    EXPECT_EQ(Sorted(r.refreshDirectories), Sorted({dst, dir / "src"}));

    // The name is taken: entry by entry, overwriting, skipped rows stay
    // behind with their directories, emptied ones go.
    dir.Write("src/d/a.txt", "a2");
    dir.Write("src/d/sub/b.txt", "b2");
    dir.Write("src/d/keep/k.txt", "k2");
    dir.Write("dst/d/keep/k.txt", "k");
    SetComment(item + "/a.txt", "moving a");
    SetComment(item + "/keep", "kept dir");
    ScriptedOperationUi second;
    second.onProblems = [&](QTable& rows) {
        for (int i = 0; i < rows.GetRecordCount(); ++i)
            if (rows.GetText("Path", i) == dst + "/d/keep/k.txt")
                rows.SetValue("Execute", i, QValue(false, QVT_BOOL));
        return true;
    };
    r = Operate(second, {item}, dst, OpMove);
    EXPECT_EQ(r.end, OperationEnd::Completed);
    EXPECT_EQ(Sorted(second.problemRows),
              Sorted({dst + "/d/a.txt", dst + "/d/sub/b.txt", dst + "/d/keep/k.txt"}));
    EXPECT_EQ(ReadFile(dst + "/d/a.txt"), "a2");
    EXPECT_EQ(ReadFile(dst + "/d/sub/b.txt"), "b2");
    EXPECT_EQ(ReadFile(dst + "/d/keep/k.txt"), "k");
    EXPECT_EQ(ReadFile(item + "/keep/k.txt"), "k2");
    EXPECT_FALSE(Exists(item + "/sub"));
    EXPECT_FALSE(Exists(item + "/a.txt"));
    EXPECT_TRUE(second.questions.empty()); // what was skipped is no failure
    // Comments went with the entries, and the directory's own comment was
    // kept in the target (it was already there).
    EXPECT_EQ(GetComment(dst + "/d/a.txt"), "moving a");
    EXPECT_EQ(GetComment(dst + "/d"), "the tree");
    EXPECT_EQ(GetComment(dst + "/d/keep"), "kept dir");
    EXPECT_EQ(GetComment(item + "/keep"), "kept dir");
    EXPECT_EQ(GetComment(item + "/a.txt"), "");
}

TEST(FileOperation, RetryAfterAFailureAndAbortBreaksTheRun) {
    TestDirectory dir;
    std::string a = dir.Write("src/a.txt", "a");
    std::string b = dir.Write("src/b.txt", "b");
    std::string dst = dir.MakeDirectory("dst");
    dir.Write("dst/a.txt/blocker", "a directory where the file should go");

    ScriptedOperationUi ui;
    ui.onProblems = [](QTable&) { return true; };
    ui.onError = [&](const std::string&) {
        std::filesystem::remove_all(dst + "/a.txt");
        return ErrorAnswer::Retry;
    };
    FileOperationResult r = Operate(ui, {a, b}, dst, OpCopy);
    EXPECT_EQ(r.end, OperationEnd::Completed);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "I couldn't copy " + a + " !\n\n\nContinue ?");
    EXPECT_EQ(ReadFile(dst + "/a.txt"), "a");
    EXPECT_EQ(ReadFile(dst + "/b.txt"), "b");

    // Inside a tree the question names both ends; Abort stops everything.
    dir.Write("src/t/x.txt", "x");
    dir.Write("dst/t/x.txt/blocker");
    ScriptedOperationUi abort;
    r = Operate(abort, {dir / "src/t", a}, dir / "dst", OpMove);
    EXPECT_EQ(r.end, OperationEnd::Broken);
    ASSERT_EQ(abort.questions.size(), 1u);
    EXPECT_EQ(abort.questions[0], "I couldn't move " + dir / "src/t/x.txt" +
                                      "\n\n\n     to      \n\n\n" + dir / "dst/t/x.txt" +
                                      " !\n\n\nContinue ?");
    EXPECT_EQ(abort.messages, std::vector<std::string>{"User has broken the operation."});
    EXPECT_TRUE(Exists(a)); // the next item was not started
    EXPECT_TRUE(Exists(dir / "src/t/x.txt"));
}

TEST(FileOperation, CancelStopsBetweenEntriesAndPauseHoldsTheRun) {
    TestDirectory dir;
    std::vector<std::string> items;
    for (int i = 0; i < 5; ++i)
        items.push_back(dir.Write("src/f" + std::to_string(i), "x"));
    std::string dst = dir.MakeDirectory("dst");

    // Paused once two files are done: nothing moves, not even the figures,
    // until it is released.
    ScriptedOperationUi ui;
    int pausedChecks = 0;
    size_t figuresAtPause = 0;
    bool advanced = false;
    ui.paused = [&] {
        if (!Exists(dst + "/f1") || pausedChecks >= 3)
            return false;
        if (pausedChecks++ == 0)
            figuresAtPause = ui.figures.size();
        advanced = advanced || Exists(dst + "/f2") || ui.figures.size() != figuresAtPause;
        return true;
    };
    EXPECT_EQ(Operate(ui, items, dst, OpCopy).end, OperationEnd::Completed);
    EXPECT_EQ(pausedChecks, 3);
    EXPECT_FALSE(advanced);
    EXPECT_TRUE(Exists(dst + "/f4"));

    // Cancelled while paused: the run ends as broken, with its message.
    ScriptedOperationUi stop;
    stop.paused = [&] {
        if (Exists(dir / "dst2/f1"))
            stop.cancelled = true;
        return Exists(dir / "dst2/f1");
    };
    FileOperationResult r = Operate(stop, items, dir.MakeDirectory("dst2"), OpCopy);
    EXPECT_EQ(r.end, OperationEnd::Broken);
    EXPECT_EQ(stop.messages, std::vector<std::string>{"User has broken the operation."});
    EXPECT_FALSE(Exists(dir / "dst2/f3"));
}

TEST(FileOperation, CommentsFollowCopiesMovesAndDeletes) {
    TestDirectory dir;
    std::string a = dir.Write("src/a.txt", "a");
    std::string b = dir.Write("src/b.txt", "b");
    SetComment(a, "about a");
    SetComment(b, "about b");
    std::string dst = dir.MakeDirectory("dst");
    dir.Write("dst/other.txt");
    SetComment(dst + "/other.txt", "stays");

    ScriptedOperationUi ui;
    Operate(ui, {a}, dst, OpCopy);
    EXPECT_EQ(GetComment(dst + "/a.txt"), "about a");
    EXPECT_EQ(GetComment(a), "about a");
    Operate(ui, {b}, dst, OpMove);
    EXPECT_EQ(GetComment(dst + "/b.txt"), "about b");
    CommentFile source;
    source.Load(dir / "src");
    EXPECT_EQ(source.Entries(), (std::vector<CommentEntry>{{"a.txt", "about a"}}));
    source.Close(false);
    Operate(ui, {dst + "/a.txt"}, "", OpDelete);
    EXPECT_EQ(GetComment(dst + "/b.txt"), "about b");
    EXPECT_EQ(GetComment(dst + "/other.txt"), "stays");
    CommentFile target;
    target.Load(dst);
    EXPECT_EQ(target.Entries().size(), 2u); // a.txt's entry is gone
    target.Close(false);

    // A tree: every directory's own comment travels in its comment file,
    // and the comments already in the target's files stay.
    dir.Write("src/t/x.txt");
    dir.Write("src/t/sub/y.txt");
    SetComment(dir / "src/t", "top");
    SetComment(dir / "src/t/sub", "below");
    SetComment(dir / "src/t/x.txt", "ex");
    dir.Write("dst/t/mine.txt");
    SetComment(dst + "/t/mine.txt", "mine");
    EXPECT_EQ(Operate(ui, {dir / "src/t"}, dst, OpCopy).end, OperationEnd::Completed);
    EXPECT_EQ(GetComment(dst + "/t"), "top");
    EXPECT_EQ(GetComment(dst + "/t/sub"), "below");
    EXPECT_EQ(GetComment(dst + "/t/x.txt"), "ex");
    EXPECT_EQ(GetComment(dst + "/t/mine.txt"), "mine");
    EXPECT_EQ(GetComment(dir / "src/t/sub"), "below");
}

TEST(FileOperation, ATreeMovedToAnotherFileSystemKeepsItsComments) {
    TmpfsMount other("4m");
    if (!other.Mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    TestDirectory dir;
    dir.Write("t/x.txt", "x");
    dir.Write("t/sub/y.txt", "y");
    SetComment(dir / "t", "top");
    SetComment(dir / "t/sub", "below");
    SetComment(dir / "t/sub/y.txt", "why");
    ScriptedOperationUi ui;
    EXPECT_EQ(Operate(ui, {dir / "t"}, other.Path(), OpMove).end, OperationEnd::Completed);
    EXPECT_FALSE(Exists(dir / "t"));
    EXPECT_EQ(GetComment(other.Path() + "/t"), "top");
    EXPECT_EQ(GetComment(other.Path() + "/t/sub"), "below");
    EXPECT_EQ(GetComment(other.Path() + "/t/sub/y.txt"), "why");
    EXPECT_TRUE(ui.questions.empty());
}

TEST(FileOperation, RegisteredPathsAreKeptOnceAndTrimmed) {
    ClearRegisteredOperationPaths();
    TestDirectory dir;
    std::string a = dir.Write("src/a.txt", "a");
    dir.Write("src/t/x.txt");
    dir.Write("src/t/y.txt");
    std::string dst = dir.MakeDirectory("dst");
    ScriptedOperationUi ui;
    ui.onProblems = [](QTable&) { return true; };
    Operate(ui, {a, dir / "src/t"}, dst, OpCopy);
    Operate(ui, {a}, dst, OpCopy);
    EXPECT_EQ(RegisteredOperationPaths(),
              (std::vector<std::string>{a, dst + "/a.txt", dir / "src/t", dst + "/t"}));
    Operate(ui, {dst + "/t"}, "", OpDelete); // a deleted tree registers nothing
    EXPECT_EQ(RegisteredOperationCount(), 4u);

    ClearRegisteredOperationPaths();
    for (int i = 0; i < 10001; ++i)
        RegisterOperationPath("/p/" + std::to_string(i));
    EXPECT_EQ(RegisteredOperationCount(), 9901u);
    EXPECT_FALSE(IsRegisteredOperationPath("/p/99"));
    EXPECT_TRUE(IsRegisteredOperationPath("/p/100"));
    EXPECT_TRUE(IsRegisteredOperationPath("/p/10000"));
    ClearRegisteredOperationPaths();
}

TEST(FileOperation, LinksAreCopiedAndDeletedAsLinks) {
    TestDirectory dir;
    dir.Write("outside/precious.txt", "keep me");
    SetComment(dir / "outside/precious.txt", "precious");
    SetComment(dir / "outside", "outside's own");
    dir.Write("t/file.txt");
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "t/link").c_str()), 0);
    ASSERT_EQ(::symlink("../outside", (dir / "t/relative").c_str()), 0);
    std::string dst = dir.MakeDirectory("dst");

    ScriptedOperationUi ui;
    Operate(ui, {dir / "t"}, dst, OpCopy);
    EXPECT_TRUE(std::filesystem::is_symlink(dst + "/t/link"));
    EXPECT_EQ(std::filesystem::read_symlink(dst + "/t/link"), dir / "outside");

    EXPECT_EQ(Operate(ui, {dir / "t", dst + "/t"}, "", OpDelete).end, OperationEnd::Completed);
    EXPECT_FALSE(Exists(dir / "t"));
    EXPECT_EQ(ReadFile(dir / "outside/precious.txt"), "keep me");
    EXPECT_EQ(GetComment(dir / "outside/precious.txt"), "precious");
    EXPECT_EQ(GetComment(dir / "outside"), "outside's own");
    EXPECT_TRUE(ui.questions.empty());
}

TEST(FileOperation, AFullDiskAsksAndRetrySucceedsOnceThereIsRoom) {
    TmpfsMount disk("1m");
    if (!disk.Mounted())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    TestDirectory dir;
    std::string big = dir.Write("big.bin", std::string(600 * 1024, 'b'));
    std::string filler = disk.Path() + "/filler";
    { std::ofstream(filler, std::ios::binary) << std::string(700 * 1024, 'f'); }
    std::string old = disk.Path() + "/big.bin";

    // Abort: neither a new target nor a part of one.
    ScriptedOperationUi abort;
    EXPECT_EQ(Operate(abort, {big}, disk.Path(), OpCopy).end, OperationEnd::Broken);
    ASSERT_EQ(abort.questions.size(), 2u);
    EXPECT_EQ(abort.questions[0], "There is no enough free space on destination drive to copy all "
                                  "the files. Do you want to continue ?");
    EXPECT_EQ(abort.questions[1], "I couldn't copy " + big +
                                      " !\n\n\nThere is not enough space on target drive.\n\n\n"
                                      "Continue ?");
    EXPECT_FALSE(Exists(old));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.Path()), {}), 1);

    // No to the space question: nothing is tried.
    ScriptedOperationUi no;
    no.yesNo = {false};
    EXPECT_EQ(Operate(no, {big}, disk.Path(), OpCopy).end, OperationEnd::Cancelled);
    EXPECT_EQ(no.questions.size(), 1u);

    ScriptedOperationUi retry;
    retry.onError = [&](const std::string&) {
        std::filesystem::remove(filler);
        return ErrorAnswer::Retry;
    };
    EXPECT_EQ(Operate(retry, {big}, disk.Path(), OpCopy).end, OperationEnd::Completed);
    EXPECT_EQ(retry.questions.size(), 2u);
    EXPECT_EQ(ReadFile(old), ReadFile(big));
}

TEST(FileOperation, TheWindowShowsAfterFourSecondsOrForAQuestion) {
    TestDirectory dir;
    std::vector<std::string> items;
    for (int i = 0; i < 3; ++i)
        items.push_back(dir.Write("src/f" + std::to_string(i), "x"));
    std::string dst = dir.MakeDirectory("dst");

    ScriptedOperationUi quick;
    Operate(quick, items, dst, OpCopy);
    EXPECT_EQ(quick.windowShown, 0);
    EXPECT_EQ(quick.figures.front().caption, "File operation");
    EXPECT_EQ(quick.figures.back().caption, "99% Copying " + items.back() + " to " + dst);

    ScriptedOperationUi slow;
    SteppingClock clock(1000);
    Operate(slow, items, dir.MakeDirectory("dst2"), OpCopy, 1, clock);
    EXPECT_EQ(slow.windowShown, 1);

    ScriptedOperationUi asked;
    Operate(asked, items, dst, OpCopy); // all three exist now: a problems list
    EXPECT_EQ(asked.problemsAsked, 1);
    EXPECT_EQ(asked.windowShown, 1);
}
