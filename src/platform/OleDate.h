#pragma once

#include <ctime>
#include <string>

namespace orvo {

// Dates in tables are OLE Automation dates: days since 30 December 1899
// 00:00 with the time of day as the fraction. These convert between that
// form and broken-down calendar time without going through time_t, so
// dates far outside the 1970-2038 range still print.

// Broken-down time (tm_year is years since 1900, as in <ctime>) of a date,
// rounded to the nearest second.
std::tm OleDateToTm(double date);

// The date of a broken-down time; only year, month, day, hour, minute and
// second are read.
double TmToOleDate(const std::tm& tm);

// A time_t as a local-time OLE date, the way file times are shown.
double TimeToLocalOleDate(std::time_t t);

// strftime of a date; an empty string when the format produces nothing.
std::string FormatOleDate(double date, const char* format);

} // namespace orvo
