#include "search/SearchEngine.h"

#include "../platform/TestDirectory.h"

#include <algorithm>
#include <clocale>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

struct Recorder : SearchSink {
    std::vector<SearchHit> hits;
    std::vector<std::string> started;
    std::vector<std::pair<std::string, bool>> finished;
    std::function<void(const SearchHit&)> onHit;
    // Called as the walk enters each directory: stops and keys given here
    // fall between two entries, where the window's would.
    std::function<void(const std::string&)> onSearching;

    void PlaceStarted(const std::string& place, const std::string&) override {
        started.push_back(place);
    }
    void Searching(const std::string& path) override {
        if (onSearching)
            onSearching(path);
    }
    void Hit(SearchHit&& hit) override {
        if (onHit)
            onHit(hit);
        hits.push_back(std::move(hit));
    }
    void PlaceFinished(const std::string& place, bool broken, const SearchCounts&) override {
        finished.emplace_back(place, broken);
    }
    std::vector<std::string> Paths(const std::string& root) const {
        std::vector<std::string> paths;
        for (const SearchHit& h : hits)
            paths.push_back(h.path.substr(root.size() + 1));
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

using Paths = std::vector<std::string>;

class SearchEngine : public ::testing::Test {
protected:
    void SetUp() override {
        std::setlocale(LC_ALL, "C.UTF-8");
        dir_.Write("docs/a.txt", "say hello to the world");
        dir_.Write("docs/b.TXT", "HELLO");
        dir_.Write("docs/c.md", "nothing here");
        dir_.Write("docs/sub/d.txt", "world only");
        dir_.Write("bin/x.o", "hello in a binary");
        dir_.MakeDirectory("docs/hello.txt");
        criteria_.places = dir_.Path();
    }

    SearchSummary Run(Recorder& recorder) { return RunSearch(criteria_, control_, recorder); }

    TestDirectory dir_;
    SearchCriteria criteria_;
    SearchControl control_;
};

} // namespace

TEST_F(SearchEngine, NamesTextModesAndBinaries) {
    Recorder names;
    criteria_.names = "*.txt";
    SearchSummary s = Run(names);
    EXPECT_EQ(s.end, SearchEnd::Finished);
    EXPECT_EQ(names.Paths(dir_.Path()),
              (Paths{"docs/a.txt", "docs/b.TXT", "docs/hello.txt", "docs/sub/d.txt"}));
    EXPECT_EQ(s.counts.dirsFound, 1u);
    EXPECT_EQ(s.counts.filesFound, 3u);
    EXPECT_EQ(s.counts.bytesFound, 22u + 5u + 10u);
    EXPECT_EQ(names.finished, (std::vector<std::pair<std::string, bool>>{{dir_.Path(), false}}));

    criteria_.names = "";
    criteria_.textOn = true;
    criteria_.text = "hello";
    Recorder simple;
    Run(simple); // directories are never text hits
    EXPECT_EQ(simple.Paths(dir_.Path()), (Paths{"bin/x.o", "docs/a.txt", "docs/b.TXT"}));

    criteria_.excludeBinaries = true;
    criteria_.binaryPatterns = {"*.o", "*.exe"};
    Recorder noBinaries;
    Run(noBinaries);
    EXPECT_EQ(noBinaries.Paths(dir_.Path()), (Paths{"docs/a.txt", "docs/b.TXT"}));

    criteria_.textMode = TextMode::And;
    criteria_.text = "hello;world";
    Recorder both;
    Run(both);
    ASSERT_EQ(both.Paths(dir_.Path()), (Paths{"docs/a.txt"}));
    EXPECT_EQ(both.hits[0].sample, "lo to the world"); // around the phrase found last

    criteria_.textMode = TextMode::Or;
    criteria_.text = "world;hello;";
    Recorder either;
    Run(either);
    EXPECT_EQ(either.Paths(dir_.Path()), (Paths{"docs/a.txt", "docs/b.TXT", "docs/sub/d.txt"}));
}

TEST_F(SearchEngine, ConditionsOnDateAndSize) {
    std::string old = dir_.Write("docs/old.txt", "x");
    struct timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 20 * 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, old.c_str(), times, 0), 0);
    criteria_.names = "*.txt";
    criteria_.noOlderThan = true;
    criteria_.ageNumber = "2";
    criteria_.ageUnit = TimeUnit::Weeks;
    Recorder recent;
    Run(recent);
    EXPECT_EQ(recent.Paths(dir_.Path()),
              (Paths{"docs/a.txt", "docs/b.TXT", "docs/hello.txt", "docs/sub/d.txt"}));

    criteria_.noOlderThan = false;
    criteria_.sizeCompare = true;
    criteria_.sizeRelation = SizeRelation::MoreThan;
    criteria_.sizeNumber = "9";
    Recorder big;
    Run(big);
    EXPECT_EQ(big.Paths(dir_.Path()),
              (Paths{"docs/a.txt", "docs/sub/d.txt"})); // directories have size 0
}

