#include "browse/ViewRebuilder.h"

#include "../platform/TestDirectory.h"
#include "comments/CommentFile.h"
#include "comments/PathComments.h"

#include <clocale>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace {

std::vector<std::string> Column(const QTable& view, const char* column) {
    std::vector<std::string> cells;
    for (int i = 0; i < view.GetRecordCount(); ++i)
        cells.push_back(view.GetText(column, i));
    return cells;
}

struct Window {
    DirectoryListing listing;
    QTable view;
    Window() { ViewRebuilder::UseViewColumns(view); }
    ViewRebuilder::Result Show(const std::string& dir, ViewRebuilder::Input input = {}) {
        listing.ReadDirectory(dir);
        return ViewRebuilder::Rebuild(listing, view, input);
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST(ViewRebuilder, DirectoriesFirstAndTheParentOnTop) {
    TestDirectory dir;
    dir.MakeDirectory("Zeta");
    dir.Write("alpha");
    dir.Write("Beta.txt");
    dir.MakeDirectory("gamma");
    Window w;
    w.Show(dir.Path());
    EXPECT_EQ(Column(w.view, "Name"), (Names{"..", "gamma", "Zeta", "alpha", "Beta"}));
    EXPECT_EQ(w.view.GetText("Path", 0), dir.Path());
    EXPECT_FALSE(w.view.GetValue("Directory", 0).AsBool());
    EXPECT_EQ(w.view.GetText("Comment", 0), "");

    TestDirectory empty;
    w.Show(empty.Path());
    EXPECT_EQ(Column(w.view, "Name"), Names{".."});
    w.Show(empty / "gone");
    EXPECT_EQ(Column(w.view, "Path"), Names{empty / "gone"});
}

TEST(ViewRebuilder, OrderIsTheTablesOwnNameSort) {
    // The rebuild orders rows itself; a header click sorts with the table.
    // Sorting the rebuilt view again must change nothing.
    std::setlocale(LC_ALL, "C.UTF-8");
    TestDirectory dir;
    for (const char* name : {"b.txt", "B.doc", "a10", "a9", "a.b.c", ".hidden", "_under", "Zz",
                             "zz.", "\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89.jpg", "ebook",
                             "\xFF\xFE"
                             "bad",
                             "10", "9"})
        dir.Write(name);
    for (const char* name : {"Sub", "sub2", "\xC3\x84lter", "abc"})
        dir.MakeDirectory(name);
    Window w;
    w.Show(dir.Path());
    Names rebuilt = Column(w.view, "Path");
    w.view.Sort("Name", true, 1);
    EXPECT_EQ(Column(w.view, "Path"), rebuilt);
    EXPECT_EQ(rebuilt.size(), 20u);
    std::setlocale(LC_ALL, "C");
}

TEST(ViewRebuilder, CommentsMergedAndTheCommentFileHidden) {
    TestDirectory dir;
    std::string sub = dir.MakeDirectory("sub");
    SetComment(dir.Write("notes.txt"), "first line\r\nsecond line");
    dir.Write("plain.txt");
    dir.Write("DIR_INFO.ORB"); // hidden only under its exact name
    SetComment(sub, "own comment of sub");
    SetComment(dir.Path(), "this directory");
    SetComment(dir.Write("sub/inner.txt"), "not shown above");

    Window w;
    ViewRebuilder::Input input;
    input.hideCommentFile = true;
    ViewRebuilder::Result r = w.Show(dir.Path(), input);
    EXPECT_EQ(Column(w.view, "Name"), (Names{"..", "sub", "DIR_INFO", "notes", "plain"}));
    EXPECT_EQ(Column(w.view, "Comment"),
              (Names{"", "own comment of sub", "-", "first line  second line", "-"}));
    EXPECT_EQ(r.directoryComment, "this directory");
    w.Show(dir.Path());
    EXPECT_EQ(w.view.GetRecordCount(), 6); // shown when not asked to hide
}

TEST(ViewRebuilder, RowsShowNoTwinsOrTheDirectorysComment) {
    TestDirectory dir;
    dir.Write("a.txt");
    SetComment(dir.Write("A.TXT"), "upper");
    SetComment(dir.Write("Orphan.txt"), "kept");
    ::rename((dir / "Orphan.txt").c_str(), (dir / "orphan.TXT").c_str());
    dir.Write(":THIS_DIR:");
    SetComment(dir.Path(), "this directory");
    Window w;
    w.Show(dir.Path());
    std::map<std::string, std::string> shown; // twins' order is the file system's
    for (int r = 1; r < w.view.GetRecordCount(); ++r)
        shown[w.view.GetText("Path", r)] = w.view.GetText("Comment", r);
    EXPECT_EQ(shown, (std::map<std::string, std::string>{{dir / ":THIS_DIR:", "-"},
                                                         {dir / "a.txt", "-"},
                                                         {dir / "A.TXT", "upper"},
                                                         {dir / "dir_info.orb", "-"},
                                                         {dir / "orphan.TXT", "kept"}}));
}

TEST(ViewRebuilder, RebuildingWritesNoCommentFile) {
    TestDirectory dir;
    std::string sub = dir.MakeDirectory("sub");
    SetComment(dir.Write("a.txt"), "a");
    SetComment(sub, "s");
    // Trailing bytes would vanish if a rebuild wrote the files back.
    std::string top = CommentFile::PathFor(dir.Path()), inner = CommentFile::PathFor(sub);
    std::string topBytes = ReadFile(top) + "tail", innerBytes = ReadFile(inner) + "tail";
    dir.Write("dir_info.orb", topBytes);
    dir.Write("sub/dir_info.orb", innerBytes);
    Window w;
    w.Show(dir.Path());
    EXPECT_EQ(ReadFile(top), topBytes);
    EXPECT_EQ(ReadFile(inner), innerBytes);
}

TEST(ViewRebuilder, BackgroundPictureAndSelection) {
    TestDirectory dir;
    dir.Write("orvoimage.jpg");
    dir.Write("orvoimage.png");
    dir.Write("orvoimage.gif");
    std::string keep = dir.Write("keep.txt");
    Window w;
    ViewRebuilder::Result r = w.Show(dir.Path());
    EXPECT_EQ(r.backgroundPicture, dir / "orvoimage.png");
    EXPECT_EQ(r.selectRow, 0);
    EXPECT_FALSE(r.selectedByPath);

    ViewRebuilder::Input input;
    input.selectedPaths = ViewRebuilder::SelectedPaths(w.view, {0, 1, 99});
    EXPECT_EQ(input.selectedPaths, Names{w.view.GetText("Path", 1)}); // ".." and bad rows left out
    input.selectedPaths = {keep};
    input.selectionMark = 3;
    input.favoriteTargets = {keep, dir / "ORVOIMAGE.PNG"};
    r = w.Show(dir.Path(), input);
    ASSERT_EQ(w.view.GetText("Path", r.selectRow), keep);
    EXPECT_TRUE(r.selectedByPath);
    EXPECT_EQ(r.markedPaths, Names{keep}); // paths compare exactly

    ::unlink(keep.c_str());
    r = w.Show(dir.Path(), input);
    EXPECT_EQ(r.selectRow, 3); // the mark, since the path is gone
    EXPECT_FALSE(r.selectedByPath);
}

TEST(ViewRebuilder, ListWindowsKeepTheListsOrderAndComments) {
    TestDirectory dir;
    dir.Write("orvoimage.png");
    std::string b = dir.Write("b.txt"), a = dir.Write("a.txt");
    DirectoryListing list;
    list.ReadDirectory(dir.Path());
    while (list.GetRecordCount() > 0)
        list.DeleteRecord(0);
    for (const std::string& path : {b, a}) {
        QRecord row = list.NewRecord();
        row.SetValue("Path", QValue(std::string_view(path)));
        row.SetValue("Name", QValue(std::string_view(path == a ? "a" : "b")));
        row.SetValue("Comment", QValue(std::string_view(path == a ? "two\nlines" : "")));
        list.AddRecord(row);
    }
    QTable view;
    ViewRebuilder::UseViewColumns(view);
    ViewRebuilder::Input input;
    input.listMode = true;
    input.currentDirectory = dir.Path();
    input.favoriteTargets = {b};
    ViewRebuilder::Result r = ViewRebuilder::Rebuild(list, view, input);
    EXPECT_EQ(Column(view, "Path"), (Names{b, a})); // no parent entry, not sorted
    EXPECT_EQ(Column(view, "Comment"), (Names{"-", "two lines"}));
    EXPECT_EQ(r.backgroundPicture, "");
    EXPECT_EQ(r.markedPaths, Names{b});
}

TEST(ViewRebuilder, TheDriveListIsNoRelativePath) {
    // A directory named like the drive list in the working directory must
    // not lend it a comment or a picture.
    TestDirectory dir;
    std::string fake = dir.MakeDirectory("Computer");
    SetComment(fake, "wrong");
    dir.Write("Computer/orvoimage.png");
    char cwd[4096];
    ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
    ASSERT_EQ(::chdir(dir.Path().c_str()), 0);

    Window w;
    std::vector<int> types;
    ReadComputer(w.listing, types, {MountedVolume{"/", "/dev/sda1", "ext4", "", DRIVE_FIXED}});
    ViewRebuilder::Result r = ViewRebuilder::Rebuild(w.listing, w.view, {});
    EXPECT_EQ(::chdir(cwd), 0);
    EXPECT_EQ(Column(w.view, "Name"), (Names{"..", "/ /dev/sda1 (ext4)"}));
    EXPECT_EQ(w.view.GetText("Path", 0), "Computer/");
    EXPECT_EQ(r.directoryComment, "");
    EXPECT_EQ(r.backgroundPicture, "");
}
