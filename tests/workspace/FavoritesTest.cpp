#include "workspace/Favorites.h"

#include "../platform/TestDirectory.h"
#include "workspace/TemporaryDirectories.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

std::vector<std::string> Titles(const std::vector<FavoriteNode>& nodes) {
    std::vector<std::string> titles;
    for (const FavoriteNode& n : nodes)
        titles.push_back(n.title);
    return titles;
}

} // namespace

TEST(Favorites, TreeHasDirectoriesFirstAndFileTitlesWithoutExtension) {
    TestDirectory dir;
    dir.Write("fav/zebra.desktop", "[Desktop Entry]\nType=Link\nURL=https://example.org\n");
    dir.Write("fav/Alpha.url", "[InternetShortcut]\nURL=https://example.org\n");
    dir.Write("fav/Work/report.pdf");
    dir.MakeDirectory("fav/Music");
    dir.Write("fav/" + std::string(40, 'n') + ".txt");
    dir.MakeDirectory("target");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "fav/target.lnk").c_str()), 0);

    std::vector<FavoriteNode> tree = ReadFavoritesTree(dir / "fav");
    EXPECT_EQ(Titles(tree),
              (std::vector<std::string>{"Music", "Work", "Alpha", std::string(27, 'n') + "...",
                                        "target", "zebra"}));
    EXPECT_TRUE(tree[1].isMenu);
    EXPECT_EQ(Titles(tree[1].children), std::vector<std::string>{"report"});
    EXPECT_FALSE(tree[4].isMenu); // a link to a directory is a favorite, not a sub-menu
    EXPECT_TRUE(ReadFavoritesTree(dir / "missing").empty());
}

TEST(Favorites, TitlesAreCutByCharacters) {
    EXPECT_EQ(CutMenuTitle(std::string(30, 'a')), std::string(30, 'a'));
    EXPECT_EQ(CutMenuTitle(std::string(31, 'a')), std::string(27, 'a') + "...");
    std::string umlauts;
    for (int i = 0; i < 31; ++i)
        umlauts += "\xC3\xBC"; // 31 characters in 62 bytes
    std::string cut = CutMenuTitle(umlauts);
    EXPECT_EQ(cut.size(), 27u * 2 + 3);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
}

TEST(Favorites, ChoicesLeadToWhatShortcutsPointAt) {
    TestDirectory dir;
    dir.MakeDirectory("Projects");
    std::string file = dir.Write("notes.txt");
    ASSERT_EQ(::symlink((dir / "Projects").c_str(), (dir / "Projects.lnk").c_str()), 0);
    dir.Write("site.url", "[InternetShortcut]\nURL=https://example.org/\n");
    dir.Write("editor.desktop", "[Desktop Entry]\nType=Application\nExec=myeditor --new %F\n");

    FavoriteAction go = ResolveFavorite(dir / "Projects.lnk");
    EXPECT_EQ(go.kind, FavoriteAction::Kind::Navigate);
    EXPECT_EQ(go.target, dir / "Projects");
    EXPECT_EQ(ResolveFavorite(file).kind, FavoriteAction::Kind::OpenFile);
    FavoriteAction url = ResolveFavorite(dir / "site.url");
    EXPECT_EQ(url.kind, FavoriteAction::Kind::OpenUrl);
    EXPECT_EQ(url.target, "https://example.org/");
    FavoriteAction run = ResolveFavorite(dir / "editor.desktop");
    EXPECT_EQ(run.kind, FavoriteAction::Kind::RunCommand);
    EXPECT_EQ(run.argv, (std::vector<std::string>{"myeditor", "--new"}));

    EXPECT_EQ(FavoriteShortcutPath(dir / "fav", "/srv/Projects"), dir / "fav/Projects.lnk");
}

TEST(Favorites, SystemFavoritesFromUserDirectoriesAndBookmarks) {
    TestDirectory dir;
    dir.Write("config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                       "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                       "XDG_PUBLICSHARE_DIR=\"$HOME/\"\n"
                                       "XDG_MUSIC_DIR=\"/data/Music\"\n");
    dir.Write("config/gtk-3.0/bookmarks", "file:///srv/My%20Photos Photos\n"
                                          "file:///data/Music\nsftp://host/share Server\n");
    std::vector<FavoriteNode> nodes = ReadSystemFavorites(dir / "config", "/home/u");
    ASSERT_EQ(Titles(nodes),
              (std::vector<std::string>{"Home", "Desktop", "Music", "Photos", "Server"}));
    EXPECT_EQ(nodes[1].path, "/home/u/Desktop");
    EXPECT_EQ(nodes[3].path, "/srv/My Photos");
    EXPECT_EQ(nodes[4].path, "sftp://host/share");
    EXPECT_EQ(ResolveFavorite(nodes[4].path).kind, FavoriteAction::Kind::OpenUrl);
}

TEST(Favorites, CheckCollectsTargetsAndStopsAtABrokenLink) {
    TestDirectory dir;
    dir.MakeDirectory("one");
    dir.MakeDirectory("fav/deeper");
    ASSERT_EQ(::symlink((dir / "one").c_str(), (dir / "fav/a.lnk").c_str()), 0);
    dir.Write("fav/deeper/site.url", "[InternetShortcut]\nURL=https://example.org/\n");
    dir.Write("fav/plain.txt");
    FavoritesCheck good = CheckFavoritesIn(dir / "fav");
    EXPECT_TRUE(good.problem.empty());
    std::sort(good.targets.begin(), good.targets.end());
    EXPECT_EQ(good.targets, (std::vector<std::string>{dir / "one", "https://example.org/"}));

    // A walk that takes too long names the favorite it had reached.
    FavoritesCheck slow = CheckFavoritesIn(dir / "fav", std::chrono::milliseconds(-1));
    EXPECT_FALSE(slow.problem.empty());
    EXPECT_EQ(slow.targets.size(), 1u);

    ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "fav/deeper/broken").c_str()), 0);
    FavoritesCheck bad = CheckFavoritesIn(dir / "fav");
    EXPECT_EQ(bad.problem, dir / "fav/deeper/broken");
}

TEST(TemporaryDirectories, NamedTempThenTemp00AndTemp01) {
    TestDirectory dir;
    std::string root = dir / "data/TmpDirs";
    std::vector<std::string> made;
    for (int i = 0; i < 3; ++i) {
        std::string next = NextTemporaryDirectory(root);
        ASSERT_EQ(::mkdir(next.c_str(), 0755), 0) << next;
        made.push_back(next);
    }
    EXPECT_EQ(made, (std::vector<std::string>{root + "/temp", root + "/temp00", root + "/temp01"}));
    dir.Write("file");
    EXPECT_EQ(NextTemporaryDirectory(dir / "file/TmpDirs"), "");
}
