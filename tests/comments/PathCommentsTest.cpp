#include "comments/PathComments.h"

#include "../platform/TestDirectory.h"
#include "comments/CommentFile.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
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

    // The reader for many paths answers as GetComment does, key case folded too.
    std::string upper = dir.Write("docs/REPORT.TXT");
    CommentReader reader;
    for (const std::string& path : {file, docs, dir / "link", upper, dir / "docs/gone"})
        EXPECT_EQ(reader.Get(path), GetComment(path)) << path;
    EXPECT_EQ(reader.Get(upper), "quarterly");
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
