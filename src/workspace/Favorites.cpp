#include "workspace/Favorites.h"

#include "browse/FileCommands.h"
#include "comments/CommentFile.h"
#include "fileops/CTreeFinder.h"
#include "platform/DataDirectory.h"
#include "platform/DesktopPrograms.h"
#include "platform/DisplayText.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/Shortcut.h"
#include "store/Collation.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace orvo {

namespace {

// Sub-menus deeper than this are left out: a menu nobody can reach.
constexpr int kMaxMenuDepth = 16;

void ReadLevel(const std::string& directory, std::vector<FavoriteNode>& out, int depth) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return;
    struct Entry {
        std::string name;
        bool isDirectory;
    };
    std::vector<Entry> entries;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || name == kCommentFileName)
            continue;
        struct stat st;
        bool isDirectory =
            ::lstat(JoinPath(directory, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({std::move(name), isDirectory});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.isDirectory != b.isDirectory)
            return a.isDirectory;
        int c = CollateStrings(a.name, b.name, false);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    for (Entry& e : entries) {
        FavoriteNode node;
        node.path = JoinPath(directory, e.name);
        if (e.isDirectory) {
            if (depth >= kMaxMenuDepth)
                continue;
            node.title = CutMenuTitle(e.name);
            node.isMenu = true;
            ReadLevel(node.path, node.children, depth + 1);
        } else {
            std::string_view stem = SplitExtension(e.name).stem;
            node.title = CutMenuTitle(stem.empty() ? std::string_view(e.name) : stem);
        }
        out.push_back(std::move(node));
    }
}

bool IsUrl(const std::string& text) {
    size_t colon = text.find("://");
    return colon != std::string::npos && colon > 0 && text.front() != '/';
}

bool IsShortcutFile(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return true;
    std::string ext = LowerCaseText(SplitExtension(FileNameOf(path)).extension);
    return ext == "lnk" || ext == "url" || ext == "pif" || ext == "desktop";
}

std::string Unquote(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string ReadSmallText(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 1024 * 1024)
        return {};
    try {
        return ReadWholeFile(path);
    } catch (const FileError&) {
        return {};
    }
}

} // namespace

std::string FavoritesDirectory() {
    return DataFilePath("Favorites");
}

std::vector<FavoriteNode> ReadFavoritesTree(const std::string& directory) {
    std::vector<FavoriteNode> nodes;
    ReadLevel(StripTrailingSlash(directory), nodes, 0);
    return nodes;
}

std::string CutMenuTitle(std::string_view title, size_t maxCharacters) {
    auto isLead = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    size_t characters = 0;
    for (char c : title)
        characters += isLead(c);
    if (characters <= maxCharacters)
        return std::string(title);
    const size_t keep = maxCharacters > 3 ? maxCharacters - 3 : 0;
    size_t seen = 0, end = 0;
    for (; end < title.size(); ++end) {
        if (isLead(title[end]) && seen++ == keep)
            break;
    }
    return std::string(title.substr(0, end)) + "...";
}

std::string FavoriteShortcutPath(const std::string& favoritesDirectory,
                                 const std::string& directory) {
    return ShortcutPathIn(favoritesDirectory, directory);
}

FavoriteAction ResolveFavorite(const std::string& path) {
    FavoriteAction action;
    std::string target = path;
    if (IsUrl(path)) {
        target = PathOfFileUrl(path);
        if (target.empty()) {
            action.kind = FavoriteAction::Kind::OpenUrl;
            action.target = path;
            return action;
        }
    } else if (IsShortcutFile(path)) {
        ShortcutTarget resolved = ResolveShortcutFile(path);
        switch (resolved.kind) {
        case ShortcutKind::Path:
            target = resolved.text;
            break;
        case ShortcutKind::Url:
            action.kind = FavoriteAction::Kind::OpenUrl;
            action.target = resolved.text;
            return action;
        case ShortcutKind::Command: {
            std::vector<std::string> argv = ExpandExecLine(resolved.text, std::string());
            argv.erase(std::remove(argv.begin(), argv.end(), std::string()), argv.end());
            if (!argv.empty()) {
                action.kind = FavoriteAction::Kind::RunCommand;
                action.argv = std::move(argv);
                return action;
            }
            break;
        }
        case ShortcutKind::None:
            break; // opened as it is, where it fails visibly
        }
    }
    action.target = target;
    action.kind =
        IsDirectory(target) ? FavoriteAction::Kind::Navigate : FavoriteAction::Kind::OpenFile;
    return action;
}

