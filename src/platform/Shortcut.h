#pragma once

#include <string>

namespace orvo {

// Shortcuts are symbolic links. Creating one never replaces an existing
// entry; false when the link cannot be made.
bool CreateShortcut(const std::string& target, const std::string& linkPath);

// The target of a symbolic link, one step, a relative target resolved
// against the link's directory; empty when the path is not a link.
std::string ResolveShortcut(const std::string& linkPath);

enum class ShortcutKind {
    None,    // not a shortcut, or one that names nothing
    Path,    // a local file or directory
    Url,     // anything a browser or the default handler opens
    Command, // a desktop entry's command line (Exec=), field codes removed
};

struct ShortcutTarget {
    ShortcutKind kind = ShortcutKind::None;
    std::string text;
};

// A desktop entry: URL= of a link entry, else Exec= of an application.
// file:// URLs come back as paths.
ShortcutTarget ResolveDesktopFile(const std::string& path);
// A Windows internet shortcut: URL= of [InternetShortcut].
ShortcutTarget ResolveUrlFile(const std::string& path);
// Any of the three by what the entry is: a symbolic link, a ".desktop" or
// a ".url" file (extensions ignoring case).
ShortcutTarget ResolveShortcutFile(const std::string& path);

// The local path of a file:// URL (percent escapes decoded); empty for any
// other URL and for file URLs naming another host.
std::string PathOfFileUrl(const std::string& url);

} // namespace orvo
