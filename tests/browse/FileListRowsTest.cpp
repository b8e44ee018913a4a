#include "browse/FileListRows.h"

#include "../platform/TestDirectory.h"
#include "comments/PathComments.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

using Row = std::vector<std::string>;

// Name, Extension, Comment, Size, Attr, Directory of a row.
Row Cells(const QTable& list, int row) {
    Row cells;
    for (const char* column : {"Name", "Extension", "Comment", "Size", "Attr", "Directory"})
        cells.push_back(list.GetText(column, row));
    return cells;
}

std::vector<std::string> Paths(const QTable& list) {
    std::vector<std::string> paths;
    for (int r = 0; r < list.GetRecordCount(); ++r)
        paths.push_back(list.GetText("Path", r));
    return paths;
}

} // namespace

TEST(FileListRows, AddedInOrderWithTheirInformation) {
    TestDirectory dir;
    std::string file = dir.Write("notes.tar.gz", "12345");
    std::string sub = dir.MakeDirectory("sub.d");
    ASSERT_TRUE(SetComment(file, "first\r\nsecond"));
    ASSERT_TRUE(SetComment(sub, "a directory"));

    DirectoryListing list;
    EXPECT_EQ(AddListPaths(list, {file, sub + "/", dir / "missing.txt"}), 0);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{file, sub, dir / "missing.txt"}));
    EXPECT_EQ(Cells(list, 0), (Row{"notes.tar", "gz", "first\r\nsecond", "5", "-a--", "FALSE"}));
    EXPECT_EQ(Cells(list, 1), (Row{"sub", "d", "a directory", "0", "----", "TRUE"}));
    // A path that does not exist is still added, with empty information.
    EXPECT_EQ(Cells(list, 2), (Row{"missing", "txt", "", "0", "----", "FALSE"}));
    EXPECT_EQ(list.GetValue("Date", 2).AsDouble(), 0.0);
    EXPECT_EQ(list.GetValue("Date", 0).AsDouble(), list.GetValue("Time", 0).AsDouble());

    // Further paths are appended after the others, duplicates included.
    EXPECT_EQ(AddListPaths(list, {file}), 3);
    EXPECT_EQ(list.GetRecordCount(), 4);
    EXPECT_EQ(AddListPaths(list, {}), 4);
}

TEST(FileListRows, RefreshReadsOutsideChangesAndClearsVanishedEntries) {
    TestDirectory dir;
    std::string a = dir.Write("a.txt", "1");
    std::string b = dir.Write("b.txt", "22");
    DirectoryListing list;
    AddListPaths(list, {a, b});

    dir.Write("a.txt", "4444");
    dir.Write("b.txt", "55555");
    ASSERT_TRUE(SetComment(a, "new"));
    ASSERT_EQ(::chmod(a.c_str(), 0444), 0);
    RefreshListRows(list, 1, 1); // only row 1
    EXPECT_EQ(Cells(list, 0), (Row{"a", "txt", "", "1", "-a--", "FALSE"}));
    EXPECT_EQ(list.GetText("Size", 1), "5");

    RefreshListRows(list);
    EXPECT_EQ(Cells(list, 0), (Row{"a", "txt", "new", "4", "ra--", "FALSE"}));

    // Gone: no stale size, date, attributes or comment remain.
    ASSERT_EQ(::chmod(a.c_str(), 0644), 0);
    ASSERT_EQ(::unlink(a.c_str()), 0);
    RefreshListRows(list, -1, -1);
    EXPECT_EQ(Cells(list, 0), (Row{"a", "txt", "", "0", "----", "FALSE"}));
    EXPECT_EQ(list.GetValue("Date", 0).AsDouble(), 0.0);
    EXPECT_EQ(list.GetValue("Time", 0).AsDouble(), 0.0);
}

TEST(FileListRows, LargeFilesKeepTheirRealSize) {
    TestDirectory dir;
    std::string big = dir.Write("big.bin");
    ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(5ull << 30)), 0);
    DirectoryListing list;
    AddListPaths(list, {big});
    EXPECT_EQ(list.GetValue("Size", 0).AsDword(), 0xFFFFFFFFu);
    EXPECT_EQ(list.FullSize(*list.GetRecord(0)), 5ull << 30);

    ASSERT_EQ(::truncate(big.c_str(), 7), 0);
    RefreshListRows(list);
    EXPECT_EQ(list.FullSize(*list.GetRecord(0)), 7u);
}

TEST(FileListRows, RemovingRowsNeverTouchesFiles) {
    TestDirectory dir;
    std::string a = dir.Write("a");
    std::string b = dir.Write("b");
    std::string c = dir.Write("c");
    std::string d = dir.MakeDirectory("d");
    DirectoryListing list;
    AddListPaths(list, {a, b, c, d});

    ASSERT_EQ(::rename(b.c_str(), (dir / "b2").c_str()), 0);
    ASSERT_EQ(::rmdir(d.c_str()), 0);
    EXPECT_EQ(RemoveDeadRows(list), 2);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{a, c}));
    EXPECT_EQ(RemoveDeadRows(list), 0);

    EXPECT_EQ(RemoveListPaths(list, {c, c, dir / "other"}), 1);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{a}));
    EXPECT_EQ(::access(c.c_str(), F_OK), 0);

    // After an operation only entries gone from the directories it changed go.
    TestDirectory elsewhere;
    AddListPaths(list, {c, elsewhere / "never.txt"});
    ASSERT_EQ(::unlink(c.c_str()), 0);
    EXPECT_EQ(RemoveLeftEntries(list, {dir / "sub"}), 0);
    EXPECT_EQ(RemoveLeftEntries(list, {dir.Path() + "/"}), 1);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{a, elsewhere / "never.txt"}));
}

TEST(FileListRows, RenamedEntriesAndEditedCommentsStayRecorded) {
    TestDirectory dir;
    std::string a = dir.Write("a.txt");
    std::string b = dir.Write("b.doc");
    DirectoryListing list;
    AddListPaths(list, {a, b, a});
    RenameListPath(list, a, b); // b is listed once, where a was
    EXPECT_EQ(Paths(list), (std::vector<std::string>{b, b}));
    EXPECT_EQ(list.GetText("Name", 0), "b");
    EXPECT_EQ(list.GetText("Extension", 1), "doc");
    SetListComment(list, b, "kept\nhere");
    EXPECT_EQ(list.GetText("Comment", 1), "kept\nhere");
}
