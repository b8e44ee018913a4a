#include "../platform/TestDirectory.h"
#include "search/CTextSearcher.h"
#include "search/TextCase.h"

#include <atomic>
#include <clocale>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

TEST_F(TextSearcher, LargeSparseAndEmptyFilesOneAfterAnother) {
    // One searcher goes through a whole search; a file of 16 MiB or more
    // (read whole or in windows) must not spoil the files after it.
    auto sparse = [&](const std::string& name, off_t size, off_t at, const std::string& text) {
        std::string path = dir_.Write(name);
        EXPECT_EQ(::truncate(path.c_str(), size), 0);
        int fd = ::open(path.c_str(), O_WRONLY);
        EXPECT_EQ(::pwrite(fd, text.data(), text.size(), at), static_cast<ssize_t>(text.size()));
        ::close(fd);
        return path;
    };
    const off_t mib = off_t{1} << 20;
    std::string whole = sparse("17m.bin", 17 * mib, 17 * mib - 6, "NEEDLE");
    std::string windowed = sparse("70m.bin", 70 * mib, 64 * mib - 3, "needle");
    std::string empty = dir_.Write("empty.txt");
    std::string small = dir_.Write("small.txt", "a needle");
    CTextSearcher s;
    for (const std::string& big : {whole, windowed}) {
        for (bool matchCase : {false, true}) {
            ASSERT_TRUE(s.Open(big, false, false, matchCase));
            EXPECT_EQ(s.FindNext("needle") >= 0, !matchCase || big == windowed) << big;
            ASSERT_TRUE(s.Open(empty, false, false, matchCase));
            EXPECT_EQ(s.FindNext("needle"), -1);
            ASSERT_TRUE(s.Open(small, true, false, matchCase));
            EXPECT_EQ(s.FindNext("n*e"), 2);
        }
    }
    ASSERT_TRUE(s.Open(windowed, false, false, false));
    EXPECT_EQ(s.FindNext("needle"), 64 * mib - 3); // across the first window's end
}

TEST_F(TextSearcher, FilesThatGrowOrShrinkWhileSearched) {
    std::string path =
        dir_.Write("moving.txt", std::string(300, 'x') + "hit" + std::string(300, 'y'));
    for (size_t limit : {size_t{7}, size_t{64}, CTextSearcher::kDefaultChunkLimit}) {
        CTextSearcher s;
        s.SetChunkLimit(limit);
        ASSERT_TRUE(s.Open(path, false, false, true));
        ASSERT_EQ(s.FindNext("hit"), 300);
        ASSERT_EQ(::truncate(path.c_str(), 100), 0); // the rest is gone
        int64_t after = s.FindNext("y");
        EXPECT_TRUE(after == -1 || after > 300) << limit; // whole buffers keep what they read
        ASSERT_EQ(::truncate(path.c_str(), 5000), 0);     // zeros appended
        s.Rewind();
        EXPECT_TRUE(s.FindNext("x") == 0);
        EXPECT_LE(s.Sample(0, 1).size(), 61u);
        dir_.Write("moving.txt", std::string(300, 'x') + "hit" + std::string(300, 'y'));
    }

    // And from another thread, while searches run on.
    std::atomic<bool> stop{false};
    std::thread resizer([&] {
        std::mt19937 rng(5);
        while (!stop)
            (void)::truncate(path.c_str(), std::uniform_int_distribution<off_t>(0, 40000)(rng));
    });
    for (int i = 0; i < 300; ++i) {
        CTextSearcher s;
        s.SetChunkLimit(i % 2 ? 1000 : CTextSearcher::kDefaultChunkLimit);
        if (!s.Open(path, i % 3 == 0, false, i % 4 == 0))
            continue;
        int64_t start = -1, end = -1;
        if (s.FindNext("x*y", &start, &end) >= 0) {
            EXPECT_LE(start, end);
        }
        s.Sample(static_cast<uint64_t>(std::max<int64_t>(start, 0)),
                 static_cast<uint64_t>(std::max<int64_t>(end, 0)));
    }
    stop = true;
    resizer.join();
}

TEST_F(TextSearcher, PlainFindsAgreeWithFindingInTheWholeText) {
    // The model: the whole file in one string, folded the searcher's way
    // unless case matters, and std::string::find from the last hit on.
    std::mt19937 rng(11);
    const std::vector<std::string> pieces = {
        "a",    "b",  "A",           "B", "\xc3\xa9", "\xc3\x89", "\n", std::string(1, '\0'),
        "\xff", "ab", "\xe2\x82\xac"};
    auto randomText = [&](size_t maxPieces) {
        std::string t;
        size_t n = std::uniform_int_distribution<size_t>(0, maxPieces)(rng);
        for (size_t i = 0; i < n; ++i)
            t += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(rng)];
        return t;
    };
    CTextSearcher s; // reused, as a search reuses it for every file
    for (int round = 0; round < 400; ++round) {
        const std::string content = randomText(round % 10 == 0 ? 5000 : 300);
        const std::string path = dir_.Write("m.txt", content);
        const bool matchCase = round % 2;
        s.SetChunkLimit(std::uniform_int_distribution<size_t>(1, round % 3 ? 64 : 100000)(rng));
        ASSERT_TRUE(s.Open(path, false, false, matchCase));
        const std::string text = matchCase ? content : FoldText(content);
        size_t pos = 0;
        for (int k = 0; k < 8; ++k) {
            std::string phrase = randomText(4);
            if (phrase.empty())
                continue;
            const std::string folded = matchCase ? phrase : FoldText(phrase);
            size_t want = text.find(folded, pos);
            int64_t start = -1, end = -1;
            s.FindNext(phrase, &start, &end);
            ASSERT_EQ(start, want == std::string::npos ? -1 : static_cast<int64_t>(want))
                << "round " << round << " phrase #" << k;
            if (want != std::string::npos) {
                ASSERT_EQ(end, static_cast<int64_t>(want + folded.size()));
                pos = want;
            }
        }
    }
}
