#pragma once

#include "platform/DisplayText.h" // SplitList
#include "search/WildcardPattern.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Name patterns as the whole program reads them, always ignoring case: a
// name without a dot is given one (so "*.*" matches "README"), and a
// pattern without a dot matches anywhere in the name ("doc" is "*doc*").
bool MatchNamePattern(std::string_view name, std::string_view pattern);
// Whether any of the patterns matches; false for an empty name or list.
bool MatchAnyPattern(const std::vector<std::string>& patterns, std::string_view name);

// A list of name patterns prepared once, for matching many names.
class NamePatternList {
public:
    NamePatternList() = default;
    explicit NamePatternList(const std::vector<std::string>& patterns);

    bool Empty() const { return patterns_.empty(); }
    bool MatchesAny(std::string_view name) const;

private:
    std::vector<WildcardPattern> patterns_;
};

} // namespace orvo
