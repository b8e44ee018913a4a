#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Favorites are the files and directories of a directory of the program;
// the favorites menu shows that tree.

// The data directory's "Favorites".
std::string FavoritesDirectory();

// One item of the favorites menu: a directory is a sub-menu with children,
// anything else an item that leads to its path.
struct FavoriteNode {
    std::string title;
    std::string path;
    bool isMenu = false;
    std::vector<FavoriteNode> children;
};

// The tree of a directory, each level by name with directories first; a
// file's title is its name without the extension. Symbolic links to
// directories are items (favorites), not sub-menus. A missing directory
// gives no items.
std::vector<FavoriteNode> ReadFavoritesTree(const std::string& directory);

// A menu title cut to at most maxCharacters characters, ending in "..."
// when cut (characters, not bytes, so a name never breaks inside one).
std::string CutMenuTitle(std::string_view title, size_t maxCharacters = 30);

// The shortcut "Add current to favorites" makes for a directory: the
// directory's own name (a root's first character) + ".lnk".
std::string FavoriteShortcutPath(const std::string& favoritesDirectory,
                                 const std::string& directory);

// What choosing a favorite does.
struct FavoriteAction {
    enum class Kind { Nothing, Navigate, OpenFile, OpenUrl, RunCommand };
    Kind kind = Kind::Nothing;
    std::string target;            // directory, file or URL
    std::vector<std::string> argv; // RunCommand
};
// A shortcut (symbolic link, .desktop or .url file) is replaced by what it
// leads to; a directory is navigated to, anything else opened.
FavoriteAction ResolveFavorite(const std::string& path);

// The favorites of the desktop itself: the XDG user directories and the
// GTK bookmarks (files of the given configuration directory and home).
std::vector<FavoriteNode> ReadSystemFavorites(const std::string& configDirectory,
                                              const std::string& home);
std::vector<FavoriteNode> ReadSystemFavorites();

inline constexpr const char* kBrokenFavoriteText =
    "One of the links in your Orvo favorites is broken (points to an unexisting location). "
    "Repairing that would speed up Orvo's starting procedure.";

// The walk of CheckFavorites: the targets of the shortcuts below the
// directory (links, .desktop, .url, and .lnk/.pif names) and the first
// favorite that is broken or that made the walk exceed the time limit,
// which ends the walk.
struct FavoritesCheck {
    std::vector<std::string> targets;
    std::string problem; // the favorite's path; empty when all went well
};
FavoritesCheck CheckFavoritesIn(const std::string& directory,
                                std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// The process-wide favorite targets a listing marks. Runs the check once
// (again only with force); the message to show, when there is one, goes
// to problemText ("" otherwise).
const std::vector<std::string>& CheckFavorites(bool force, std::string* problemText = nullptr);
const std::vector<std::string>& FavoriteTargets();

} // namespace orvo
