#pragma once

#include "search/SearchCriteria.h"

#include <atomic>
#include <cstdint>
#include <ctime>
#include <string>

namespace orvo {

// One found entry, with what a row of the results shows.
struct SearchHit {
    std::string path;
    std::string name;         // without the extension
    std::string extension;    // without the dot
    uint64_t size = 0;        // the real size (0 for a directory)
    std::time_t modified = 0; // last modification (TimeToLocalOleDate makes the "Date" cell)
    std::string attributes;   // "rahs"
    bool isDirectory = false;
    std::string sample; // text around a text hit
};

struct SearchCounts {
    uint64_t dirsFound = 0;
    uint64_t filesFound = 0;
    uint64_t bytesFound = 0;
    uint64_t entries = 0; // entries looked at
};

// Where a running search reports. Called on the searching thread.
class SearchSink {
public:
    virtual ~SearchSink() = default;
    // A place begins; caption is the search's caption (SearchCaption).
    virtual void PlaceStarted(const std::string& place, const std::string& caption) {}
    // The directory being searched (with text search, the file being read),
    // whenever it changes.
    virtual void Searching(const std::string& path) {}
    // The counters, every 50 entries and at the end of each place.
    virtual void Counts(const SearchCounts& counts) {}
    virtual void Hit(SearchHit&& hit) = 0;
    // broken: the place was stopped before its end.
    virtual void PlaceFinished(const std::string& place, bool broken, const SearchCounts& counts) {}
};

// The keys and requests that reach a running search from another thread,
// read between entries.
class SearchControl {
public:
    static constexpr int kEscape = 27;
    static constexpr int kBackspace = 8;

    // Marks the search as running before its thread starts, so that a stop
    // asked for in between is not lost; RunSearch does it otherwise.
    void Begin() {
        lastKey_ = 0;
        searching_ = true;
        begun_ = true;
    }
    // Start pressed again: stop.
    void RequestStop() { searching_ = false; }
    // A key pressed in the window (Escape stops, Backspace skips the rest of
    // the directory being walked).
    void PressKey(int key) { lastKey_ = key; }
    // The window went away: the search ends at once, without end texts.
    void Close() {
        closed_ = true;
        searching_ = false;
    }
    bool Searching() const { return searching_; }
    bool Closed() const { return closed_; }

private:
    friend class SearchRun;
    std::atomic<bool> searching_{false};
    std::atomic<bool> closed_{false};
    std::atomic<int> lastKey_{0};
    std::atomic<bool> begun_{false};
};

enum class SearchEnd {
    Finished,   // every place walked to its end
    Stopped,    // Start, Escape: the place being walked ended as broken
    Closed,     // the window closed
    NothingToDo // no names or no places
};

struct SearchSummary {
    SearchEnd end = SearchEnd::Finished;
    SearchCounts counts;
};

// Runs a search on the calling thread to its end.
SearchSummary RunSearch(const SearchCriteria& criteria, SearchControl& control, SearchSink& sink);

} // namespace orvo
