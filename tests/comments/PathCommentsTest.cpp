#include "comments/PathComments.h"

#include "../platform/TestDirectory.h"
#include "comments/CommentFile.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace {

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::vector<CommentEntry> EntriesOf(const std::string& directory) {
    CommentFile file;
    file.Load(directory);
    std::vector<CommentEntry> entries = file.Entries();
    file.Close(false);
    return entries;
}

} // namespace

TEST(PathComments, FilesUseTheParentsFileDirectoriesTheirOwn) {
    TestDirectory dir;
    std::string file = dir.Write("docs/report.txt");
    std::string docs = dir / "docs";

    EXPECT_TRUE(SetComment(file, "quarterly"));
    EXPECT_TRUE(SetComment(docs + "/", "all documents"));
    EXPECT_EQ(EntriesOf(docs), (std::vector<CommentEntry>{{"report.txt", "quarterly"},
                                                          {":THIS_DIR:", "all documents"}}));
    EXPECT_EQ(GetComment(file), "quarterly");
    EXPECT_EQ(GetComment(docs), "all documents");
    EXPECT_FALSE(Exists(dir / "dir_info.orb")); // the parent of docs is not involved

    // A link to a directory carries that directory's comment.
    ASSERT_EQ(::symlink("docs", (dir / "link").c_str()), 0);
    EXPECT_EQ(GetComment(dir / "link"), "all documents");

    // The reader for many paths answers as GetComment does.
    std::string upper = dir.Write("docs/REPORT.TXT");
    CommentReader reader;
    for (const std::string& path : {file, docs, dir / "link", upper, dir / "docs/gone"})
        EXPECT_EQ(reader.Get(path), GetComment(path)) << path;
}

TEST(PathComments, CaseTwinsKeepTheirOwnComments) {
    TestDirectory dir;
    std::string lower = dir.Write("a.txt");
    std::string upper = dir.Write("A.TXT");
    ASSERT_TRUE(SetComment(upper, "upper only"));
    EXPECT_EQ(GetComment(lower), "");
    EXPECT_EQ(CommentReader().Get(lower), "");

    ASSERT_TRUE(SetComment(lower, "lower"));
    EXPECT_EQ(GetComment(upper), "upper only");
    ASSERT_TRUE(SetComment(lower, ""));
    EXPECT_EQ(GetComment(upper), "upper only");
    ::unlink(lower.c_str());
    EXPECT_EQ(TakeComment(lower), "");
    EXPECT_EQ(GetComment(upper), "upper only");

    // A key no entry has exactly, as written on a file system that ignores
    // case, is still read under the name that matches it.
    ::rename(upper.c_str(), (dir / "a.Txt").c_str());
    EXPECT_EQ(GetComment(dir / "a.Txt"), "upper only");
    EXPECT_EQ(CommentReader().Get(dir / "a.Txt"), "upper only");
}

TEST(PathComments, AnEntryNamedLikeTheDirectoryKeyHasNoComment) {
    TestDirectory dir;
    std::string odd = dir.Write("sub/:THIS_DIR:");
    std::string sub = dir / "sub";
    ASSERT_TRUE(SetComment(sub, "the directory"));
    EXPECT_FALSE(SetComment(odd, "the file"));
    EXPECT_EQ(GetComment(odd), "");
    EXPECT_EQ(CommentReader().Get(odd), "");
    EXPECT_EQ(TakeComment(odd), "");
    ::unlink(odd.c_str());
    EXPECT_EQ(TakeComment(odd), ""); // gone, it still names no comment
    EXPECT_EQ(GetComment(sub), "the directory");
    // A directory of that name keeps its comment in its own file.
    std::string named = dir.MakeDirectory(":THIS_DIR:");
    ASSERT_TRUE(SetComment(named, "mine"));
    EXPECT_EQ(GetComment(named), "mine");
}

TEST(PathComments, MissingPathsAndEmptyComments) {
    TestDirectory dir;
    EXPECT_FALSE(SetComment(dir / "missing.txt", "x"));
    EXPECT_EQ(GetComment(dir / "missing.txt"), "");
    std::string file = dir.Write("a.txt");
    EXPECT_TRUE(SetComment(file, ""));
    EXPECT_FALSE(Exists(dir / "dir_info.orb")); // nothing stored, no file made

    SetComment(file, "one");
    std::string other = dir.Write("b.txt");
    SetComment(other, "two");
    EXPECT_TRUE(SetComment(file, ""));
    EXPECT_TRUE(Exists(dir / "dir_info.orb"));
    EXPECT_TRUE(SetComment(other, ""));
    EXPECT_FALSE(Exists(dir / "dir_info.orb")); // the last comment took the file with it
}

TEST(PathComments, TakeFollowsAMovedEntry) {
    TestDirectory dir;
    std::string file = dir.Write("old.txt");
    SetComment(file, "travels");
    ::rename(file.c_str(), (dir / "new.txt").c_str());
    EXPECT_EQ(TakeComment(dir / "old.txt"), "travels");
    EXPECT_FALSE(Exists(dir / "dir_info.orb"));
    EXPECT_EQ(TakeComment(dir / "old.txt"), "");

    std::string sub = dir.MakeDirectory("sub");
    EXPECT_EQ(TakeComment(sub), "");
    EXPECT_FALSE(Exists(sub + "/dir_info.orb")); // taking never creates a file
}

TEST(PathComments, ConcurrentWritersLoseNothing) {
    TestDirectory dir;
    const int perThread = 60;
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < perThread; ++i)
            dir.Write("f" + std::to_string(t) + "_" + std::to_string(i));

    std::atomic<bool> done{false};
    std::atomic<int> tornReads{0};
    std::thread reader([&] {
        // Reads past the lock, as another process would: renaming a
        // complete file into place means no one ever sees a half-written one.
        std::vector<CommentEntry> entries;
        while (!done) {
            if (!CommentFile::ParseEntries(ReadFile(dir / "dir_info.orb"), entries))
                ++tornReads;
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> writers;
    for (int t = 0; t < 2; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) {
                std::string name = "f" + std::to_string(t) + "_" + std::to_string(i);
                SetComment(dir / name, "comment of " + name);
            }
        });
    }
    for (std::thread& w : writers)
        w.join();
    done = true;
    reader.join();

    EXPECT_EQ(tornReads, 0);
    std::vector<CommentEntry> entries = EntriesOf(dir.Path());
    EXPECT_EQ(entries.size(), 2u * perThread);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < perThread; i += 13) {
            std::string name = "f" + std::to_string(t) + "_" + std::to_string(i);
            EXPECT_EQ(GetComment(dir / name), "comment of " + name);
        }
}

TEST(PathComments, ConcurrentProcessesLoseNothing) {
    // The program and orvo, or two windows, each with their own lock table:
    // only a lock the processes share keeps their saves from overwriting
    // each other's.
    TestDirectory dir;
    const int processes = 4;
    const int perProcess = 200;
    for (int p = 0; p < processes; ++p)
        for (int i = 0; i < perProcess; ++i)
            dir.Write("p" + std::to_string(p) + "_" + std::to_string(i));
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(gate[1]);
            char c;
            (void)::read(gate[0], &c, 1); // all start when the gate closes
            int failed = 0;
            for (int i = 0; i < perProcess; ++i) {
                std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
                failed += SetComment(dir / name, "comment of " + name) ? 0 : 1;
            }
            ::_exit(failed == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(EntriesOf(dir.Path()).size(), static_cast<size_t>(processes * perProcess));
    EXPECT_EQ(GetComment(dir / "p3_199"), "comment of p3_199");
}
