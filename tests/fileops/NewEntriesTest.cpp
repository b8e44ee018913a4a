#include "fileops/NewEntries.h"

#include "../platform/TestDirectory.h"
#include "comments/PathComments.h"
#include "fileops/OperationTexts.h"
#include "fileops/TreeMerge.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace {

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace

TEST(NewDirectories, SeveralNamesWithCommentsPairedByPosition) {
    TestDirectory dir;
    std::vector<std::string> names = SplitEntryNames("a;b;c", true);
    std::vector<std::string> comments = SplitEntryNames("x;y", true);
    ASSERT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));
    NewEntriesReport report = CreateNewDirectories(dir.Path(), names);
    ApplyNewEntryComments(report.paths, comments);
    EXPECT_EQ(report.created.size(), 3u);
    EXPECT_TRUE(report.messages.empty());
    EXPECT_EQ(GetComment(dir / "a"), "x");
    EXPECT_EQ(GetComment(dir / "b"), "y");
    EXPECT_EQ(GetComment(dir / "c"), "");
    // Unchecked, the ";" is part of the one name.
    EXPECT_EQ(SplitEntryNames("a;b", false), std::vector<std::string>{"a;b"});
}

TEST(NewDirectories, FailuresAreReportedAndTheRestStillMade) {
    TestDirectory dir;
    dir.Write("file");
    NewEntriesReport report = CreateNewDirectories(dir.Path(), {"file/sub", "", "deep/er"});
    EXPECT_EQ(report.messages, std::vector<std::string>{"Couldn't create " + dir / "file/sub"});
    EXPECT_EQ(report.paths[1], ""); // an empty name makes nothing but keeps its place
    EXPECT_EQ(report.created, std::vector<std::string>{dir / "deep/er"});
    ApplyNewEntryComments(report.paths, {"lost", "skipped", "kept"});
    EXPECT_EQ(GetComment(dir / "deep/er"), "kept");
}

TEST(NewDirectories, SynchronousCopyIntoEachCarriesComments) {
    TestDirectory dir;
    dir.Write("notes.txt", "n");
    dir.Write("tree/inner.txt", "i");
    ASSERT_TRUE(SetComment(dir / "notes.txt", "file comment"));
    ASSERT_TRUE(SetComment(dir / "tree", "tree comment"));
    ASSERT_TRUE(SetComment(dir / "tree/inner.txt", "inner comment"));
    NewEntriesReport made = CreateNewDirectories(dir.Path(), {"x", "y"});
    std::vector<std::string> messages;
    TransferIntoDirectories({dir / "notes.txt", dir / "tree"}, made.created, false, false,
                            messages);
    EXPECT_TRUE(messages.empty());
    for (const char* d : {"x", "y"}) {
        std::string target = dir / d;
        EXPECT_EQ(ReadFile(target + "/notes.txt"), "n");
        EXPECT_EQ(GetComment(target + "/notes.txt"), "file comment");
        EXPECT_EQ(GetComment(target + "/tree"), "tree comment");
        EXPECT_EQ(GetComment(target + "/tree/inner.txt"), "inner comment");
    }
    EXPECT_TRUE(Exists(dir / "notes.txt"));
}

TEST(NewDirectories, MovingIntoSeveralLeavesEachACopyAndTheSourceGone) {
    TestDirectory dir;
    dir.Write("notes.txt", "n");
    dir.Write("tree/inner.txt", "i");
    ASSERT_TRUE(SetComment(dir / "notes.txt", "moved along"));
    NewEntriesReport made = CreateNewDirectories(dir.Path(), {"x", "y"});
    std::vector<std::string> messages;
    TransferIntoDirectories({dir / "notes.txt", dir / "tree"}, made.created, true, false,
                            messages);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_FALSE(Exists(dir / "notes.txt"));
    EXPECT_FALSE(Exists(dir / "tree"));
    EXPECT_EQ(GetComment(dir / "notes.txt"), "");
    for (const char* d : {"x", "y"}) {
        EXPECT_EQ(ReadFile(dir / d + "/tree/inner.txt"), "i");
        EXPECT_EQ(GetComment(dir / d + "/notes.txt"), "moved along");
    }
}

TEST(NewDirectories, ADirectoryIsNeverCopiedIntoItself) {
    TestDirectory dir;
    dir.Write("tree/inner.txt", "i");
    std::vector<std::string> messages;
    TransferIntoDirectories({dir / "tree", dir / "gone.txt"}, {dir / "tree/sub"}, false, false,
                            messages);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], kCopyToItself);
    EXPECT_FALSE(Exists(dir / "tree/sub/tree"));
    EXPECT_NE(messages[1].find("not found"), std::string::npos);
}

