#include "platform/OleDate.h"

#include <cmath>
#include <cstdint>

namespace orvo {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kOleEpochDays = -25569;

} // namespace

std::tm OleDateToTm(double date) {
    std::tm tm{};
    if (!std::isfinite(date) || std::fabs(date) > 3.0e6)
        date = 0.0;
    // Negative dates count whole days backwards but keep a positive time of
    // day: -1.25 is 29 December 1899, 06:00.
    double wholeDays = std::trunc(date);
    double fraction = std::fabs(date - wholeDays);
    int64_t seconds = std::llround(fraction * 86400.0);
    int64_t days = static_cast<int64_t>(wholeDays);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += date < 0 ? -1 : 1;
    }
    int64_t unixDays = days + kOleEpochDays;
    int64_t y;
    unsigned m, d;
    CivilFromDays(unixDays, y, m, d);
    tm.tm_year = static_cast<int>(y - 1900);
    tm.tm_mon = static_cast<int>(m - 1);
    tm.tm_mday = static_cast<int>(d);
    tm.tm_hour = static_cast<int>(seconds / 3600);
    tm.tm_min = static_cast<int>(seconds / 60 % 60);
    tm.tm_sec = static_cast<int>(seconds % 60);
    int64_t wday = (unixDays + 4) % 7; // 1970-01-01 was a Thursday
    tm.tm_wday = static_cast<int>(wday < 0 ? wday + 7 : wday);
    tm.tm_yday = static_cast<int>(unixDays - DaysFromCivil(y, 1, 1));
    tm.tm_isdst = -1;
    return tm;
}

double TmToOleDate(const std::tm& tm) {
    int64_t y = static_cast<int64_t>(tm.tm_year) + 1900;
    int mon = tm.tm_mon;
    y += mon / 12;
    mon %= 12;
    if (mon < 0) {
        mon += 12;
        --y;
    }
    int64_t days = DaysFromCivil(y, static_cast<unsigned>(mon + 1), 1) + (tm.tm_mday - 1) -
                   kOleEpochDays;
    double timeOfDay = (tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec) / 86400.0;
    if (days >= 0)
        return static_cast<double>(days) + timeOfDay;
    return static_cast<double>(days) - timeOfDay;
}

double TimeToLocalOleDate(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return TmToOleDate(local);
}

std::string FormatOleDate(double date, const char* format) {
    std::tm tm = OleDateToTm(date);
    char buffer[512];
    size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

} // namespace orvo
