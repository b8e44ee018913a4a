#include "search/NamePatterns.h"

namespace orvo {

namespace {

std::string NamePatternText(std::string_view pattern) {
    if (pattern.find('.') != std::string_view::npos)
        return std::string(pattern);
    return "*" + std::string(pattern) + "*";
}

bool MatchPrepared(const WildcardPattern& pattern, std::string_view name) {
    if (name.find('.') != std::string_view::npos)
        return pattern.Match(name);
    thread_local std::string dotted;
    dotted.assign(name);
    dotted.push_back('.');
    return pattern.Match(dotted);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool MatchNamePattern(std::string_view name, std::string_view pattern) {
    if (name.empty() || pattern.empty())
        return false;
    return MatchPrepared(WildcardPattern(NamePatternText(pattern), false), name);
}

bool MatchAnyPattern(const std::vector<std::string>& patterns, std::string_view name) {
    if (name.empty())
        return false;
    for (const std::string& p : patterns)
        if (MatchNamePattern(name, p))
            return true;
    return false;
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t stop = text.find(separator, start);
        if (stop == std::string_view::npos)
            stop = text.size();
        std::string_view part = text.substr(start, stop - start);
        while (!part.empty() && IsBlank(part.front()))
            part.remove_prefix(1);
        while (!part.empty() && IsBlank(part.back()))
            part.remove_suffix(1);
        if (!part.empty())
            parts.emplace_back(part);
        start = stop + 1;
    }
    return parts;
}

NamePatternList::NamePatternList(const std::vector<std::string>& patterns) {
    for (const std::string& p : patterns)
        if (!p.empty())
            patterns_.emplace_back(NamePatternText(p), false);
}

bool NamePatternList::MatchesAny(std::string_view name) const {
    if (name.empty())
        return false;
    for (const WildcardPattern& p : patterns_)
        if (MatchPrepared(p, name))
            return true;
    return false;
}

} // namespace orvo
