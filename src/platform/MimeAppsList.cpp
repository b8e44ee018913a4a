#include "platform/MimeAppsList.h"

#include "platform/DesktopApplications.h"
#include "platform/DisplayText.h"
#include "platform/FileIO.h"
#include "platform/PathText.h"
#include "platform/XdgDirectories.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvo {

namespace {

constexpr std::string_view kAdded = "Added Associations";
constexpr std::string_view kRemoved = "Removed Associations";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// A line with its own line break, so that untouched lines go back as they
// came, and the group it stands in.
struct Line {
    std::string text;
    std::string group;
    std::string_view Content() const { return Trim(text); }
    bool IsKey(std::string_view key) const {
        std::string_view c = Content();
        size_t eq = c.find('=');
        return eq != std::string_view::npos && Trim(c.substr(0, eq)) == key;
    }
    std::string_view Value() const {
        std::string_view c = Content();
        return Trim(c.substr(c.find('=') + 1));
    }
    std::string Break() const {
        size_t end = text.size();
        while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r'))
            --end;
        return text.substr(end);
    }
};

std::vector<Line> ReadLines(std::string_view text) {
    std::vector<Line> lines;
    std::string group;
    const std::vector<std::string_view> pieces = SplitLines(text);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const bool last = i + 1 == pieces.size();
        if (last && pieces[i].empty())
            break;
        Line line{std::string(pieces[i]) + (last ? "" : "\n"), {}};
        std::string_view c = line.Content();
        if (!c.empty() && c.front() == '[' && c.find(']') != std::string_view::npos)
            group = std::string(c.substr(1, c.find(']') - 1));
        line.group = group;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& ids) {
    std::string out;
    for (const std::string& id : ids)
        out += id + ";";
    return out;
}

std::string EscapedValue(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (i == 0 && (c == ' ' || c == '\t'))
            out += c == ' ' ? "\\s" : "\\t";
        else
            out.push_back(c);
    }
    return out;
}

// A file-name part made of the program's name: letters, digits and a few
// marks, so that the entry's id is a plain one.
std::string NamePart(std::string_view name) {
    std::string out;
    for (char c : name.substr(0, 40))
        out.push_back(
            std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '+' ? c
                                                                                            : '_');
    return out.empty() ? "command" : out;
}

} // namespace

std::string WithApplicationRemembered(std::string_view text, std::string_view mimeType,
                                      std::string_view desktopId) {
    std::vector<Line> lines = ReadLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].group != kRemoved || !lines[i].IsKey(mimeType))
            continue;
        std::vector<std::string> ids = SplitList(lines[i].Value());
        size_t before = ids.size();
        std::erase(ids, std::string(desktopId));
        if (ids.size() == before)
            continue;
        if (ids.empty())
            lines.erase(lines.begin() + static_cast<long>(i--));
        else
            lines[i].text = std::string(mimeType) + "=" + Joined(ids) + lines[i].Break();
    }

    std::vector<std::string> ids{std::string(desktopId)};
    long at = -1;       // the type's line in the group
    long groupEnd = -1; // after the group's last line that is not blank
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].group != kAdded)
            continue;
        if (!lines[i].Content().empty())
            groupEnd = static_cast<long>(i) + 1;
        if (at < 0 && lines[i].IsKey(mimeType)) {
            at = static_cast<long>(i);
            for (std::string& id : SplitList(lines[i].Value()))
                if (id != desktopId)
                    ids.push_back(std::move(id));
        }
    }
    const std::string entry = std::string(mimeType) + "=" + Joined(ids);
    if (at >= 0) {
        lines[at].text = entry + lines[at].Break();
    } else if (groupEnd >= 0) {
        // The line before may be a last one without a line break.
        Line& last = lines[groupEnd - 1];
        if (last.Break().empty())
            last.text += "\n";
        lines.insert(lines.begin() + groupEnd, Line{entry + "\n", std::string(kAdded)});
    } else {
        std::string head;
        if (!lines.empty() && lines.back().Break().empty())
            head = "\n";
        if (!lines.empty())
            head += "\n";
        lines.push_back(Line{head + "[" + std::string(kAdded) + "]\n" + entry + "\n", {}});
    }
    std::string out;
    for (const Line& line : lines)
        out += line.text;
    return out;
}

void RememberApplication(std::string_view mimeType, std::string_view desktopId) {
    const std::string folder = XdgConfigHome();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = JoinPath(folder, "mimeapps.list");
    struct stat st {};
    std::string text;
    if (::stat(path.c_str(), &st) == 0)
        text = ReadWholeFile(path); // a file that cannot be read is not overwritten
    WriteFileAtomically(path, WithApplicationRemembered(text, mimeType, desktopId));
}

void SaveUserApplication(DesktopApplication& app, std::string_view mimeType) {
    const std::string folder = JoinPath(XdgDataHome(), "applications");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string path = JoinPath(folder, "userapp-" + NamePart(app.name) + "-XXXXXX.desktop");
    int fd = ::mkstemps(path.data(), 8);
    if (fd < 0)
        throw FileError(folder, errno, "create a file in");
    ::fchmod(fd, 0644);
    ::close(fd);
    std::string entry = "[Desktop Entry]\nType=Application\nName=" + EscapedValue(app.name) +
                        "\nExec=" + EscapedValue(app.exec) +
                        "\nMimeType=" + EscapedValue(mimeType) + ";\nNoDisplay=true\n";
    try {
        WriteFileAtomically(path, entry);
    } catch (const FileError&) {
        ::unlink(path.c_str());
        throw;
    }
    app.path = path;
    app.id = std::string(FileNameOf(path));
}

} // namespace orvo
