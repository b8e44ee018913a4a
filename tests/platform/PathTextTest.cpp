#include "platform/PathText.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST(PathText, SplitsAtTheLastDot) {
    struct Case {
        const char* name;
        const char* stem;
        const char* extension;
    };
    for (const Case& c : {Case{"archive.tar.gz", "archive.tar", "gz"}, Case{".profile", "", "profile"},
                          Case{"README", "README", ""}, Case{"trailing.", "trailing", ""}}) {
        NameParts parts = SplitExtension(c.name);
        EXPECT_EQ(parts.stem, c.stem) << c.name;
        EXPECT_EQ(parts.extension, c.extension) << c.name;
    }
}

TEST(PathText, RootKeepsItsSeparator) {
    EXPECT_EQ(StripTrailingSlash("/"), "/");
    EXPECT_EQ(StripTrailingSlash("/home/"), "/home");
    EXPECT_EQ(JoinPath("/", "etc"), "/etc");
    EXPECT_EQ(JoinPath("/home/u", "a b"), "/home/u/a b");
    EXPECT_EQ(ParentDirectoryOf("/etc"), "/");
    EXPECT_EQ(ParentDirectoryOf("/home/u/file.txt"), "/home/u");
    EXPECT_EQ(FileNameOf("/home/u/file.txt"), "file.txt");
    // A backslash is part of a name, never a separator.
    EXPECT_EQ(FileNameOf("/tmp/a\\b"), "a\\b");
}
