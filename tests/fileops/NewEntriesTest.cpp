#include "fileops/NewEntries.h"

#include "../platform/TestDirectory.h"
#include "comments/PathComments.h"
#include "fileops/OperationTexts.h"

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
    TransferIntoDirectories({dir / "notes.txt", dir / "tree"}, made.created, false, messages);
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
    TransferIntoDirectories({dir / "notes.txt", dir / "tree"}, made.created, true, messages);
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
    std::string message;
    EXPECT_FALSE(TransferEntryInto(dir / "tree", dir / "tree/sub", false, message));
    EXPECT_EQ(message, kCopyToItself);
    EXPECT_FALSE(Exists(dir / "tree/sub"));
    EXPECT_FALSE(TransferEntryInto(dir / "gone.txt", dir / "tree", false, message));
    EXPECT_NE(message.find("not found"), std::string::npos);
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
