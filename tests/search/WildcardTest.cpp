#include "search/NamePatterns.h"
#include "search/TextFinding.h"
#include "search/WildcardPattern.h"

#include <clocale>
#include <gtest/gtest.h>
#include <random>

using namespace orvo;

namespace {

// The matcher as the rule book states it, by plain backtracking (ASCII
// only): the yardstick the fast matcher is held to.
bool Same(char a, char b, bool cs) {
    return cs ? a == b
              : std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
}

bool InRange(char c, char lo, char hi, bool cs) {
    if (lo <= c && c <= hi)
        return true;
    if (cs)
        return false;
    auto l = [](char x) { return static_cast<char>(std::tolower(static_cast<unsigned char>(x))); };
    return l(lo) <= l(c) && l(c) <= l(hi);
}

bool Reference(const char* t, const char* p, bool cs, const char* base, long* end) {
    for (;;) {
        if (!*p)
            return !*t;
        if (*p == '*') {
            if (!p[1] && end)
                *end = t - base;
            for (const char* s = t;; ++s) {
                if (Reference(s, p + 1, cs, base, end))
                    return true;
                if (!*s)
                    return false;
            }
        }
        if (!*t)
            return false;
        if (*p == '?') {
            ++t, ++p;
            continue;
        }
        if (*p == '[') {
            ++p;
            bool in = false;
            while (*p && *p != ']') {
                if (p[1] == '-') {
                    if (!p[2] || p[2] == ']')
                        return false;
                    in |= InRange(*t, p[0], p[2], cs);
                    p += 3;
                } else {
                    in |= Same(*p, *t, cs);
                    ++p;
                }
            }
            if (*p == ']')
                ++p;
            if (!in)
                return false;
            ++t;
            continue;
        }
        if (!Same(*p, *t, cs))
            return false;
        ++t, ++p;
    }
}

std::string RandomText(std::mt19937& rng, const std::string& alphabet, int maxLength) {
    std::string s(std::uniform_int_distribution<int>(0, maxLength)(rng), ' ');
    for (char& c : s)
        c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
    return s;
}

class Wildcard : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C.UTF-8"); }
};

} // namespace

TEST_F(Wildcard, AnswersLikeTheBacktrackingRule) {
    struct Case {
        const char* text;
        const char* pattern;
        bool caseSensitive;
        bool match;
    } cases[] = {
        {"scan12.tif", "*[0-9]*.tif", false, true},
        {"scan.tif", "*[0-9]*.tif", false, false},
        {"README.", "*.*", false, true},
        {"abc", "ABC", false, true},
        {"abc", "ABC", true, false},
        {"abc", "a?c", true, true},
        {"ab", "ab?", true, false}, // "?" needs a character
        {"b", "[a-c]", true, true},
        {"B", "[a-c]", true, false},
        {"B", "[a-c]", false, true},
        {"x", "[abx]", true, true},
        {"-", "[a-]", true, false}, // a range cut short never matches
        {"a", "[a-", true, false},
        {"c", "[abc", true, true}, // an open set takes the rest of the pattern
        {"a", "[]a", true, false}, // an empty set matches nothing
        {"", "*", true, true},
        {"", "", true, true},
        {"a", "", true, false},
        {"mississippi", "*s*i*p*i", true, true},
        {"mississippi", "*s*i*p*x", true, false},
    };
    for (const Case& c : cases) {
        long refEnd = -1;
        ASSERT_EQ(Reference(c.text, c.pattern, c.caseSensitive, c.text, &refEnd), c.match)
            << c.text << " / " << c.pattern;
        EXPECT_EQ(MatchWildcard(c.text, c.pattern, c.caseSensitive), c.match)
            << c.text << " / " << c.pattern;
    }

    // Random patterns over a small alphabet, where stars, sets and case
    // interact the most; the place the final star begins must agree too.
    std::mt19937 rng(7);
    const std::string textChars = "abAB-";
    const std::string patternChars = "abAB*?[]-";
    for (int i = 0; i < 20000; ++i) {
        std::string text = RandomText(rng, textChars, 8);
        std::string pattern = RandomText(rng, patternChars, 7);
        bool cs = i % 2 == 0;
        long refEnd = -1;
        size_t end = SIZE_MAX;
        bool expected = Reference(text.c_str(), pattern.c_str(), cs, text.c_str(), &refEnd);
        ASSERT_EQ(WildcardPattern(pattern, cs).Match(text, &end), expected)
            << text << " / " << pattern;
        if (expected && !pattern.empty() && pattern.back() == '*') {
            ASSERT_EQ(static_cast<long>(end), refEnd) << text << " / " << pattern;
        }
    }
}

