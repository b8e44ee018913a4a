#include "browse/BrowseHistory.h"
#include "browse/BrowseNavigation.h"
#include "browse/DirectoryListing.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace orvo;

TEST(BrowseNavigation, UpAndUp2Targets) {
    EXPECT_EQ(UpTarget("/home/user/docs"), "/home/user");
    EXPECT_EQ(UpTarget("/home"), "/");
    EXPECT_EQ(UpTarget("/"), std::string(kComputerPath));
    EXPECT_EQ(UpTarget(kComputerPath), "");
    EXPECT_EQ(Up2Target("/"), "/");
    EXPECT_EQ(Up2Target(kComputerPath), "");
}

TEST(BrowseNavigation, TitlesAndTypedPaths) {
    EXPECT_EQ(DocumentTitleFor("/home/u/.config/orvo-browser/TmpDirs/temp03"), "$ temp03 $");
    EXPECT_EQ(DocumentTitleFor("/x/tmpdirs/a"), "$ a $");
    EXPECT_EQ(DocumentTitleFor("/x/TmpDirs"), "/x/TmpDirs");
    EXPECT_EQ(DocumentTitleFor("/"), "/");
    EXPECT_EQ(NormalizeTypedPath("~/music/ ", "/home/u"), "/home/u/music");
    EXPECT_EQ(NormalizeTypedPath("/", "/home/u"), "/");
    EXPECT_EQ(NormalizeTypedPath("Computer/", "/home/u"), "Computer/");
    // Relative texts start at the shown directory; ".." climbs as Up does.
    EXPECT_EQ(NormalizeTypedPath("..", "/home/u", "/srv/a/b"), "/srv/a");
    EXPECT_EQ(NormalizeTypedPath("c/./d/", "/home/u", "/srv"), "/srv/c/d");
    EXPECT_EQ(NormalizeTypedPath("/..", "/home/u", "/srv"), "/");
    EXPECT_EQ(NormalizeTypedPath("~/../v", "/home/u", "/srv"), "/home/v");
    EXPECT_EQ(NormalizeTypedPath("make all", "/home/u", "Computer/"), "make all");
    EXPECT_EQ(FirstCommandWord("  make -j2"), "make");
    EXPECT_EQ(FirstCommandWord("'my tool' x"), "my tool");
    EXPECT_EQ(FirstCommandWord("\"unclosed"), "unclosed");
}

TEST(BrowseNavigation, QuickSearchContainsOrPattern) {
    std::setlocale(LC_ALL, "C.UTF-8");
    const std::vector<std::string> names = {"Report.TXT", "readme", "notes.md", "rep", "a.b.c"};
    auto found = [&](std::string_view typed) {
        std::vector<std::string> matches;
        for (size_t i : QuickSearchCandidates(names, typed))
            matches.push_back(names[i]);
        return matches;
    };
    using Names = std::vector<std::string>;
    // No dot: contained anywhere (letter case ignored).
    EXPECT_EQ(found("rep"), (Names{"Report.TXT", "rep"}));
    EXPECT_EQ(found("EAD"), (Names{"readme"}));
    // With a dot: a pattern for the whole name; names without a dot end in one.
    EXPECT_EQ(found("*.md"), (Names{"notes.md"}));
    EXPECT_EQ(found("re*."), (Names{"readme", "rep"}));
    EXPECT_EQ(found("?.b.*"), (Names{"a.b.c"}));
    // Many stars on a long name stay quick (no exponential backtracking).
    EXPECT_FALSE(WildcardMatch(std::string(5000, 'a'), std::string(60, '*') + "b"));
}

TEST(BrowseHistory, BackThenNewEntryAppends) {
    BrowseHistory h;
    EXPECT_EQ(h.Back(), nullptr);
    h.Add("/a", 0);
    h.Add("/b", 3);
    h.Add("/c", 0);
    ASSERT_NE(h.Back(), nullptr);
    h.SetCurrentRow(7);
    EXPECT_TRUE(h.CanGoForward());
    h.Add("/d", 0);
    EXPECT_FALSE(h.CanGoForward());
    EXPECT_EQ(h.Entries().size(), 4u);
    EXPECT_EQ(h.Back()->path, "/c");
    const BrowseHistory::Entry* b = h.Back();
    EXPECT_EQ(b->path, "/b");
    EXPECT_EQ(b->row, 7);
}
