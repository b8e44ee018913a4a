#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

enum class TextMode { Simple, Or, And };
enum class TimeUnit { Seconds, Minutes, Hours, Days, Weeks, Months, Years };
enum class SizeUnit { Bytes, KBytes, MBytes };
enum class SizeRelation { EqualTo, MoreThan, LessThan };

// What a search looks for: the values of the search window's controls at
// the moment Start is pressed. Numbers are kept as the user typed them.
struct SearchCriteria {
    std::string names;  // name patterns separated by ";"; empty means "*.*"
    std::string places; // starting directories separated by ";"
    // Starting directories already apart (the command line, where a path
    // may hold a ";"); used instead of places when not empty.
    std::vector<std::string> placeList;

    bool textOn = false;
    std::string text; // one phrase, or several separated by ";"
    TextMode textMode = TextMode::Simple;
    bool wildcard = false;
    bool matchCase = false;

    bool dateBetween = false;
    double dateFrom = 0; // OLE dates; only the day counts
    double dateTo = 0;

    bool noOlderThan = false;
    std::string ageNumber;
    TimeUnit ageUnit = TimeUnit::Days;

    bool sizeBetween = false;
    std::string sizeLow;
    std::string sizeHigh;
    SizeUnit sizeBetweenUnit = SizeUnit::Bytes;

    bool sizeCompare = false;
    SizeRelation sizeRelation = SizeRelation::EqualTo;
    std::string sizeNumber;
    SizeUnit sizeCompareUnit = SizeUnit::Bytes;

    bool excludeBinaries = false;
    std::vector<std::string> binaryPatterns; // the "Binary" special files
    bool followLinks = false;
};

// The labels of the window's combos, in their order.
extern const char* const kTextModeLabels[3];
extern const char* const kTimeUnitLabels[7];
extern const char* const kSizeUnitLabels[3];
extern const char* const kSizeRelationLabels[3];

// The text mode a label names: only its first two letters count ("OR",
// "AN"); anything else is the simple mode.
TextMode TextModeFromLabel(std::string_view label);

// A number field: plain decimal digits after optional blanks, anything
// else (and a negative number) reads as 0.
uint64_t ReadCriterionNumber(std::string_view text);

// The window caption of a search: names, " in ", places and, with text,
// " with " and the text, each cut to 20 characters and "..." when longer.
std::string SearchCaption(const SearchCriteria& criteria);

// The counts line: "D directories, F files found. Total size is G bytes"
// with the size in groups of three digits.
std::string SearchCountsLine(uint64_t dirs, uint64_t files, uint64_t bytes);

} // namespace orvo
