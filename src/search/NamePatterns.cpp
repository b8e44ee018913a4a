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
