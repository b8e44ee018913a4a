#include "workspace/FileListDocument.h"

#include "../platform/TestDirectory.h"
#include "browse/FileListRows.h"
#include "comments/PathComments.h"
#include "platform/FileIO.h"
#include "store/StoreArchive.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace {

// Every cell of every row as text.
std::vector<std::vector<std::string>> AllCells(const QTable& list) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < list.GetRecordCount(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < list.GetFieldCount(); ++c)
            rows.back().push_back(list.GetText(c, r));
    }
    return rows;
}

// A row made by hand: name, extension, comment, size, attr, directory.
void AddRow(DirectoryListing& list, std::string_view name, std::string_view extension,
            std::string_view comment, uint32_t size, bool directory, double date = 45000.5) {
    QRecord row = list.NewRecord();
    row.SetValue("Name", QValue(name));
    row.SetValue("Path", QValue(std::string_view("/x/" + std::string(name))));
    row.SetValue("Extension", QValue(extension));
    row.SetValue("Comment", QValue(comment));
    row.SetValue("Size", QValue(size, QVT_DWORD));
    row.SetValue("Date", QValue(date, QVT_DATE));
    row.SetValue("Attr", QValue(std::string_view(directory ? "----" : "-a--")));
    row.SetValue("Directory", QValue(directory, QVT_BOOL));
    list.AddRecord(row);
}

ListExportOptions Only() {
    return ListExportOptions{.title = false, .extension = false, .comment = false};
}

} // namespace

TEST(FileListDocument, SavingAndOpeningKeepsRowsOrderAndBytes) {
    TestDirectory dir;
    std::string z = dir.Write("z.txt", "zz");
    std::string a = dir.Write("a.txt", "a");
    std::string sub = dir.MakeDirectory("sub");
    ASSERT_TRUE(SetComment(a, "line one\r\nline two"));
    DirectoryListing list;
    AddListPaths(list, {z, sub, a, dir / "gone"});

    std::string first = dir / "first.orl";
    SaveFileList(first, list);
    DirectoryListing loaded;
    LoadFileList(first, loaded);
    EXPECT_EQ(AllCells(loaded), AllCells(list));
    EXPECT_EQ(loaded.GetCreated(), list.GetCreated());
    std::string second = dir / "second.orl";
    SaveFileList(second, loaded);
    EXPECT_EQ(ReadFile(second), ReadFile(first));

    // Rows removed leave gaps in the ids; the file still comes out the same
    // after opening and saving again.
    RemoveListPaths(list, {sub});
    SaveFileList(first, list);
    DirectoryListing again;
    LoadFileList(first, again);
    EXPECT_EQ(AllCells(again), AllCells(list));
    SaveFileList(second, again);
    EXPECT_EQ(ReadFile(second), ReadFile(first));
}

TEST(FileListDocument, OpeningRefusesWhatIsNotAList) {
    TestDirectory dir;
    DirectoryListing list;
    AddRow(list, "kept", "txt", "", 1, false);
    const auto before = AllCells(list);

    EXPECT_THROW(LoadFileList(dir / "missing.orl", list), FileError);

    // A table of other columns.
    QFieldDef other[] = {{"Title", QVT_LPSTR, 0xC06}, {"Extension", QVT_LPSTR, 0xC06}};
    QTable wrong(other, 2);
    SaveTableFile(dir / "wrong.orl", wrong);
    EXPECT_THROW(LoadFileList(dir / "wrong.orl", list), ArchiveError);

    // A truncated list and a row whose Size is a text.
    DirectoryListing good;
    AddRow(good, "a", "b", "c", 1, false);
    AddRow(good, "d", "e", "f", 2, false);
    SaveFileList(dir / "good.orl", good);
    std::string bytes = ReadFile(dir / "good.orl");
    WriteFileAtomically(dir / "cut.orl", std::string_view(bytes).substr(0, bytes.size() - 9));
    EXPECT_THROW(LoadFileList(dir / "cut.orl", list), ArchiveError);
    good.SetValue("Size", 1, QValue(std::string_view("12")));
    SaveTableFile(dir / "typed.orl", good);
    EXPECT_THROW(LoadFileList(dir / "typed.orl", list), ArchiveError);

    EXPECT_EQ(AllCells(list), before);
}

