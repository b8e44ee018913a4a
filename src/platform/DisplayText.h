#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Texts of numbers and dates that every part of the program prints the
// same way: the windows, the progress figures, the viewers and the
// command-line tool.

// Decimal digits with a blank between groups of three counted from the
// right: 2048 gives "2 048".
std::string NumberText(uint64_t n);

// How long ago a date was, both dates local OLE dates (days): "3 hours ago",
// "10 minutes ago", " in this moment.", " yesterday, ", "5 days ago",
// "2 months ago", "1 years ago".
std::string AgeText(double date, double now);
// "2024-05-01 (Wed 3 hours ago)".
std::string DateCellText(double date, double now);
// "14:05-33".
std::string TimeCellText(double time);

// The pieces of a text between its LF bytes, the last one too (empty after a
// final LF); a CR before an LF stays with its line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The parts of a list such as "*.txt; *.doc" split at the separator, blanks
// around each part removed and empty parts dropped.
std::vector<std::string> SplitList(std::string_view text, char separator = ';');

// Bytes that a name was written with as an introducer and two hex digits
// (udev's "\x20", a URI's "%2F") put back; anything else stays.
std::string DecodeHexEscapes(std::string_view text, std::string_view introducer);

} // namespace orvo
