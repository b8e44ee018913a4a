#include "browse/ClipboardFileList.h"

#include "platform/Shortcut.h"

namespace orvo {

namespace {

bool Unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

// The lines of a text, each without its CR LF or LF.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> LocalPaths(const std::vector<std::string_view>& lines, size_t from) {
    std::vector<std::string> paths;
    for (size_t i = from; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty() || line.front() == '#')
            continue;
        std::string path = PathOfFileUrl(std::string(line));
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace

std::string FileUrlOf(std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (Unreserved(c)) {
            url.push_back(static_cast<char>(c));
        } else {
            url.push_back('%');
            url.push_back(hex[c >> 4]);
            url.push_back(hex[c & 15]);
        }
    }
    return url;
}

std::string FormatUriList(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& p : paths)
        text += FileUrlOf(p) + "\r\n";
    return text;
}

std::string FormatGnomeCopiedFiles(const std::vector<std::string>& paths, bool cut) {
    std::string text = cut ? "cut" : "copy";
    for (const std::string& p : paths)
        text += "\n" + FileUrlOf(p);
    return text;
}

std::vector<std::string> ParseUriList(std::string_view text) {
    return LocalPaths(Lines(text), 0);
}

std::vector<std::string> ParseCopiedFiles(std::string_view text, bool* cut) {
    std::vector<std::string_view> lines = Lines(text);
    size_t verb = 0;
    if (!lines.empty() && lines.front() == "x-special/nautilus-clipboard")
        verb = 1;
    if (lines.size() <= verb || (lines[verb] != "copy" && lines[verb] != "cut"))
        return {};
    if (cut)
        *cut = lines[verb] == "cut";
    return LocalPaths(lines, verb + 1);
}

} // namespace orvo