std::vector<FavoriteNode> ReadSystemFavorites(const std::string& configDirectory,
                                              const std::string& home) {
    std::vector<FavoriteNode> nodes;
    auto add = [&](const std::string& path, std::string title) {
        if (path.empty() || StripTrailingSlash(path) == StripTrailingSlash(home))
            return;
        for (const FavoriteNode& n : nodes)
            if (n.path == path)
                return;
        if (title.empty())
            title = std::string(FileNameOf(StripTrailingSlash(path)));
        nodes.push_back({CutMenuTitle(title.empty() ? path : title), path, false, {}});
    };
    if (!home.empty())
        nodes.push_back({"Home", home, false, {}});
    std::string dirs = ReadSmallText(JoinPath(configDirectory, "user-dirs.dirs"));
    for (std::string_view line : SplitLines(dirs)) {
        if (line.empty() || line.front() == '#')
            continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || line.substr(0, 4) != "XDG_")
            continue;
        std::string value = Unquote(std::string(line.substr(eq + 1)));
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        if (!value.empty() && value.front() == '/')
            add(StripTrailingSlash(value), {});
    }
    std::string bookmarks = ReadSmallText(JoinPath(configDirectory, "gtk-3.0/bookmarks"));
    for (std::string_view line : SplitLines(bookmarks)) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        size_t blank = line.find(' ');
        std::string uri(line.substr(0, blank));
        std::string label =
            blank == std::string_view::npos ? std::string() : std::string(line.substr(blank + 1));
        std::string local = PathOfFileUrl(uri);
        add(local.empty() ? uri : StripTrailingSlash(local), label);
    }
    return nodes;
}

std::vector<FavoriteNode> ReadSystemFavorites() {
    const char* home = std::getenv("HOME");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string h = home ? home : "";
    std::string c =
        config && *config == '/' ? std::string(config) : JoinPath(h.empty() ? "/" : h, ".config");
    return ReadSystemFavorites(c, h);
}

FavoritesCheck CheckFavoritesIn(const std::string& directory, std::chrono::milliseconds limit) {
    FavoritesCheck check;
    const auto start = std::chrono::steady_clock::now();
    CTreeFinder finder;
    if (!finder.Start(directory, true, false))
        return check;
    while (finder.FindNext()) {
        if (finder.IsDirectory())
            continue;
        const std::string& path = finder.GetFilePath();
        if (!IsShortcutFile(path))
            continue;
        ShortcutTarget resolved = ResolveShortcutFile(path);
        std::string target = resolved.kind == ShortcutKind::Path ? StripTrailingSlash(resolved.text)
                             : resolved.kind == ShortcutKind::None ? std::string()
                                                                   : resolved.text;
        // A link whose target has gone is as broken as one naming nothing.
        if (resolved.kind == ShortcutKind::Path && !PathExists(target))
            target.clear();
        if (!target.empty())
            check.targets.push_back(target);
        if (target.empty() || std::chrono::steady_clock::now() - start > limit) {
            check.problem = path;
            break;
        }
    }
    return check;
}

namespace {
std::vector<std::string>& Targets() {
    static std::vector<std::string> targets;
    return targets;
}
// Once per run: a favorites tree without any link (or with a broken first
// one) would otherwise be walked, and reported, after every listing.
bool checked = false;
} // namespace

const std::vector<std::string>& CheckFavorites(bool force, std::string* problemText) {
    if (problemText)
        problemText->clear();
    std::vector<std::string>& targets = Targets();
    if (checked && !force)
        return targets;
    checked = true;
    FavoritesCheck check = CheckFavoritesIn(FavoritesDirectory());
    targets = std::move(check.targets);
    if (!check.problem.empty() && problemText)
        *problemText = std::string(kBrokenFavoriteText) + "\r\n" + check.problem;
    return targets;
}

const std::vector<std::string>& FavoriteTargets() {
    return Targets();
}

} // namespace orvo
