#include "fileops/CTreeFinder.h"

#include "../platform/TestDirectory.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

std::vector<std::string> Walk(const std::string& root, bool recursive, bool dots,
                              int linkDepth = 0) {
    CTreeFinder finder;
    finder.SetLinkDepth(linkDepth);
    std::vector<std::string> out;
    if (!finder.Start(root + "/", recursive, dots))
        return out;
    while (finder.FindNext())
        out.push_back(finder.GetFilePath().substr(root.size() + 1));
    return out;
}

size_t IndexOf(const std::vector<std::string>& v, const std::string& s) {
    return static_cast<size_t>(std::find(v.begin(), v.end(), s) - v.begin());
}

} // namespace

TEST(CTreeFinder, DepthFirstEachDirectoryBeforeItsContents) {
    TestDirectory dir;
    dir.Write("t/a/x.txt", "12345");
    dir.Write("t/a/deep/y.txt");
    dir.Write("t/b.txt");
    dir.MakeDirectory("t/empty");
    std::string root = dir / "t";

    std::vector<std::string> all = Walk(root, true, false);
    ASSERT_EQ(all.size(), 6u);
    for (const char* inside : {"a/x.txt", "a/deep"})
        EXPECT_LT(IndexOf(all, "a"), IndexOf(all, inside));
    EXPECT_LT(IndexOf(all, "a/deep"), IndexOf(all, "a/deep/y.txt"));
    // A directory's contents come together, right after it.
    size_t a = IndexOf(all, "a");
    EXPECT_EQ(IndexOf(all, "a/deep/y.txt") - a, 3u);
    EXPECT_EQ(CTreeFinder::Count(root, true, false), 6u);
    EXPECT_EQ(CTreeFinder::Count(root, false, false), 3u);
    EXPECT_EQ(CTreeFinder::Count(root, false, true), 5u); // "." and ".."

    CTreeFinder finder;
    ASSERT_TRUE(finder.Start(root, true, false));
    std::map<std::string, uint64_t> lengths;
    while (finder.FindNext())
        if (!finder.IsDirectory())
            lengths[finder.GetFileName()] = finder.GetLength();
    EXPECT_EQ(lengths["x.txt"], 5u);
    EXPECT_FALSE(finder.Start(dir / "missing", true, false));
}

TEST(CTreeFinder, LinksAreEntriesUnlessALinkDepthFollowsThem) {
    TestDirectory dir;
    dir.Write("outside/secret.txt");
    dir.MakeDirectory("t/sub");
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "t/link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "t/sub/link2").c_str()), 0);
    std::string root = dir / "t";

    std::vector<std::string> plain = Walk(root, true, false);
    EXPECT_EQ(plain.size(), 3u);
    EXPECT_EQ(IndexOf(plain, "link/secret.txt"), plain.size());
    CTreeFinder finder;
    finder.Start(root, false, false);
    while (finder.FindNext()) {
        if (finder.GetFileName() == "link") {
            EXPECT_TRUE(finder.IsSymlink());
            EXPECT_FALSE(finder.IsDirectory());
        }
    }

    // Depth 1: only links met at the first level are followed.
    std::vector<std::string> followed = Walk(root, true, false, 1);
    EXPECT_LT(IndexOf(followed, "link/secret.txt"), followed.size());
    EXPECT_EQ(IndexOf(followed, "sub/link2/secret.txt"), followed.size());
}
