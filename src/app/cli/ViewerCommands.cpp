// orvo view kind [--alt] FILE... | orvo view find [--case] [--wildcard] [--words] TEXT FILE...
#include "app/cli/CliCommand.h"
#include "image/ImageFile.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "viewers/ViewerKind.h"
#include "viewers/ViewerText.h"

#include <cstdio>

namespace orvo::cli {

namespace {

// The viewer quick view opens: "none" for a text file over the limit.
int Kind(const CliArguments& args) {
    const bool alt = args.Has("--alt");
    int status = 0;
    const bool anyFile = args.operands.size() > 1;
    for (size_t i = 1; i < args.operands.size(); ++i) {
        const std::string& path = args.operands[i];
        const FileStatus file = GetFileStatus(path);
        if (!file.exists) {
            status = Fail("no such file or directory: " + path);
            continue;
        }
        const ViewerKind kind = ClassifyForViewer(ExtensionOfPath(path), alt);
        const bool tooLarge =
            kind == ViewerKind::Text && !file.isDirectory && file.size > kTextViewerSizeLimit;
        std::printf("%s\t%s\n", tooLarge ? "none" : ViewerKindName(kind), path.c_str());
    }
    return anyFile ? status : UsageError("view");
}

// Column of a byte offset in its line, counted in characters from 1.
int ColumnOf(std::string_view line, size_t bytes) {
    int column = 1;
    for (size_t i = 0; i < bytes && i < line.size(); ++i)
        if ((static_cast<unsigned char>(line[i]) & 0xc0) != 0x80)
            ++column;
    return column;
}

// Every match in one file as the text viewer's Find Next would step
// through them: "FILE:LINE:COLUMN: the line".
bool FindInFile(const std::string& path, const std::string& what, bool matchCase, bool wildcard,
                bool words, int& status) {
    const FileStatus file = GetFileStatus(path);
    if (!file.exists || !file.isRegular) {
        status = Fail("not a regular file: " + path);
        return false;
    }
    if (file.size > kTextViewerSizeLimit) {
        status = Fail(path + ": larger than 1 000 000 bytes, the text viewer does not open it");
        return false;
    }
    ViewerText text;
    try {
        text = DecodeViewerText(ReadWholeFile(path));
    } catch (const FileError& e) {
        status = Fail(e.what());
        return false;
    }
    const std::string& shown = text.text;
    bool found = false;
    size_t from = 0;
    while (true) {
        const TextMatch m = FindInViewerText(shown, from, what, matchCase, wildcard, words);
        if (!m.found)
            break;
        found = true;
        const size_t lineStart = shown.rfind('\n', m.start == 0 ? 0 : m.start - 1);
        const size_t begin = m.start == 0 || lineStart == std::string::npos ? 0 : lineStart + 1;
        const size_t end = shown.find('\n', m.start);
        const std::string_view line = std::string_view(shown).substr(
            begin, end == std::string::npos ? std::string::npos : end - begin);
        int lineNumber = 1;
        for (size_t i = 0; i < begin; ++i)
            lineNumber += shown[i] == '\n';
        std::printf("%s:%d:%d: %s\n", path.c_str(), lineNumber, ColumnOf(line, m.start - begin),
                    std::string(line).c_str());
        from = std::max(m.end, m.start + 1);
    }
    return found;
}

int Find(const CliArguments& args) {
    const bool matchCase = args.Has("--case"), wildcard = args.Has("--wildcard"),
               words = args.Has("--words");
    const std::vector<std::string> rest(args.operands.begin() + 1, args.operands.end());
    if (rest.size() < 2 || rest[0].empty())
        return UsageError("view");
    int status = 0;
    bool found = false;
    for (size_t i = 1; i < rest.size(); ++i)
        found = FindInFile(rest[i], rest[0], matchCase, wildcard, words, status) || found;
    if (status != 0)
        return status;
    return found ? 0 : 1;
}

int View(const CliArguments& args) {
    if (args.operands.empty())
        return UsageError("view");
    if (args.operands[0] == "kind")
        return Kind(args);
    if (args.operands[0] == "find")
        return Find(args);
    return UsageError("view");
}

const CliRegistration registration({
    "view",
    "  orvo view kind [--alt] FILE... the viewer quick view opens for each file (image,\n"
    "                             multimedia, text; none for a text over 1 000 000 bytes)\n"
    "  orvo view find [--case] [--wildcard] [--words] TEXT FILE...\n"
    "                             every match as the text viewer finds it: FILE:LINE:COL: line",
    View,
    {{"--alt", 0, "kind"},
     {"--case", 0, "find"},
     {"--wildcard", 0, "find"},
     {"--words", 0, "find"}},
    "kind find",
});

} // namespace

} // namespace orvo::cli
