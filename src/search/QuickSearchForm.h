#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// The search typed into a browse window's path box: "?" followed by name
// patterns and, between double quotes, a text to look for, such as
// ?*.txt;*.md "to do". The window it opens searches at once and makes a
// list window of the hits.
struct QuickSearchForm {
    std::string names;
    std::string text; // empty when no quotes were given
    bool hasText = false;
};

// nullopt when the text does not begin with "?".
std::optional<QuickSearchForm> ParseQuickSearchForm(std::string_view typed);

// The search text shared by all search windows of the run: a search with
// text stores its text here when it starts, and a new window offers it.
std::string RememberedSearchText();
void RememberSearchText(std::string text);

} // namespace orvo