TEST(NewDirectories, OnlyWhatThisCallMadeCountsAsMade) {
    TestDirectory dir;
    dir.Write("temp/older work.txt", "kept");
    dir.MakeDirectory("half");
    dir.MakeDirectory("outside");
    std::filesystem::create_directory_symlink(dir / "outside", dir / "link");
    NewEntriesReport report =
        CreateNewDirectories(dir.Path(), {"temp", "half/new/deeper", "fresh", "link", "link/in"});
    EXPECT_EQ(report.created, (std::vector<std::string>{dir / "temp", dir / "half/new/deeper",
                                                        dir / "fresh"}));
    // The topmost directory each name made; the older "temp" is not one.
    EXPECT_EQ(report.made, (std::vector<std::string>{dir / "half/new", dir / "fresh"}));
    // A link is no directory to make things in.
    EXPECT_EQ(report.messages, (std::vector<std::string>{"Couldn't create " + dir / "link",
                                                         "Couldn't create " + dir / "link/in"}));
    EXPECT_FALSE(Exists(dir / "outside/in"));
}

// Several new names, one of which is there already with work in it.
class IntoAnExistingDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("src/a.txt", "new a");
        dir.Write("src/b.txt", "new b");
        dir.Write("src/tree/inner.txt", "new inner");
        dir.Write("src/tree/only new.txt", "only new");
        ASSERT_TRUE(SetComment(dir / "src/a.txt", "comment of new a"));
        ASSERT_TRUE(SetComment(dir / "src/b.txt", "comment of new b"));
        ASSERT_TRUE(SetComment(dir / "src/tree", "new tree"));
        ASSERT_TRUE(SetComment(dir / "src/tree/inner.txt", "new inner comment"));
        ASSERT_TRUE(SetComment(dir / "src/tree/only new.txt", "only new comment"));

        dir.Write("old/a.txt", "my own a");
        dir.Write("old/mine.txt", "mine");
        dir.Write("old/tree/inner.txt", "my own inner");
        dir.Write("old/tree/only old.txt", "only old");
        ASSERT_TRUE(SetComment(dir / "old/a.txt", "my comment of a"));
        ASSERT_TRUE(SetComment(dir / "old/mine.txt", "mine comment"));
        ASSERT_TRUE(SetComment(dir / "old/tree", "my tree"));
        ASSERT_TRUE(SetComment(dir / "old/tree/inner.txt", "my inner comment"));
        ASSERT_TRUE(SetComment(dir / "old/tree/only old.txt", "only old comment"));
        items = {dir / "src/a.txt", dir / "src/b.txt", dir / "src/tree"};
        NewEntriesReport report = CreateNewDirectories(dir.Path(), {"old", "new"});
        directories = report.created;
        ASSERT_EQ(report.made, std::vector<std::string>{dir / "new"});
    }

    void ExpectMergedComments(const std::string& target) {
        // Everything the target held stays, whatever the source brought.
        EXPECT_EQ(GetComment(target + "/mine.txt"), "mine comment");
        EXPECT_EQ(GetComment(target + "/tree/only old.txt"), "only old comment");
        EXPECT_EQ(GetComment(target + "/tree"), "my tree");
        EXPECT_EQ(ReadFile(target + "/tree/only new.txt"), "only new");
        EXPECT_EQ(GetComment(target + "/tree/only new.txt"), "only new comment");
        EXPECT_EQ(GetComment(target + "/b.txt"), "comment of new b");
    }

    TestDirectory dir;
    std::vector<std::string> items;
    std::vector<std::string> directories;
};

TEST_F(IntoAnExistingDirectory, TheEntriesInTheWayAreListedFirst) {
    EXPECT_EQ(ExistingTargets(items, directories),
              (std::vector<std::string>{dir / "old/a.txt", dir / "old/tree/inner.txt"}));
}

TEST_F(IntoAnExistingDirectory, KeptEntriesKeepTheirContentAndComments) {
    std::vector<std::string> messages;
    TransferIntoDirectories(items, directories, false, false, messages);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(ReadFile(dir / "old/a.txt"), "my own a");
    EXPECT_EQ(GetComment(dir / "old/a.txt"), "my comment of a");
    EXPECT_EQ(ReadFile(dir / "old/tree/inner.txt"), "my own inner");
    EXPECT_EQ(GetComment(dir / "old/tree/inner.txt"), "my inner comment");
    ExpectMergedComments(dir / "old");
    EXPECT_EQ(GetComment(dir / "new/tree"), "new tree");
    EXPECT_EQ(GetComment(dir / "new/a.txt"), "comment of new a");
}

