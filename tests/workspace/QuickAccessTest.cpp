#include "workspace/QuickAccess.h"

#include "../platform/TestDirectory.h"
#include "comments/PathComments.h"
#include "fileops/RegisteredOperations.h"
#include "store/ListingFields.h"

#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

using Names = std::vector<std::string>;

// A view table (variant B: Directory is a precedence key), the parent
// entry on row 0 when asked.
struct Source : QTable {
    explicit Source(bool withParent = true) : QTable(kListingFieldsB, kListingFieldCount) {
        if (withParent)
            Add("..", "", false, 0.0, "/d");
    }
    Source& Add(std::string_view name, std::string_view extension, bool directory, double date,
                std::string path = {}) {
        QRecord row = NewRecord();
        row.SetValue("Name", QValue(name));
        row.SetValue("Extension", QValue(extension));
        row.SetValue("Directory", QValue(directory, QVT_BOOL));
        row.SetValue("Date", QValue(date, QVT_DATE));
        if (path.empty())
            path =
                "/d/" + std::string(name) + (extension.empty() ? "" : ".") + std::string(extension);
        row.SetValue("Path", QValue(std::string_view(path)));
        AddRecord(row);
        return *this;
    }
};

Names NamesOf(const QTable& table) {
    Names names;
    for (int r = 0; r < table.GetRecordCount(); ++r)
        names.push_back(table.GetText("Name", r));
    return names;
}

QTable Catalog(std::vector<std::pair<std::string, std::string>> rows) {
    QFieldDef fields[] = {{"Title", QVT_LPSTR, 0xC06}, {"Extension", QVT_LPSTR, 0xC06}};
    QTable catalog(fields, 2);
    for (const auto& [title, extension] : rows) {
        QRecord row = catalog.NewRecord();
        row.SetValue("Title", QValue(std::string_view(title)));
        row.SetValue("Extension", QValue(std::string_view(extension)));
        catalog.AddRecord(row);
    }
    return catalog;
}

} // namespace

TEST(QuickAccess, ImportantTakesTwoNewestDirectoriesAndFilesThenCatalogMatches) {
    Source source;
    source.Add("dir1", "", true, 10)
        .Add("a", "txt", false, 15)
        .Add("dir2", "", true, 20)
        .Add("b", "txt", false, 25)
        .Add("dir3", "", true, 30)
        .Add("c", "txt", false, 35)
        .Add("dir_info", "orb", false, 40)
        .Add("picture", "png", false, 12);
    QTable catalog = Catalog({{"*", "TXT"}, {"A", "*"}});
    QTable result;
    PickImportant(source, &catalog, result);
    EXPECT_EQ(NamesOf(result), (Names{"dir3", "dir2", "c", "b", "a", "a", "b", "c"}));
    EXPECT_EQ(result.Columns(), source.Columns());
    EXPECT_EQ(result.GetText("Path", 2), "/d/c.txt");

    PickImportant(source, nullptr, result); // filled anew
    EXPECT_EQ(NamesOf(result), (Names{"dir3", "dir2", "c", "b"}));
    PickImportant(Source(), &catalog, result);
    EXPECT_EQ(NamesOf(result), Names{});
}

TEST(QuickAccess, ImportantSortsByDateWithoutDirectoriesFirst) {
    // No parent entry: the oldest row is the one never taken, whatever it is.
    Source source(false);
    source.Add("old", "txt", false, 5).Add("y", "", true, 10).Add("z", "", true, 20);
    QTable catalog = Catalog({{"*", "*"}});
    QTable result;
    PickImportant(source, &catalog, result);
    EXPECT_EQ(NamesOf(result), (Names{"z", "y", "y", "z"}));
}