TEST_F(SearchEngine, StopEscapeAndClose) {
    std::string second = dir_.MakeDirectory("second");
    dir_.Write("second/y.txt");
    criteria_.places = dir_.Path() + ";" + second;
    criteria_.names = "*.txt";
    Recorder all;
    Run(all);
    ASSERT_EQ(all.hits.size(), 6u); // "second" lies in the first place too
    const std::string sub = dir_ / "docs/sub";

    Recorder stopped;
    stopped.onSearching = [&](const std::string& path) {
        if (path == sub)
            control_.RequestStop();
    };
    SearchSummary s = Run(stopped);
    EXPECT_EQ(s.end, SearchEnd::Stopped);
    // The entry in hand is finished, then the walk stops.
    ASSERT_LT(stopped.hits.size(), 6u);
    EXPECT_EQ(stopped.hits.back().path, sub + "/d.txt");
    // The first place ends as broken, and no other place is searched.
    EXPECT_EQ(stopped.finished, (std::vector<std::pair<std::string, bool>>{{dir_.Path(), true}}));
    EXPECT_FALSE(control_.Searching());

    Recorder escaped;
    escaped.onSearching = [&](const std::string& path) {
        if (path == sub)
            control_.PressKey(SearchControl::kEscape);
    };
    EXPECT_EQ(Run(escaped).end, SearchEnd::Stopped);
    EXPECT_EQ(escaped.hits.size(), stopped.hits.size());

    // A new start after a stop searches again from the beginning.
    Recorder again;
    EXPECT_EQ(Run(again).end, SearchEnd::Finished);
    EXPECT_EQ(again.hits.size(), 6u);

    Recorder closed;
    closed.onSearching = [&](const std::string& path) {
        if (path == sub)
            control_.Close();
    };
    EXPECT_EQ(Run(closed).end, SearchEnd::Closed);
    EXPECT_TRUE(closed.finished.empty()); // no end texts for a closed window
}

TEST_F(SearchEngine, BackspaceSkipsTheRestOfASubdirectoryOnly) {
    TestDirectory tree;
    for (int i = 0; i < 50; ++i) {
        tree.Write("a/f" + std::to_string(i) + ".dat");
        tree.Write("a/deeper/g" + std::to_string(i) + ".dat");
        tree.Write("top" + std::to_string(i) + ".dat");
    }
    criteria_.places = tree.Path();
    criteria_.names = "*.dat";
    auto pressIn = [this](const std::string& directory) {
        return [this, directory](const std::string& path) {
            if (path == directory)
                control_.PressKey(SearchControl::kBackspace);
        };
    };
    auto countIn = [](const Recorder& r, const char* part) {
        return std::count_if(r.hits.begin(), r.hits.end(), [part](const SearchHit& h) {
            return h.path.find(part) != std::string::npos;
        });
    };

    // Pressed at the first entry of "a": the rest of "a", "deeper" with it,
    // is not walked.
    Recorder skipping;
    skipping.onSearching = pressIn(tree / "a");
    Run(skipping);
    EXPECT_LE(countIn(skipping, "/a/"), 1);
    EXPECT_EQ(countIn(skipping, "/top"), 50); // the place's own level is never skipped

    // At the place's own level Backspace does nothing.
    Recorder atTop;
    atTop.onSearching = pressIn(tree.Path());
    Run(atTop);
    EXPECT_EQ(atTop.hits.size(), 150u);
}

TEST_F(SearchEngine, LinksAreFollowedOneLevelOnlyWhenAsked) {
    TestDirectory tree;
    tree.Write("real/target.txt", "needle");
    tree.MakeDirectory("links");
    ASSERT_EQ(::symlink("../real", (tree / "links/dir").c_str()), 0);
    ASSERT_EQ(::symlink("../real/target.txt", (tree / "links/file.lnk").c_str()), 0);
    ASSERT_EQ(::symlink("..", (tree / "real/up").c_str()), 0); // a loop
    const std::string root = std::filesystem::canonical(tree.Path()).string();
    criteria_.places = root;
    criteria_.textOn = true;
    criteria_.text = "needle";

    Recorder plain;
    Run(plain);
    EXPECT_EQ(plain.Paths(root), (Paths{"real/target.txt"})); // links are not read through

    criteria_.followLinks = true;
    Recorder followed;
    Run(followed);
    // A file link stands for its target (its path is the target's); links
    // met inside a followed link are not followed again.
    EXPECT_EQ(followed.Paths(root),
              (Paths{"links/dir/target.txt", "real/target.txt", "real/target.txt",
                     "real/target.txt", "real/up/real/target.txt"}));

    criteria_.textOn = false;
    criteria_.names = "file";
    Recorder byName;
    Run(byName); // the target's name is what is tested
    EXPECT_TRUE(byName.hits.empty());
}

TEST_F(SearchEngine, PlacesThatCannotBeSearched) {
    criteria_.places = dir_ / "missing";
    Recorder missing;
    EXPECT_EQ(Run(missing).end, SearchEnd::Finished);
    EXPECT_TRUE(missing.hits.empty());
    EXPECT_EQ(missing.finished,
              (std::vector<std::pair<std::string, bool>>{{dir_ / "missing", false}}));

    criteria_.places = " ; ";
    Recorder none;
    EXPECT_EQ(Run(none).end, SearchEnd::NothingToDo);
    EXPECT_TRUE(none.started.empty());
}

TEST_F(SearchEngine, SearchesOnTwoThreadsKeepTheirOwnResults) {
    TestDirectory other;
    for (int i = 0; i < 300; ++i)
        other.Write("o" + std::to_string(i) + ".txt", "other");
    SearchCriteria a = criteria_, b = criteria_;
    a.names = "*.txt";
    b.places = other.Path();
    SearchControl ca, cb;
    Recorder ra, rb;
    std::thread ta([&] { RunSearch(a, ca, ra); });
    std::thread tb([&] { RunSearch(b, cb, rb); });
    ta.join();
    tb.join();
    EXPECT_EQ(ra.hits.size(), 4u);
    EXPECT_EQ(rb.hits.size(), 300u);
}
