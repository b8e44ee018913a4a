#include "comments/CommentPropagation.h"

#include "../platform/TestDirectory.h"
#include "comments/CommentFile.h"
#include "comments/PathComments.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

size_t EntryCount(const std::string& directory) {
    CommentFile file;
    size_t n = file.Load(directory) < 0 ? 0 : file.Entries().size();
    file.Close(false);
    return n;
}

} // namespace

TEST(CommentPropagation, EntryFormsTakeTheCommentAlong) {
    TestDirectory dir;
    std::string a = dir.Write("src/a.txt", "a");
    ASSERT_TRUE(SetComment(a, "note"));
    ASSERT_TRUE(CopyWithComment(a, dir / "dst/a.txt", false, false));
    EXPECT_EQ(GetComment(dir / "dst/a.txt"), "note");
    EXPECT_EQ(GetComment(a), "note");
    ASSERT_TRUE(MoveWithComment(a, dir / "dst/b.txt", false, false));
    EXPECT_EQ(GetComment(dir / "dst/b.txt"), "note");
    EXPECT_EQ(EntryCount(dir / "src"), 0u);
    ASSERT_TRUE(DeleteWithComment(dir / "dst/b.txt", true, true, true));
    EXPECT_EQ(EntryCount(dir / "dst"), 1u); // a.txt's
    EXPECT_FALSE(CopyWithComment(dir / "src/missing", dir / "dst/m", false, false));

    // The plain forms give the target the source's comment even when it is
    // none, so a replaced file does not keep the old one's.
    std::string plain = dir.Write("src/plain.txt", "p");
    std::string target = dir.Write("dst/plain.txt", "old");
    ASSERT_TRUE(SetComment(target, "about the old file"));
    EXPECT_FALSE(CopyFileWithComment(plain, target, true));
    EXPECT_EQ(GetComment(target), "about the old file");
    EXPECT_TRUE(CopyFileWithComment(plain, target, false));
    EXPECT_EQ(GetComment(target), "");
    ASSERT_TRUE(SetComment(plain, "moves"));
    EXPECT_TRUE(MoveFileWithComment(plain, dir / "dst/moved.txt", false));
    EXPECT_EQ(GetComment(dir / "dst/moved.txt"), "moves");
    EXPECT_EQ(EntryCount(dir / "src"), 0u);
}

TEST(CommentPropagation, ALinksCommentStaysWithTheLinkNotWhereItLeads) {
    TestDirectory dir;
    dir.MakeDirectory("src");
    dir.MakeDirectory("dst/other");
    ASSERT_TRUE(SetComment(dir / "dst/other", "the target's own"));
    // Copied, the relative link leads somewhere else: into dst/other.
    ASSERT_EQ(::symlink("../other", (dir / "src/rel").c_str()), 0);
    dir.MakeDirectory("other");
    ASSERT_TRUE(SetEntryComment(dir / "src/rel", "the link"));
    EXPECT_EQ(GetComment(dir / "other"), ""); // nothing written through it

    ASSERT_TRUE(CopyWithComment(dir / "src/rel", dir / "dst/sub/rel", false, false));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dst/sub/rel"));
    EXPECT_EQ(EntryComment(dir / "dst/sub/rel"), "the link");
    EXPECT_EQ(GetComment(dir / "dst/other"), "the target's own");
}
