#include "store/QValue.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

using namespace orvo;

TEST(QValueText, NumbersPrintAsTheStoreWritesThem) {
    EXPECT_EQ(QValue(int32_t{-42}, QVT_INT).ToText(), "-42");
    EXPECT_EQ(QValue(uint32_t{4294967295u}, QVT_DWORD).ToText(), "4294967295");
    EXPECT_EQ(QValue(100.0, QVT_DOUBLE).ToText(), "100");
    EXPECT_EQ(QValue(0.5, QVT_DOUBLE).ToText(), "0.5");
    EXPECT_EQ(QValue(1.0 / 3.0, QVT_DOUBLE).ToText(), "0.333333333333333");
    EXPECT_EQ(QValue().ToText(), "");
}

TEST(QValueText, BoolIsTrueOnlyForTheByteOne) {
    EXPECT_EQ(QValue(true, QVT_BOOL).ToText(), "TRUE");
    EXPECT_EQ(QValue(false, QVT_BOOL).ToText(), "FALSE");
    QValue two;
    two.SetRawBool(2);
    EXPECT_EQ(two.ToText(), "FALSE");
}

TEST(QValueText, BlobPrintsSizeAndNonZeroBytes) {
    QValue blob = QValue::Blob(std::string_view("a\0b", 3));
    EXPECT_EQ(blob.ToText(), "Size = 3\r\nab");
    QValue fresh = QValue::Default(QVT_BLOB);
    EXPECT_EQ(fresh.Length(), 20u);
}

TEST(QValueText, DatesUseTheDefaultAndGivenFormats) {
    EXPECT_EQ(QValue(0.0, QVT_DATE).ToText(), "1899 12 30 00:00");
    // 2 January 2000 18:00 is 36527.75.
    QValue d(36527.75, QVT_DATE);
    EXPECT_EQ(d.ToText(), "2000 01 02 18:00");
    EXPECT_EQ(d.ToText("%Y-%m-%d %H:%M:%S"), "2000-01-02 18:00:00");
    EXPECT_EQ(QValue(-1.25, QVT_DATE).ToText(), "1899 12 29 06:00");
}

TEST(QValueParse, FollowsTheCLibraryRules) {
    QValue v;
    v.SetFromText("  12x", QVT_INT);
    EXPECT_EQ(v.AsInt(), 12);
    v.SetFromText("", QVT_INT);
    EXPECT_EQ(v.AsInt(), 0);
    v.SetFromText("123abc", QVT_DWORD);
    EXPECT_EQ(v.AsDword(), 123u);
    v.SetFromText("2.5e1", QVT_DOUBLE);
    EXPECT_EQ(v.AsDouble(), 25.0);
    for (const char* t : {"TRUE", "true", "TrUe"}) {
        v.SetFromText(t, QVT_BOOL);
        EXPECT_EQ(v.AsBool(), 1) << t;
    }
    for (const char* t : {"1", "yes", "TRUE ", ""}) {
        v.SetFromText(t, QVT_BOOL);
        EXPECT_EQ(v.AsBool(), 0) << t;
    }
    // A string released into a date must not leave its pointer as the day count.
    QValue s(std::string_view("text"));
    s.SetFromText("2000-01-01", QVT_DATE);
    EXPECT_EQ(s.Type(), QVT_DATE);
    EXPECT_EQ(s.AsDouble(), 0.0);
}

TEST(QValueCopy, StringsAndBlocksAreOwnedPerValue) {
    QValue a(std::string_view("hello"));
    QValue b = a;
    a.SetFromText("changed", QVT_LPSTR);
    EXPECT_STREQ(b.AsString(), "hello");
    QValue c = QValue::Blob("xyz");
    QValue d;
    d = c;
    c.Release();
    EXPECT_EQ(c.Length(), 0u);
    EXPECT_EQ(c.Type(), QVT_BLOB);
    EXPECT_EQ(d.AsBlob(), "xyz");
}