TEST_F(IntoAnExistingDirectory, ReplacedEntriesTakeTheSourcesComments) {
    std::vector<std::string> messages;
    TransferIntoDirectories(items, directories, false, true, messages);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(ReadFile(dir / "old/a.txt"), "new a");
    EXPECT_EQ(GetComment(dir / "old/a.txt"), "comment of new a");
    EXPECT_EQ(ReadFile(dir / "old/tree/inner.txt"), "new inner");
    EXPECT_EQ(GetComment(dir / "old/tree/inner.txt"), "new inner comment");
    ExpectMergedComments(dir / "old");
}

TEST_F(IntoAnExistingDirectory, AMoveLeavesWhatWasKeptAtTheSource) {
    std::vector<std::string> messages;
    // "new" is last: the move goes there, "old" gets copies.
    dir.Write("new/a.txt", "in the way");
    TransferIntoDirectories(items, directories, true, false, messages);
    EXPECT_TRUE(messages.empty()) << messages.front();
    ExpectMergedComments(dir / "old");
    EXPECT_EQ(ReadFile(dir / "new/a.txt"), "in the way");
    EXPECT_EQ(ReadFile(dir / "src/a.txt"), "new a");
    EXPECT_EQ(GetComment(dir / "src/a.txt"), "comment of new a");
    EXPECT_FALSE(Exists(dir / "src/b.txt"));
    EXPECT_FALSE(Exists(dir / "src/tree"));
    EXPECT_EQ(GetComment(dir / "new/b.txt"), "comment of new b");
    EXPECT_EQ(GetComment(dir / "new/tree/inner.txt"), "new inner comment");
}

TEST_F(IntoAnExistingDirectory, ALinkInTheWayIsNeverWrittenThrough) {
    dir.MakeDirectory("elsewhere");
    std::filesystem::remove_all(dir / "old/tree");
    std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "old/tree");
    std::vector<std::string> messages;
    TransferIntoDirectories(items, directories, true, true, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(dir / "old/tree"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "elsewhere"));
    // The move went to "new" only after "old" was copied; the tree stayed.
    EXPECT_EQ(ReadFile(dir / "new/tree/inner.txt"), "new inner");
}

TEST(NewFiles, TemplatesByNameAndNewFilesFromThem) {
    TestDirectory dir;
    dir.Write("types/Text file.txt", "");
    dir.Write("types/Shell script.sh", "#!/bin/sh\n");
    dir.Write("types/Empty file", "");
    dir.Write("types/dir_info.orb", "comments, not a template");
    dir.MakeDirectory("types/not a template");
    std::vector<FileTemplate> templates = ListFileTemplates(dir / "types");
    ASSERT_EQ(templates.size(), 3u);
    EXPECT_EQ(templates[0].fileName, "Empty file");
    EXPECT_EQ(templates[1].fileName, "Shell script.sh");
    EXPECT_EQ(templates[2].fileName, "Text file.txt");
    EXPECT_EQ(DefaultTemplateIndex(templates), 2);
    EXPECT_TRUE(ListFileTemplates(dir / "missing").empty());

    EXPECT_EQ(NewFileName("readme", templates[2]), "readme.txt");
    EXPECT_EQ(NewFileName("notes.md", templates[2]), "notes.md");
    EXPECT_EQ(NewFileName("blank", templates[0]), "blank");
    EXPECT_EQ(NewFileName(".env", templates[2]), ".env");

    // The template is old; the new file has the time of its making.
    struct timespec old[2] = {{1000000, 0}, {1000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, templates[1].path.c_str(), old, 0), 0);
    std::string target = dir / "run.sh";
    EXPECT_EQ(CreateFileFromTemplate(templates[1], target, false), NewFileResult::Created);
    EXPECT_EQ(ReadFile(target), "#!/bin/sh\n");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_GT(st.st_mtime, ::time(nullptr) - 60);

    dir.Write("run.sh", "my own work");
    EXPECT_EQ(CreateFileFromTemplate(templates[1], target, false), NewFileResult::Exists);
    EXPECT_EQ(ReadFile(target), "my own work");
    EXPECT_EQ(CreateFileFromTemplate(templates[1], target, true), NewFileResult::Created);
    EXPECT_EQ(ReadFile(target), "#!/bin/sh\n");
    EXPECT_EQ(CreateFileFromTemplate(templates[1], dir / "types", true), NewFileResult::Failed);
}
