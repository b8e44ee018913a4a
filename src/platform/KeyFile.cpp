#include "platform/KeyFile.h"

#include <strings.h>

namespace orvo {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool Same(std::string_view a, std::string_view b, bool ignoreCase) {
    if (a.size() != b.size())
        return false;
    return ignoreCase ? ::strncasecmp(a.data(), b.data(), a.size()) == 0 : a == b;
}

std::string Unescape(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out.push_back(v[i]);
            continue;
        }
        char c = v[++i];
        switch (c) {
        case 's':
            out.push_back(' ');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 't':
            out.push_back('\t');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case '\\':
            out.push_back('\\');
            break;
        default: // not ours to decode (Exec quoting uses its own escapes)
            out.push_back('\\');
            out.push_back(c);
        }
    }
    return out;
}

// Calls visit(key, raw value) for each entry of the group until it
// returns true.
template <typename Visit>
void ForEachEntry(std::string_view text, std::string_view group, bool ignoreCase, Visit&& visit) {
    bool inGroup = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            inGroup = close != std::string_view::npos &&
                      Same(line.substr(1, close - 1), group, ignoreCase);
            continue;
        }
        if (!inGroup)
            continue;
        size_t eq = line.find('=');
        if (eq != std::string_view::npos &&
            visit(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))))
            return;
    }
}

} // namespace

std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key, KeyFileStyle style) {
    bool ignoreCase = style == KeyFileStyle::WindowsIni;
    std::optional<std::string> found;
    ForEachEntry(text, group, ignoreCase, [&](std::string_view k, std::string_view value) {
        if (!Same(k, key, ignoreCase))
            return false;
        found = ignoreCase ? std::string(value) : Unescape(value);
        return true;
    });
    return found;
}

std::map<std::string, std::string, std::less<>> KeyFileGroup(std::string_view text,
                                                             std::string_view group) {
    std::map<std::string, std::string, std::less<>> entries;
    ForEachEntry(text, group, false, [&](std::string_view k, std::string_view value) {
        entries.emplace(std::string(k), Unescape(value));
        return false;
    });
    return entries;
}

} // namespace orvo
