#include "platform/Shortcut.h"

#include "platform/DisplayText.h"
#include "platform/FileIO.h"
#include "platform/KeyFile.h"
#include "platform/PathText.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvo {

bool CreateShortcut(const std::string& target, const std::string& linkPath) {
    return !target.empty() && ::symlink(target.c_str(), linkPath.c_str()) == 0;
}

std::string ResolveShortcut(const std::string& linkPath) {
    std::string path = StripTrailingSlash(linkPath);
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string target(buffer.data(), static_cast<size_t>(n));
            if (target.empty() || target.front() == '/')
                return target;
            return JoinPath(ParentDirectoryOf(path), target);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string PathOfFileUrl(const std::string& url) {
    if (url.size() < 7 || ::strncasecmp(url.c_str(), "file://", 7) != 0)
        return {};
    std::string rest = url.substr(7);
    size_t slash = rest.find('/');
    if (slash == std::string::npos)
        return {};
    std::string host = rest.substr(0, slash);
    if (!host.empty() && ::strcasecmp(host.c_str(), "localhost") != 0)
        return {};
    const size_t end = rest.find_first_of("?#", slash);
    return DecodeHexEscapes(std::string_view(rest).substr(slash, end - slash), "%");
}

namespace {

ShortcutTarget FromUrl(std::string url) {
    if (url.empty())
        return {};
    std::string path = PathOfFileUrl(url);
    if (!path.empty())
        return {ShortcutKind::Path, path};
    return {ShortcutKind::Url, std::move(url)};
}

// Field codes stand for what a launcher passes; a shortcut's target is the
// command without them. "%%" is a literal percent sign.
std::string WithoutFieldCodes(const std::string& exec) {
    std::string out;
    for (size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '%' && i + 1 < exec.size()) {
            if (exec[i + 1] == '%')
                out.push_back('%');
            ++i;
            continue;
        }
        out.push_back(exec[i]);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

bool ReadSmallFile(const std::string& path, std::string& text) {
    // Shortcut files are a few lines; anything large is not one.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 1024 * 1024)
        return false;
    try {
        text = ReadWholeFile(path);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

bool HasExtension(const std::string& path, const char* extension) {
    std::string_view ext = SplitExtension(FileNameOf(path)).extension;
    return ext.size() == std::char_traits<char>::length(extension) &&
           ::strncasecmp(ext.data(), extension, ext.size()) == 0;
}

} // namespace

ShortcutTarget ResolveDesktopFile(const std::string& path) {
    std::string text;
    if (!ReadSmallFile(path, text))
        return {};
    const char* group = "Desktop Entry";
    std::string type = KeyFileValue(text, group, "Type").value_or("");
    if (type == "Link")
        return FromUrl(KeyFileValue(text, group, "URL").value_or(""));
    if (auto exec = KeyFileValue(text, group, "Exec")) {
        std::string command = WithoutFieldCodes(*exec);
        if (!command.empty())
            return {ShortcutKind::Command, command};
    }
    return {};
}

ShortcutTarget ResolveUrlFile(const std::string& path) {
    std::string text;
    if (!ReadSmallFile(path, text))
        return {};
    return FromUrl(
        KeyFileValue(text, "InternetShortcut", "URL", KeyFileStyle::WindowsIni).value_or(""));
}

ShortcutTarget ResolveShortcutFile(const std::string& path) {
    struct stat st {};
    if (::lstat(StripTrailingSlash(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::string target = ResolveShortcut(path);
        return target.empty() ? ShortcutTarget{} : ShortcutTarget{ShortcutKind::Path, target};
    }
    if (HasExtension(path, "desktop"))
        return ResolveDesktopFile(path);
    if (HasExtension(path, "url"))
        return ResolveUrlFile(path);
    return {};
}

} // namespace orvo
