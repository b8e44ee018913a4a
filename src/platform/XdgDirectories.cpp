#include "platform/XdgDirectories.h"

#include "platform/DisplayText.h"
#include "platform/FileIO.h"
#include "platform/PathText.h"

#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

namespace orvo {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string AbsoluteOr(const char* variable, const std::string& fallback) {
    std::string value = Env(variable);
    return !value.empty() && value.front() == '/' ? StripTrailingSlash(value) : fallback;
}

std::vector<std::string> AbsoluteListOr(const char* variable, const char* fallback) {
    std::vector<std::string> dirs;
    for (const std::string& d : SplitList(Env(variable), ':'))
        if (d.front() == '/')
            dirs.push_back(StripTrailingSlash(d));
    return dirs.empty() ? SplitList(fallback, ':') : dirs;
}

std::string Home() {
    std::string home = Env("HOME");
    return home.empty() ? "/" : home;
}

} // namespace

std::string XdgConfigHome() {
    return AbsoluteOr("XDG_CONFIG_HOME", JoinPath(Home(), ".config"));
}

std::string XdgDataHome() {
    return AbsoluteOr("XDG_DATA_HOME", JoinPath(Home(), ".local/share"));
}

std::vector<std::string> XdgConfigDirectories() {
    std::vector<std::string> dirs{XdgConfigHome()};
    for (const std::string& d : AbsoluteListOr("XDG_CONFIG_DIRS", "/etc/xdg"))
        dirs.push_back(d);
    return dirs;
}

std::vector<std::string> ApplicationDirectories() {
    std::vector<std::string> dirs{JoinPath(XdgDataHome(), "applications")};
    for (const std::string& d : AbsoluteListOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
        dirs.push_back(JoinPath(d, "applications"));
    return dirs;
}

std::vector<std::string> CurrentDesktops() {
    return SplitList(Env("XDG_CURRENT_DESKTOP"), ':');
}

std::vector<std::string> MimeAppsListFiles() {
    std::vector<std::string> folders = XdgConfigDirectories();
    for (const std::string& d : ApplicationDirectories())
        folders.push_back(d);
    std::vector<std::string> prefixes;
    for (std::string desktop : CurrentDesktops()) {
        for (char& c : desktop)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        prefixes.push_back(desktop + "-");
    }
    prefixes.emplace_back();
    std::vector<std::string> files;
    for (const std::string& folder : folders)
        for (const std::string& prefix : prefixes)
            files.push_back(JoinPath(folder, prefix + "mimeapps.list"));
    return files;
}

std::string ReadSettingsFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 4 * 1024 * 1024)
        return {};
    try {
        return ReadWholeFile(path);
    } catch (const FileError&) {
        return {};
    }
}

} // namespace orvo
