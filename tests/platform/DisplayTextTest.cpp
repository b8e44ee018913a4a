#include "platform/DisplayText.h"

#include "platform/OleDate.h"

#include <ctime>
#include <gtest/gtest.h>

using namespace orvo;

namespace {

// 2024-03-15 14:30:00, a Friday.
double Now() {
    std::tm tm{};
    tm.tm_year = 124;
    tm.tm_mon = 2;
    tm.tm_mday = 15;
    tm.tm_hour = 14;
    tm.tm_min = 30;
    return TmToOleDate(tm);
}

double SecondsBefore(double now, double seconds) {
    return now - seconds / 86400.0;
}

constexpr double kMinute = 60, kHour = 3600, kDay = 86400;

} // namespace

TEST(DisplayText, AgesOnBothSidesOfEveryBoundary) {
    const double now = Now();
    struct Case {
        double secondsAgo;
        const char* text;
    } cases[] = {
        {0, " in this moment."},
        {59, " in this moment."},
        {60, "1 minutes ago"},
        {10 * kMinute, "10 minutes ago"},
        {kHour - 1, "59 minutes ago"},
        {kHour, "1 hours ago"},
        {kDay - 1, "23 hours ago"},
        {kDay, " yesterday, "},            // 2024-03-14 14:30
        {kDay + 15 * kHour, "1 days ago"}, // 2024-03-13 23:30: the day before yesterday
        {2 * kDay, "2 days ago"},
        {29 * kDay + kHour, "29 days ago"},
        {30 * kDay, "1 months ago"},
        {364 * kDay, "12 months ago"},
        {365 * kDay, "1 years ago"},
        {3 * 365 * kDay + kDay, "3 years ago"},
        {-3 * kDay, " in this moment."}, // a file from the future has no age
    };
    for (const Case& c : cases)
        EXPECT_EQ(AgeText(SecondsBefore(now, c.secondsAgo), now), c.text) << c.secondsAgo;
}

TEST(DisplayText, YesterdayCrossesTheNewYear) {
    std::tm tm{};
    tm.tm_year = 124;
    tm.tm_mon = 0;
    tm.tm_mday = 1;
    tm.tm_hour = 10;
    const double newYear = TmToOleDate(tm);
    EXPECT_EQ(AgeText(SecondsBefore(newYear, kDay + kHour), newYear), " yesterday, ");
}

TEST(DisplayText, DateTimeAndNumbers) {
    const double now = Now();
    EXPECT_EQ(DateCellText(SecondsBefore(now, 3 * kHour), now), "2024-03-15 (Fri 3 hours ago)");
    EXPECT_EQ(DateCellText(now, now), "2024-03-15 (Fri  in this moment.)");
    EXPECT_EQ(TimeCellText(SecondsBefore(now, 27)), "14:29-33");

    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(999), "999");
    EXPECT_EQ(NumberText(2048), "2 048");
    EXPECT_EQ(NumberText(1234567), "1 234 567");
    EXPECT_EQ(NumberText(5000000000ULL), "5 000 000 000"); // above 32 bits
}