TEST(QuickAccess, QuickSearchMatchesNameDotExtensionSortedByName) {
    Source source;
    source.Add("Zeta", "TXT", false, 1)
        .Add("alpha", "doc", false, 2)
        .Add("Beta", "txt", false, 3)
        .Add("readme", "", false, 4)
        .Add("docs", "", true, 5)
        .Add("notes", "txt", true, 6);
    QTable result;
    PickQuickSearch(source, "*.TXT; *.doc", result);
    // Sorted by Name as the view sorts: directories first.
    EXPECT_EQ(NamesOf(result), (Names{"notes", "alpha", "Beta", "Zeta"}));
    // A name without an extension is "name.": "*." finds it, "*.txt" not.
    PickQuickSearch(source, "*.", result);
    EXPECT_EQ(NamesOf(result), (Names{"docs", "readme"}));
    PickQuickSearch(source, "*", result); // never the parent entry
    EXPECT_EQ(result.GetRecordCount(), 6);
    PickQuickSearch(source, "eta", result);
    EXPECT_EQ(NamesOf(result), (Names{"Beta", "Zeta"}));
    PickQuickSearch(source, "", result);
    EXPECT_EQ(result.GetRecordCount(), 0);
}

TEST(QuickAccess, MovedCopiedListsRegisteredPaths) {
    ClearRegisteredOperationPaths();
    Source source;
    source.Add("a", "txt", false, 1).Add("b", "txt", false, 2).Add("c", "txt", false, 3);
    QTable result;
    PickMovedCopied(source, result, IsRegisteredOperationPath);
    EXPECT_EQ(NamesOf(result), Names{"There were no registered operations in this directory."});
    EXPECT_EQ(result.GetText("Path", 0), "");

    RegisterOperationPath("/d/c.txt");
    RegisterOperationPath("/d/a.txt");
    RegisterOperationPath("/d"); // the directory itself: its parent entry is no pick
    PickMovedCopied(source, result, IsRegisteredOperationPath);
    EXPECT_EQ(NamesOf(result), (Names{"a", "c"}));
    ClearRegisteredOperationPaths();

    // The time limit ends the scan after the row during which it passed.
    int asked = 0;
    PickMovedCopied(
        source, result,
        [&](const std::string&) {
            if (++asked == 2)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return true;
        },
        std::chrono::milliseconds(10));
    EXPECT_EQ(NamesOf(result), (Names{"a", "b", "!!!Too many. 10 secs. time_out"}));
}

TEST(QuickAccess, InfoTexts) {
    TestDirectory dir;
    std::string file = dir.Write("notes.txt");
    ASSERT_EQ(::truncate(file.c_str(), 1234567), 0);
    ASSERT_TRUE(SetComment(file, "hello"));
    std::string text = QuickAccessInfoText(file, "text/plain");
    const std::string time = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d-\\d\\d";
    EXPECT_TRUE(std::regex_match(text, std::regex("  Name : notes\\.txt\r\n  Size:1 234 567"
                                                  "\r\n  Created:\r\n " +
                                                  time + "\r\n  Modified:\r\n " + time +
                                                  "\r\n  Acessed:\r\n " + time +
                                                  "\r\n  Attr      : ,Archive"
                                                  "\r\n  Type: text/plain"
                                                  "\r\n  Comment:\r\n hello")))
        << text;

    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    ASSERT_EQ(::symlink("notes.txt", (dir / "link").c_str()), 0);
    text = QuickAccessInfoText(dir / "link", "text/plain");
    EXPECT_NE(text.find("  Name : link\r\n  Size:1 234 567\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n  Attr      :  ReadOnly,Archive\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n  Link target: " + file), std::string::npos) << text;
    EXPECT_EQ(text.find("Comment"), std::string::npos);

    std::string sub = dir.MakeDirectory("sub");
    EXPECT_NE(
        QuickAccessInfoText(sub + "/", "inode/directory").find("  Name : sub\r\n  Size:0\r\n"),
        std::string::npos);
    EXPECT_EQ(QuickAccessInfoText(dir / "gone", ""), "  Name : gone");

    EXPECT_EQ(QuickAccessSelectionText(3, 5000000000ull),
              "3 items selected\r\n  Total size: 5 000 000 000");
}
