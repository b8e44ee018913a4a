#include "browse/BrowseNavigation.h"

#include "browse/DirectoryListing.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "store/Collation.h"

namespace orvo {

std::string UpTarget(std::string_view current) {
    if (current == kComputerPath)
        return {};
    std::string path = StripTrailingSlash(current);
    if (path == "/" || path.empty())
        return std::string(kComputerPath);
    return ParentDirectoryOf(path);
}

std::string Up2Target(std::string_view current) {
    if (current == kComputerPath)
        return {};
    return MountPointOf(StripTrailingSlash(current));
}

std::string DocumentTitleFor(std::string_view path) {
    std::string stripped = StripTrailingSlash(path);
    if (stripped != "/" && !stripped.empty() && stripped != kComputerPath) {
        std::string parent = ParentDirectoryOf(stripped);
        if (LowerCaseText(FileNameOf(parent)) == "tmpdirs")
            return "$ " + std::string(FileNameOf(stripped)) + " $";
    }
    return std::string(path);
}

std::string NormalizeTypedPath(std::string_view text, const std::string& home,
                               const std::string& base) {
    std::string path(text);
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        path.pop_back();
    if (path == "~")
        path = home;
    else if (path.rfind("~/", 0) == 0)
        path = home + path.substr(1);
    if (path == kComputerPath || path.empty())
        return path;
    if (path.front() != '/' && base.rfind('/', 0) == 0)
        path = JoinPath(base, path);
    if (path.front() == '/')
        return AbsolutePath(path);
    return StripTrailingSlash(path);
}

std::string FirstCommandWord(std::string_view command) {
    size_t start = command.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    command.remove_prefix(start);
    if (command.front() == '"' || command.front() == '\'') {
        size_t close = command.find(command.front(), 1);
        return std::string(command.substr(1, close == std::string_view::npos ? close : close - 1));
    }
    return std::string(command.substr(0, command.find_first_of(" \t")));
}

// "*" any run, "?" one character; iterative with one backtrack point, so
// many stars cost linear time per star rather than exponential.
bool WildcardMatch(std::string_view text, std::string_view pattern) {
    size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool QuickSearchMatches(std::string_view candidate, std::string_view typed) {
    std::string name = LowerCaseText(candidate);
    if (name.find('.') == std::string::npos)
        name += '.';
    std::string text = LowerCaseText(typed);
    if (text.find('.') == std::string::npos)
        return name.find(text) != std::string::npos;
    return WildcardMatch(name, text);
}

std::vector<size_t> QuickSearchCandidates(const std::vector<std::string>& names,
                                          std::string_view typed) {
    std::vector<size_t> matches;
    for (size_t i = 0; i < names.size(); ++i)
        if (QuickSearchMatches(names[i], typed))
            matches.push_back(i);
    return matches;
}

} // namespace orvo