TEST(FileListDocument, ExportOfTitleAndExtension) {
    DirectoryListing list;
    AddRow(list, "report", "txt", "c1", 10, false);
    AddRow(list, "photos", "", "", 0, true);
    AddRow(list, "sub", "d", "", 0, true);
    AddRow(list, "README", "", "", 3, false);
    ListExportOptions options = Only();
    options.title = options.extension = true;
    EXPECT_EQ(ExportListText(list, options), "report.txt\r\n[photos]\r\n[sub.d]\r\nREADME");
    EXPECT_EQ(ExportListText(list, options, 2), "report.txt\r\n[photos]");
    options.title = false; // the extension alone, without a dot
    EXPECT_EQ(ExportListText(list, options), "txt\r\n\r\nd\r\n");
    // The dialog's initial state: name, extension and comment, tab-separated.
    EXPECT_EQ(ExportListText(list, ListExportOptions{}, 1), "report.txt\tc1");
}

TEST(FileListDocument, ExportWithIdAndFields) {
    DirectoryListing list;
    AddRow(list, "big", "iso", "disc", 0xFFFFFFFFu, false, 45000.5);
    AddRow(list, "docs", "", "papers", 0, true, 45001.25);
    list.SetFullSize("/x/big", 5000000000ull);
    ListExportOptions options;
    options.id = options.fields = options.size = options.dateTime = options.attributes = true;
    options.separator = ";";
    EXPECT_EQ(ExportListText(list, options),
              "ID;Name;Comment;Size;Date;Attributes\r\n"
              "1.;big.iso;disc;5 000 000 000;2023 03 15 12:00;-a--\r\n"
              "2.;[docs];papers;0;2023 03 16 06:00;----");
    // As a plain table the Size cell is all there is.
    const QTable& table = list;
    EXPECT_EQ(ExportListText(table, options).substr(38, 34), "1.;big.iso;disc;4 294 967 295;2023");

    // Fields with an empty list: the first line alone, with its line break.
    ListExportOptions fields = Only();
    fields.fields = true;
    EXPECT_EQ(ExportListText(DirectoryListing(), fields), "\r\n");
}

TEST(FileListDocument, StatusFindsDeadAndChangedEntries) {
    TestDirectory dir;
    std::string same = dir.Write("same.txt", "s");
    std::string renamed = dir.Write("renamed.txt", "r");
    std::string commented = dir.Write("commented.txt", "c");
    std::string grown = dir.Write("grown.txt", "g");
    std::string big = dir.Write("big.bin");
    ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(5ull << 30)), 0);
    std::string sub = dir.MakeDirectory("sub");
    ASSERT_TRUE(SetComment(same, "multi\r\nline"));
    DirectoryListing list;
    AddListPaths(list, {same, renamed, commented, grown, big, sub});
    EXPECT_TRUE(CheckListStatus(list).changed.empty());
    EXPECT_TRUE(CheckListStatus(list).dead.empty());

    ASSERT_EQ(::rename(renamed.c_str(), (dir / "other.txt").c_str()), 0);
    ASSERT_TRUE(SetComment(commented, "edited"));
    dir.Write("grown.txt", "gggg");
    ListStatus status = CheckListStatus(list);
    EXPECT_EQ(status.dead, std::vector<std::string>{renamed});
    EXPECT_EQ(status.changed, (std::vector<std::string>{commented, grown}));

    // Updating the information settles the changes; removing drops the dead.
    RefreshListRows(list);
    EXPECT_EQ(RemoveDeadRows(list), 1);
    status = CheckListStatus(list);
    EXPECT_TRUE(status.changed.empty());
    EXPECT_TRUE(status.dead.empty());

    // A list read back from its file compares the same.
    SaveFileList(dir / "l.orl", list);
    DirectoryListing loaded;
    LoadFileList(dir / "l.orl", loaded);
    EXPECT_TRUE(CheckListStatus(loaded).changed.empty());
}
