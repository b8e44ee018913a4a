#include "search/SearchCriteria.h"

#include <cctype>

namespace orvo {

const char* const kTextModeLabels[3] = {"Simple (one sentence)", "OR      (separated with ; )",
                                        "AND    (separated with ; )"};
const char* const kTimeUnitLabels[7] = {"Seconds", "Minutes", "Hours", "Days",
                                        "Weeks",   "Months",  "Years"};
const char* const kSizeUnitLabels[3] = {"Bytes", "KBytes", "MBytes"};
const char* const kSizeRelationLabels[3] = {"Equal to", "More than", "Less than"};

TextMode TextModeFromLabel(std::string_view label) {
    std::string_view two = label.substr(0, 2);
    if (two == "OR")
        return TextMode::Or;
    if (two == "AN")
        return TextMode::And;
    return TextMode::Simple;
}

uint64_t ReadCriterionNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    uint64_t n = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (n > (UINT64_MAX - 9) / 10)
            return UINT64_MAX / 2; // absurd, but never a wrapped small number
        n = n * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    return n;
}

namespace {

// At most 20 characters, never cutting one in two.
std::string Cut(const std::string& text) {
    size_t chars = 0, i = 0;
    while (i < text.size()) {
        if (chars == 20)
            return text.substr(0, i) + "...";
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
        ++chars;
    }
    return text;
}

} // namespace

std::string SearchCaption(const SearchCriteria& criteria) {
    std::string caption = Cut(criteria.names) + " in " + Cut(criteria.places);
    if (criteria.textOn)
        caption += " with " + Cut(criteria.text);
    return caption;
}

std::string SearchCountsLine(uint64_t dirs, uint64_t files, uint64_t bytes) {
    std::string digits = std::to_string(bytes);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<size_t>(i), 1, ' ');
    return std::to_string(dirs) + " directories, " + std::to_string(files) +
           " files found. Total size is " + digits + " bytes";
}

} // namespace orvo
