#include "search/SearchConditions.h"

#include "search/SearchCriteria.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST(SearchConditions, SizeBetweenWidensTheTypedBoundsBeforeTheUnit) {
    SearchCriteria c;
    c.sizeBetween = true;
    c.sizeLow = "1";
    c.sizeHigh = "2";
    c.sizeBetweenUnit = SizeUnit::KBytes;
    SearchConditions list = SearchConditions::Build(c, 0);
    EXPECT_FALSE(list.Holds(0, 0));
    EXPECT_TRUE(list.Holds(0, 1));
    EXPECT_TRUE(list.Holds(0, 3071));
    EXPECT_FALSE(list.Holds(0, 3072));

    c.sizeBetweenUnit = SizeUnit::Bytes;
    c.sizeLow = "10";
    c.sizeHigh = "20";
    list = SearchConditions::Build(c, 0);
    EXPECT_FALSE(list.Holds(0, 9));
    EXPECT_TRUE(list.Holds(0, 10));
    EXPECT_TRUE(list.Holds(0, 20));
    EXPECT_FALSE(list.Holds(0, 21));

    // A lower bound of 0 takes empty files; text that is no number is 0.
    c.sizeLow = "none";
    list = SearchConditions::Build(c, 0);
    EXPECT_TRUE(list.Holds(0, 0));

    // Megabytes do not wrap at 4 GiB.
    c.sizeLow = "4000";
    c.sizeHigh = "30000";
    c.sizeBetweenUnit = SizeUnit::MBytes;
    list = SearchConditions::Build(c, 0);
    EXPECT_TRUE(list.Holds(0, uint64_t{10} << 30));
    EXPECT_FALSE(list.Holds(0, uint64_t{1} << 30));
}

TEST(SearchConditions, SizeCompare) {
    SearchCriteria c;
    c.sizeCompare = true;
    c.sizeNumber = "2";
    c.sizeCompareUnit = SizeUnit::KBytes;
    for (auto [relation, size, holds] : std::vector<std::tuple<SizeRelation, uint64_t, bool>>{
             {SizeRelation::EqualTo, 2048, true},
             {SizeRelation::EqualTo, 2047, false},
             {SizeRelation::MoreThan, 2048, false},
             {SizeRelation::MoreThan, 2049, true},
             {SizeRelation::LessThan, 2047, true},
             {SizeRelation::LessThan, 2048, false},
         }) {
        c.sizeRelation = relation;
        EXPECT_EQ(SearchConditions::Build(c, 0).Holds(0, size), holds) << size;
    }
}

TEST(SearchConditions, DatesCountBackFromNowOrByWholeDays) {
    const double now = 45000.5; // noon
    SearchCriteria c;
    c.noOlderThan = true;
    c.ageNumber = "2";
    c.ageUnit = TimeUnit::Weeks;
    SearchConditions list = SearchConditions::Build(c, now);
    EXPECT_TRUE(list.Holds(now - 13.99, 0));
    EXPECT_FALSE(list.Holds(now - 14.01, 0));
    for (auto [unit, days] :
         std::vector<std::pair<TimeUnit, double>>{{TimeUnit::Seconds, 2 / 86400.0},
                                                  {TimeUnit::Hours, 2 / 24.0},
                                                  {TimeUnit::Months, 60},
                                                  {TimeUnit::Years, 730}}) {
        c.ageUnit = unit;
        list = SearchConditions::Build(c, now);
        EXPECT_TRUE(list.Holds(now - days * 0.99, 0));
        EXPECT_FALSE(list.Holds(now - days * 1.01, 0));
    }

    // Both named days are in, whatever the time of day.
    SearchCriteria between;
    between.dateBetween = true;
    between.dateFrom = 45010.7;
    between.dateTo = 45012.2;
    list = SearchConditions::Build(between, now);
    EXPECT_FALSE(list.Holds(45009.99, 0));
    EXPECT_TRUE(list.Holds(45010.0, 0));
    EXPECT_TRUE(list.Holds(45012.99, 0));
    EXPECT_FALSE(list.Holds(45013.0, 0));

    EXPECT_TRUE(SearchConditions::Build(SearchCriteria(), now).Empty());
}

TEST(SearchCriteria, TextsOfTheWindow) {
    EXPECT_EQ(TextModeFromLabel(kTextModeLabels[1]), TextMode::Or);
    EXPECT_EQ(TextModeFromLabel("ANything"), TextMode::And);
    EXPECT_EQ(TextModeFromLabel("Or"), TextMode::Simple); // only "OR" and "AN" count
    EXPECT_EQ(ReadCriterionNumber(" 42x"), 42u);
    EXPECT_EQ(ReadCriterionNumber("-5"), 0u);

    SearchCriteria c;
    c.names = "*.txt";
    c.places = "/home/someone/a/very/long/place";
    c.textOn = true;
    c.text = "short";
    EXPECT_EQ(SearchCaption(c), "*.txt in /home/someone/a/very... with short");
    EXPECT_EQ(SearchCountsLine(2, 1234, 1234567),
              "2 directories, 1234 files found. Total size is 1 234 567 bytes");
}
