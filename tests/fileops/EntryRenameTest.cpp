#include "fileops/EntryRename.h"

#include "../platform/TestDirectory.h"
#include "comments/PathComments.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace orvo {
namespace {

using test::TestDirectory;

// The comment goes with the entry and nothing else moves: not another
// entry's comment, not another entry.
TEST(RenameWithComment, TheCommentFollowsAndNothingIsReplaced) {
    TestDirectory dir;
    std::string lower = dir.Write("a.txt", "lower");
    std::string upper = dir.Write("A.TXT", "upper");
    std::string other = dir.Write("other.txt", "other");
    ASSERT_TRUE(SetComment(upper, "upper's comment"));
    ASSERT_TRUE(SetComment(other, "other's comment"));

    // The uncommented twin takes nothing of its twin's along.
    ASSERT_TRUE(RenameWithComment(lower, dir / "b.txt"));
    EXPECT_EQ(GetComment(dir / "b.txt"), "");
    EXPECT_EQ(GetComment(upper), "upper's comment");

    // A commented entry's comment follows it, also to a name of other case.
    ASSERT_TRUE(RenameWithComment(upper, dir / "a.txt"));
    EXPECT_EQ(GetComment(dir / "a.txt"), "upper's comment");
    EXPECT_EQ(test::ReadFile(dir / "a.txt"), "upper");

    // An existing name is never overwritten, and both keep their comments.
    EXPECT_FALSE(RenameWithComment(dir / "a.txt", other));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(test::ReadFile(other), "other");
    EXPECT_EQ(GetComment(other), "other's comment");
    EXPECT_EQ(GetComment(dir / "a.txt"), "upper's comment");
}

} // namespace
} // namespace orvo