TEST(QValueCompare, FollowsEachTagsRule) {
    EXPECT_EQ(QValue(int32_t{-1}, QVT_INT).Compare(QValue(int32_t{1}, QVT_INT), false), -1);
    EXPECT_EQ(QValue(uint32_t{3000000000u}, QVT_DWORD).Compare(QValue(uint32_t{1}, QVT_DWORD), false), 1);
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(QValue(nan, QVT_DOUBLE).Compare(QValue(1.0, QVT_DOUBLE), false), -1);
    EXPECT_EQ(QValue(1.0, QVT_DOUBLE).Compare(QValue(nan, QVT_DOUBLE), false), -1);
    EXPECT_EQ(QValue(2.0, QVT_DATE).Compare(QValue(2.0, QVT_DATE), false), 0);
    // true orders before false: directories first in an ascending sort.
    EXPECT_EQ(QValue(true, QVT_BOOL).Compare(QValue(false, QVT_BOOL), false), -1);
    EXPECT_EQ(QValue(false, QVT_BOOL).Compare(QValue(true, QVT_BOOL), false), 1);
    EXPECT_EQ(QValue::Blob("ab").Compare(QValue::Blob("zz"), false), 0);
    EXPECT_EQ(QValue::Blob("abc").Compare(QValue::Blob("zz"), false), 1);
    QValue unknown;
    unknown.SetFromText("", 99);
    EXPECT_EQ(unknown.Compare(QValue(int32_t{5}, QVT_INT), false), 0);
    EXPECT_EQ(unknown.ToText(), "");
}

TEST(QValueCompare, StringsUseTheLocaleIgnoringCaseUnlessAsked) {
    std::setlocale(LC_ALL, "C.UTF-8");
    QValue ab(std::string_view("Ab")), aB(std::string_view("aB")), b(std::string_view("b"));
    EXPECT_EQ(ab.Compare(aB, false), 0);
    EXPECT_NE(ab.Compare(aB, true), 0);
    EXPECT_EQ(ab.Compare(b, false), -1);
    EXPECT_EQ(b.Compare(ab, false), 1);
    // Non-ASCII letters fold too, and invalid bytes still order consistently.
    QValue upper(std::string_view("\xC3\x84rger")), lower(std::string_view("\xC3\xA4rger"));
    EXPECT_EQ(upper.Compare(lower, false), 0);
    QValue bad1(std::string_view("\xFF" "a")), bad2(std::string_view("\xFE" "a"));
    EXPECT_EQ(bad1.Compare(bad2, false), -bad2.Compare(bad1, false));
    std::setlocale(LC_ALL, "C");
}

TEST(QValueMatches, OperatorsCompareOrSearchText) {
    QValue ab(std::string_view("Ab"));
    EXPECT_TRUE(ab.Matches(QOP_EQUAL, QValue(std::string_view("aB"))));
    EXPECT_TRUE(QValue(std::string_view("Folder")).Matches(QOP_BEGINS_WITH, QValue(std::string_view("fold"))));
    EXPECT_FALSE(QValue(std::string_view("Folder")).Matches(QOP_BEGINS_WITH, QValue(std::string_view("older"))));
    EXPECT_TRUE(QValue(std::string_view("Folder")).Matches(QOP_CONTAINS, QValue(std::string_view("OLD"))));
    EXPECT_TRUE(QValue(int32_t{123}, QVT_INT).Matches(QOP_CONTAINS, QValue(std::string_view("2"))));
    EXPECT_TRUE(ab.Matches(QOP_BEGINS_WITH, QValue(std::string_view(""))));
    EXPECT_TRUE(QValue(int32_t{1}, QVT_INT).Matches(QOP_LESS, QValue(int32_t{2}, QVT_INT)));
    EXPECT_TRUE(QValue(int32_t{3}, QVT_INT).Matches(QOP_GREATER, QValue(int32_t{2}, QVT_INT)));
    EXPECT_TRUE(QValue(int32_t{3}, QVT_INT).Matches(QOP_NOT_EQUAL, QValue(int32_t{2}, QVT_INT)));
    EXPECT_FALSE(QValue(int32_t{3}, QVT_INT).Matches(6, QValue(int32_t{3}, QVT_INT)));
}
