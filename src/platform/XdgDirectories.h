#pragma once

#include <string>
#include <vector>

namespace orvo {

// Where the desktop keeps its settings and its programs, by the XDG
// base-directory rules: a variable that is unset, empty or relative counts
// as unset. Lists are in precedence order, the user's own folder first.

std::string XdgConfigHome();
std::string XdgDataHome();
// $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS.
std::vector<std::string> XdgConfigDirectories();
// $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS/applications.
std::vector<std::string> ApplicationDirectories();
// Every mimeapps.list that may hold associations, a desktop-specific one
// (from $XDG_CURRENT_DESKTOP, like "gnome-mimeapps.list") before the plain
// one of its folder.
std::vector<std::string> MimeAppsListFiles();
// The names of $XDG_CURRENT_DESKTOP, as written there.
std::vector<std::string> CurrentDesktops();

// The content of a small regular file; empty when it is missing, not a
// regular file, unreadable or too large to be a settings file.
std::string ReadSettingsFile(const std::string& path);

} // namespace orvo
