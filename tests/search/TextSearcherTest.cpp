#include "../platform/TestDirectory.h"
#include "search/CTextSearcher.h"

#include <clocale>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

class TextSearcher : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C.UTF-8"); }

    // Whether the phrase is found, opened as given.
    bool Finds(const std::string& content, const std::string& phrase, bool wildcard,
               bool matchCase) {
        std::string path = dir_.Write("f.txt", content);
        CTextSearcher s;
        EXPECT_TRUE(s.Open(path, wildcard, false, matchCase));
        return s.FindNext(phrase) >= 0;
    }

    TestDirectory dir_;
};

} // namespace

TEST_F(TextSearcher, PlainWildcardAndCase) {
    EXPECT_TRUE(Finds("say ABC now", "abc", false, false));
    EXPECT_FALSE(Finds("say ABC now", "abc", false, true));
    EXPECT_TRUE(Finds("x axxb y", "a*b", true, false));
    EXPECT_FALSE(Finds("x axxb y", "a*b", false, false)); // plain text: the star is a star
    EXPECT_TRUE(Finds("a*b", "a*b", false, false));
    EXPECT_TRUE(Finds("zz bx", "[a-c]x", true, false));
    EXPECT_TRUE(Finds("GRÜN", "grün", false, false));
    // Zero bytes do not end the text.
    EXPECT_TRUE(Finds(std::string("head\0\0tail", 10), "tail", false, false));
    EXPECT_TRUE(Finds(std::string("head\0tail", 9), "d?t", true, false));
}

TEST_F(TextSearcher, PositionStaysAtTheHitUntilRewound) {
    std::string path = dir_.Write("f.txt", "one two one");
    CTextSearcher s;
    ASSERT_TRUE(s.Open(path, false, false, false));
    int64_t start = -1, end = -1;
    EXPECT_EQ(s.FindNext("two", &start, &end), 4);
    EXPECT_EQ(end, 7);
    EXPECT_EQ(s.FindNext("one"), 8); // searched from the last hit on
    EXPECT_EQ(s.FindNext("two"), -1);
    s.Rewind();
    EXPECT_EQ(s.FindNext("one"), 0);
}

TEST_F(TextSearcher, WhatCannotBeReadIsNeverFound) {
    CTextSearcher s;
    EXPECT_FALSE(s.Open(dir_ / "missing.txt", false, false, false));
    EXPECT_FALSE(s.Open(dir_.MakeDirectory("sub"), false, false, false));
    std::string fifo = dir_ / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(s.Open(fifo, false, false, false)); // and does not hang
    EXPECT_EQ(s.FindNext("x"), -1);
}

TEST_F(TextSearcher, ChunkedReadingFindsWhatOneBufferFinds) {
    // Files many windows long, searched with tiny windows and with one
    // buffer: every find (start and end) must agree, including hits that
    // straddle window boundaries and stars that span many windows.
    std::mt19937 rng(3);
    const std::string alphabet = "abcAB\xc3\xa9\n";
    const char* phrases[] = {"ab",    "abca", "a*b", "b?a",  "[a-b]c",
                             "c*c*c", "é",    "É*b", "aaaa", "*b"};
    for (int round = 0; round < 60; ++round) {
        std::string content(std::uniform_int_distribution<int>(0, 400)(rng), ' ');
        for (char& c : content)
            c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
        std::string path = dir_.Write("big.txt", content);
        for (int mode = 0; mode < 4; ++mode) {
            bool wildcard = mode & 1, matchCase = mode & 2;
            CTextSearcher whole, chunked;
            chunked.SetChunkLimit(std::uniform_int_distribution<size_t>(1, 40)(rng));
            ASSERT_TRUE(whole.Open(path, wildcard, false, matchCase));
            ASSERT_TRUE(chunked.Open(path, wildcard, false, matchCase));
            // No rewinding: each phrase is looked for from the last hit on,
            // so searches also begin in the middle of the file.
            for (const char* phrase : phrases) {
                int64_t ws = -1, we = -1, cs = -1, ce = -1;
                whole.FindNext(phrase, &ws, &we);
                chunked.FindNext(phrase, &cs, &ce);
                ASSERT_EQ(cs, ws) << phrase << " mode " << mode << " round " << round;
                ASSERT_EQ(ce, we) << phrase << " mode " << mode << " round " << round;
            }
        }
    }
}

TEST_F(TextSearcher, SampleShowsTheFilesOwnTextAroundTheHit) {
    std::string before = "0123456789ABCDEFGHIJ";
    std::string after(70, 'z');
    after[0] = '\t';
    after[1] = '\r';
    after[2] = '\n';
    std::string path = dir_.Write("s.txt", before + "Needle" + after);
    CTextSearcher s;
    ASSERT_TRUE(s.Open(path, false, false, false));
    int64_t start = -1, end = -1;
    ASSERT_GE(s.FindNext("needle", &start, &end), 0);
    std::string sample = s.Sample(start, end);
    EXPECT_EQ(sample,
              "ABCDEFGHIJNeedle   " + std::string(47, 'z')); // 10 before, 50 after, in its own case

    // Near the ends of the file, and whole characters only.
    path = dir_.Write("u.txt", "ééééééééééééX");
    ASSERT_TRUE(s.Open(path, false, false, true));
    ASSERT_GE(s.FindNext("X", &start, &end), 0);
    EXPECT_EQ(s.Sample(start, end), "ééééééééééX");

    // A hit that spans a whole file is not copied whole into its sample.
    path = dir_.Write("long.txt", "a" + std::string(100000, '-') + "b");
    ASSERT_TRUE(s.Open(path, true, false, false));
    ASSERT_EQ(s.FindNext("a*b", &start, &end), 0);
    EXPECT_EQ(end, 100002);
    EXPECT_LE(s.Sample(start, end).size(), 260u);
}