TEST_F(Wildcard, CharactersAreWholeUtf8Characters) {
    EXPECT_TRUE(MatchWildcard("é", "?", true));
    EXPECT_TRUE(MatchWildcard("Ærø.txt", "ær?.TXT", false));
    EXPECT_FALSE(MatchWildcard("Ærø.txt", "ær?.TXT", true));
    EXPECT_TRUE(MatchWildcard("n\xff", "n?", true)); // a stray byte is one character
    size_t end = 0;
    ASSERT_TRUE(MatchWildcard("aé b", "a?*", true, &end));
    EXPECT_EQ(end, 3u); // a byte offset, after the two bytes of é
}

TEST_F(Wildcard, ManyStarsStayLinear) {
    // Backtracking over every star would take on the order of 10^40 steps.
    std::string text(20000, 'a');
    std::string pattern;
    for (int i = 0; i < 30; ++i)
        pattern += "*a";
    EXPECT_FALSE(MatchWildcard(text, pattern + "*b", true));
    EXPECT_TRUE(MatchWildcard(text + "b", pattern + "*b", true));
    EXPECT_EQ(FindWildcardInText(text, pattern + "*b", false), -1);
}

TEST_F(Wildcard, TextFindsAgreeWithTryingEveryOffset) {
    size_t end = 0;
    EXPECT_EQ(FindWildcardInText("xxaxxbyyb", "a*b", false, &end), 2);
    EXPECT_EQ(end, 6u); // the shortest run for the star
    EXPECT_EQ(FindWildcardInText("zzBX", "[a-c]x", false, &end), 2);
    EXPECT_EQ(FindWildcardInText("abc", "", false, &end), 0);
    EXPECT_EQ(end, 0u);

    std::mt19937 rng(11);
    for (int i = 0; i < 20000; ++i) {
        std::string text = RandomText(rng, "abcAB", 14);
        std::string pattern = RandomText(rng, "abAB*?[]-", 6);
        bool cs = i % 3 == 0;
        std::string full = pattern.empty() || pattern.back() != '*' ? pattern + "*" : pattern;
        long expected = -1, expectedEnd = -1;
        for (size_t o = 0; o <= text.size() && expected < 0; ++o) {
            long e = -1;
            if (Reference(text.c_str() + o, full.c_str(), cs, text.c_str(), &e)) {
                expected = static_cast<long>(o);
                expectedEnd = e;
            }
        }
        if (expected >= 0 && expectedEnd < 0)
            expectedEnd = static_cast<long>(
                text.size()); // a "[" left open took the star: the hit runs to the end
        size_t gotEnd = SIZE_MAX;
        ASSERT_EQ(FindWildcardInText(text, pattern, cs, &gotEnd), expected)
            << text << " / " << pattern;
        if (expected >= 0) {
            ASSERT_EQ(static_cast<long>(gotEnd), expectedEnd) << text << " / " << pattern;
        }
    }
}

TEST_F(Wildcard, NamePatterns) {
    EXPECT_TRUE(MatchNamePattern("README", "*.*"));
    EXPECT_TRUE(MatchNamePattern("My Documents.txt", "doc")); // no dot: anywhere in the name
    EXPECT_FALSE(MatchNamePattern("notes.txt", "doc"));
    EXPECT_TRUE(MatchNamePattern("Photo.JPG", "*.jpg"));
    EXPECT_FALSE(MatchNamePattern("photo.jpeg", "*.jpg"));
    EXPECT_TRUE(MatchNamePattern("scan12.tif", "*[0-9]*.tif"));
    EXPECT_FALSE(MatchNamePattern("scan.tif", "*[0-9]*.tif"));
    EXPECT_FALSE(MatchNamePattern("", "*"));
    EXPECT_FALSE(MatchNamePattern("a.txt", ""));

    EXPECT_TRUE(MatchAnyPattern({"*.doc", "*.txt"}, "a.TXT"));
    EXPECT_FALSE(MatchAnyPattern({}, "a.txt"));
    NamePatternList list(SplitList(" *.doc ;; memo;"));
    EXPECT_TRUE(list.MatchesAny("Memo2024"));
    EXPECT_TRUE(list.MatchesAny("x.doc"));
    EXPECT_FALSE(list.MatchesAny("x.docx"));
    EXPECT_EQ(SplitList(" a ; ;b;"), (std::vector<std::string>{"a", "b"}));
}
