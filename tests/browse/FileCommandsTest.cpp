#include "browse/FileCommands.h"

#include "../platform/TestDirectory.h"
#include "browse/ClipboardFileList.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

TEST(FileCommandNames, UniqueNamesCountFromZeroWithTwoDigits) {
    TestDirectory dir;
    EXPECT_EQ(MakeUniqueName(dir.Path(), "dropped", "txt"), dir / "dropped.txt");
    dir.Write("dropped.txt");
    EXPECT_EQ(MakeUniqueName(dir.Path(), "dropped", "txt"), dir / "dropped00.txt");
    dir.Write("dropped00.txt");
    dir.Write("dropped01.txt");
    EXPECT_EQ(MakeUniqueName(dir.Path(), "dropped", "txt"), dir / "dropped02.txt");
    // No extension, no dot; a dangling link takes its name too.
    ASSERT_EQ(::symlink("/nowhere", (dir / "temp").c_str()), 0);
    EXPECT_EQ(MakeUniqueName(dir.Path(), "temp", ""), dir / "temp00");
}

TEST(FileCommandNames, ShortcutsAreNamedAfterTheirTarget) {
    EXPECT_EQ(ShortcutPathBeside("/home/u/notes.txt"), "/home/u/A shortcut to notes.txt.lnk");
    EXPECT_EQ(ShortcutPathBeside("/media/usb/"), "/media/A shortcut to usb.lnk");
    EXPECT_EQ(ShortcutPathIn("/tmp/x", "/srv/data"), "/tmp/x/data.lnk");
    // A root has no file name: its first character stands for it, and the
    // root of the tree, whose first character cannot be in a name, is "root".
    EXPECT_EQ(ShortcutBaseName("/"), "root");
    EXPECT_EQ(ShortcutPathBeside("/"), "/A shortcut to root.lnk");
}

TEST(FileCommandNames, RemoveQuestionAndClipboardLines) {
    EXPECT_EQ(RemoveQuestionText({"/a/b/report.txt"}),
              "Are you sure you want to REALLY DELETE report.txt ?\nNote that this is not moving "
              "to a recycle bin, but a real deleting.");
    EXPECT_EQ(RemoveQuestionText({"/a/x", "/a/y", "/a/z"}),
              "Are you sure you want to REALLY DELETE selected files ?\nNote that this is not "
              "moving to a recycle bin, but a real deleting.");
    EXPECT_EQ(JoinClipboardLines({"a.txt", "b.txt"}), "a.txt\r\nb.txt");
    EXPECT_EQ(JoinClipboardLines({"a.txt"}), "a.txt");
    EXPECT_EQ(JoinClipboardLines({}), "");
}

TEST(FileCommandDrops, TargetsFollowTheRowUnderThePoint) {
    TestDirectory dir;
    dir.MakeDirectory("w/sub");
    dir.Write("w/readme.txt");
    std::string script = dir.Write("w/run", "#!/bin/sh\n");
    ::chmod(script.c_str(), 0755);
    dir.Write("w/setup.BAT");
    ASSERT_EQ(::symlink((dir / "w/sub").c_str(), (dir / "w/to-sub").c_str()), 0);

    DropInput in;
    in.windowDirectory = dir / "w";
    DropPlan beside = PlanDrop(in);
    EXPECT_EQ(beside.action, DropPlan::Action::Transfer);
    EXPECT_EQ(beside.target, dir / "w");
    EXPECT_EQ(beside.operation, 0);

    in.itemPath = dir / "w";
    in.itemIsParent = true;
    EXPECT_EQ(PlanDrop(in).target, dir.Path()); // ".." is the parent of the window

    in.itemIsParent = false;
    in.itemPath = dir / "w/sub";
    in.shift = true;
    DropPlan moved = PlanDrop(in);
    EXPECT_EQ(moved.target, dir / "w/sub");
    EXPECT_EQ(moved.operation, 1);

    in.itemPath = dir / "w/to-sub";
    EXPECT_EQ(PlanDrop(in).target, dir / "w/sub");

    in.itemPath = dir / "w/readme.txt"; // a plain file: the window's directory
    EXPECT_EQ(PlanDrop(in).target, dir / "w");

    for (const char* program : {"w/run", "w/setup.BAT"}) {
        in.itemPath = dir / program;
        DropPlan run = PlanDrop(in);
        EXPECT_EQ(run.action, DropPlan::Action::RunProgram) << program;
        EXPECT_EQ(run.program, dir / program);
    }

    in.itemPath = dir / "w/sub";
    in.shift = false;
    in.alt = true;
    EXPECT_EQ(PlanDrop(in).action, DropPlan::Action::Shortcuts);
    in.ctrl = true;
    EXPECT_EQ(PlanDrop(in).action, DropPlan::Action::BackgroundPicture);
    in.listMode = true;
    EXPECT_EQ(PlanDrop(in).action, DropPlan::Action::AddToList);
}

