#include "platform/DisplayText.h"

#include "platform/OleDate.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace orvo {

namespace {

bool SameCalendarDay(double a, double b) {
    std::tm x = OleDateToTm(a), y = OleDateToTm(b);
    return x.tm_year == y.tm_year && x.tm_yday == y.tm_yday;
}

} // namespace

std::string NumberText(uint64_t n) {
    std::string digits = std::to_string(n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<size_t>(i), 1, ' ');
    return digits;
}

std::string AgeText(double date, double now) {
    // Whole seconds, so that ten minutes stay ten minutes after the sum of
    // two rounded fractions of a day.
    const double span = (now - date) * 86400.0;
    const int64_t seconds = std::isfinite(span) ? std::llround(std::clamp(span, -1e15, 1e15)) : 0;
    const int64_t days = seconds / 86400;
    if (days < 1) {
        if (seconds / 3600 > 0)
            return std::to_string(seconds / 3600) + " hours ago";
        if (seconds / 60 > 0)
            return std::to_string(seconds / 60) + " minutes ago";
        return " in this moment.";
    }
    if (days < 30) {
        // An age of a day or more never falls on today's date; yesterday is
        // the calendar day before today, across a new year too.
        if (SameCalendarDay(date, now - 1.0))
            return " yesterday, ";
        return std::to_string(days) + " days ago";
    }
    if (days < 365)
        return std::to_string(days / 30) + " months ago";
    return std::to_string(days / 365) + " years ago";
}

std::string DateCellText(double date, double now) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const std::tm tm = OleDateToTm(date);
    return FormatOleDate(date, "%Y-%m-%d") + " (" + kDays[tm.tm_wday % 7] + " " +
           AgeText(date, now) + ")";
}

std::string TimeCellText(double time) {
    return FormatOleDate(time, "%H:%M-%S");
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t stop = text.find(separator, start);
        if (stop == std::string_view::npos)
            stop = text.size();
        std::string_view part = text.substr(start, stop - start);
        while (!part.empty() && (part.front() == ' ' || part.front() == '\t'))
            part.remove_prefix(1);
        while (!part.empty() && (part.back() == ' ' || part.back() == '\t'))
            part.remove_suffix(1);
        if (!part.empty())
            parts.emplace_back(part);
        start = stop + 1;
    }
    return parts;
}

std::string DecodeHexEscapes(std::string_view text, std::string_view introducer) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    const size_t n = introducer.size();
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (n > 0 && text.substr(i, n) == introducer && i + n + 1 < text.size() &&
            hex(text[i + n]) >= 0 && hex(text[i + n + 1]) >= 0) {
            out.push_back(static_cast<char>(hex(text[i + n]) * 16 + hex(text[i + n + 1])));
            i += n + 1;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace orvo
