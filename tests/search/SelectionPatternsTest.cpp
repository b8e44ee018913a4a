#include "search/SelectionPatterns.h"

#include "search/QuickSearchForm.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace {

std::vector<SelectableRow> Rows(std::initializer_list<const char*> names) {
    std::vector<SelectableRow> rows{{"..", false, true}};
    for (const char* n : names)
        rows.push_back({n, false, false});
    return rows;
}

std::vector<std::string> Chosen(const std::vector<SelectableRow>& rows,
                                const SelectionOutcome& out) {
    std::vector<std::string> names;
    for (size_t i = 0; i < rows.size(); ++i)
        if (out.selected[i])
            names.push_back(rows[i].name);
    return names;
}

using Names = std::vector<std::string>;

} // namespace

TEST(SelectionPatterns, IncludeExcludeAndKeep) {
    auto rows =
        Rows({"a.bmp", "b.BMP", "scan12.tif", "scan.tif", "memo-2024.txt", "notes.txt", "Memo"});
    EXPECT_EQ(Chosen(rows, ApplySelectionPatterns(rows, "*.bmp", "", false)),
              (Names{"a.bmp", "b.BMP"}));
    EXPECT_EQ(Chosen(rows, ApplySelectionPatterns(rows, "*.bmp", "a*", false)), (Names{"b.BMP"}));
    EXPECT_EQ(Chosen(rows, ApplySelectionPatterns(rows, "*[0-9]*.tif", "", false)),
              (Names{"scan12.tif"}));
    EXPECT_EQ(Chosen(rows, ApplySelectionPatterns(rows, "memo", "", false)),
              (Names{"memo-2024.txt", "Memo"}));
    // ".." is never selected, whatever matches it.
    EXPECT_EQ(Chosen(rows, ApplySelectionPatterns(rows, "*", "", false)).front(), "a.bmp");

    // Rows matching neither list keep their state unless the caller clears.
    rows[6].selected = true; // notes.txt
    rows[1].selected = true; // a.bmp
    SelectionOutcome out = ApplySelectionPatterns(rows, "*.tif", "*.bmp", false);
    EXPECT_EQ(Chosen(rows, out), (Names{"scan12.tif", "scan.tif", "notes.txt"}));
    EXPECT_EQ(out.focusRow, 4); // the last row an include pattern selected
    out = ApplySelectionPatterns(rows, "*.tif", "", true);
    EXPECT_EQ(Chosen(rows, out), (Names{"scan12.tif", "scan.tif"}));
    EXPECT_EQ(ApplySelectionPatterns(rows, "nothing", "", false).focusRow, -1);
}

TEST(SelectionPatterns, PatternsMadeAndChosen) {
    EXPECT_EQ(MakeSelectionPattern({"BMP", "txt", "bmp", ""}), "*.bmp;*.txt;*.");
    EXPECT_EQ(ChoosePattern("*.bmp", "*.tif", false), "*.tif");
    EXPECT_EQ(ChoosePattern("*.bmp", "*.tif", true), "*.bmp;*.tif");
    EXPECT_EQ(ChoosePattern("", "*.tif", true), "*.tif");
    EXPECT_EQ(ExtensionListPattern("jpg;gif; *.tar.gz;"), "*.jpg;*.gif;*.tar.gz");

    // "*." made from an entry without extension selects such entries.
    auto rows = Rows({"README", "a.txt"});
    EXPECT_EQ(Chosen(rows, ApplySelectionPatterns(rows, MakeSelectionPattern({""}), "", false)),
              (Names{"README"}));
}

TEST(QuickSearchForm, NamesAndQuotedText) {
    EXPECT_FALSE(ParseQuickSearchForm("/home/me"));
    auto form = ParseQuickSearchForm("?*.txt;*.md \"to do\"");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->names, "*.txt;*.md");
    EXPECT_EQ(form->text, "to do");
    EXPECT_TRUE(form->hasText);

    form = ParseQuickSearchForm("? \"open quote");
    EXPECT_EQ(form->names, "");
    EXPECT_EQ(form->text, "open quote");
    form = ParseQuickSearchForm("?report");
    EXPECT_EQ(form->names, "report");
    EXPECT_FALSE(form->hasText);

    RememberSearchText("kept");
    EXPECT_EQ(RememberedSearchText(), "kept");
}