TEST(FileCommandDrops, BackgroundPictureReplacesEveryOldOne) {
    TestDirectory dir;
    dir.Write("d/orvoimage.jpg", "old");
    dir.Write("d/orvoimage.gif", "old");
    std::string source = dir.Write("photo.png", "png bytes");
    EXPECT_EQ(ReplaceBackgroundPicture(source, dir / "d"), dir / "d/orvoimage.png");
    EXPECT_EQ(ReadFile(dir / "d/orvoimage.png"), "png bytes");
    EXPECT_FALSE(std::filesystem::exists(dir / "d/orvoimage.jpg"));
    EXPECT_FALSE(std::filesystem::exists(dir / "d/orvoimage.gif"));
    // Dropping the directory's own picture on it keeps it.
    EXPECT_EQ(ReplaceBackgroundPicture(dir / "d/orvoimage.png", dir / "d"),
              dir / "d/orvoimage.png");
    EXPECT_EQ(ReadFile(dir / "d/orvoimage.png"), "png bytes");

    // A copy that fails (nothing to read, or no room for the new name)
    // leaves the old picture where it was.
    EXPECT_EQ(ReplaceBackgroundPicture(dir / "gone.gif", dir / "d"), "");
    EXPECT_EQ(ReadFile(dir / "d/orvoimage.png"), "png bytes");
    dir.MakeDirectory("d/orvoimage.bmp/in-the-way");
    EXPECT_EQ(ReplaceBackgroundPicture(dir.Write("new.bmp", "bmp"), dir / "d"), "");
    EXPECT_EQ(ReadFile(dir / "d/orvoimage.png"), "png bytes");
}

TEST(FileCommandDrops, PastedTextsGetTheNextFreeName) {
    TestDirectory dir;
    EXPECT_EQ(SaveDroppedText(dir.Path(), "first"), dir / "dropped.txt");
    EXPECT_EQ(SaveDroppedText(dir.Path(), std::string_view("second\0tail", 11)),
              dir / "dropped00.txt");
    EXPECT_EQ(SaveDroppedText(dir.Path(), ""), dir / "dropped01.txt");
    EXPECT_EQ(ReadFile(dir / "dropped.txt"), "first");
    EXPECT_EQ(ReadFile(dir / "dropped00.txt"), "second");
    EXPECT_EQ(ReadFile(dir / "dropped01.txt"), "");
    EXPECT_EQ(SaveDroppedText(dir / "missing", "x"), "");
}

TEST(ClipboardFileList, FormatsOtherFileManagersRead) {
    std::vector<std::string> paths = {"/tmp/a b.txt", "/tmp/ü%#?.png"};
    EXPECT_EQ(FormatUriList(paths), "file:///tmp/a%20b.txt\r\nfile:///tmp/%C3%BC%25%23%3F.png\r\n");
    EXPECT_EQ(FormatGnomeCopiedFiles(paths, false),
              "copy\nfile:///tmp/a%20b.txt\nfile:///tmp/%C3%BC%25%23%3F.png");
    EXPECT_EQ(ParseUriList(FormatUriList(paths)), paths);
    bool cut = true;
    EXPECT_EQ(ParseCopiedFiles(FormatGnomeCopiedFiles(paths, false), &cut), paths);
    EXPECT_FALSE(cut);
}

TEST(ClipboardFileList, ReadsWhatOtherFileManagersWrite) {
    // Comments, other schemes and a missing final line break.
    EXPECT_EQ(
        ParseUriList("# from a browser\r\nhttps://example.org/x\r\nfile://localhost/etc/hosts"),
        std::vector<std::string>{"/etc/hosts"});
    bool cut = false;
    EXPECT_EQ(ParseCopiedFiles("cut\nfile:///srv/one\nfile:///srv/two\n", &cut),
              (std::vector<std::string>{"/srv/one", "/srv/two"}));
    EXPECT_TRUE(cut);
    // The plain-text form of older Nautilus versions.
    EXPECT_EQ(ParseCopiedFiles("x-special/nautilus-clipboard\ncopy\nfile:///home/u/f.txt\n", &cut),
              std::vector<std::string>{"/home/u/f.txt"});
    EXPECT_FALSE(cut);
    EXPECT_TRUE(ParseCopiedFiles("just some text\nfile:///etc/passwd").empty());
    EXPECT_TRUE(ParseCopiedFiles("").empty());
}
