#pragma once

#include "search/SearchEngine.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvo {

// One search window's searching thread. The search reports into a shared
// mailbox that the window empties on a timer, so hits reach the list in
// batches however fast they are found, and the thread never touches a
// widget.
class SearchWorker {
public:
    // What happened since the last Take.
    struct Update {
        std::vector<SearchHit> hits;
        std::string searching; // the directory (or file) being searched, when it changed
        bool countsChanged = false;
        SearchCounts counts;
        struct PlaceEvent {
            bool started; // else finished
            bool broken;
            std::string caption;
        };
        std::vector<PlaceEvent> places;
        bool finished = false; // the search is over (and its thread done)
        SearchEnd end = SearchEnd::Finished;
    };

    SearchWorker() = default;
    SearchWorker(const SearchWorker&) = delete;
    SearchWorker& operator=(const SearchWorker&) = delete;
    // Ends a running search and waits for its thread.
    ~SearchWorker();

    // Starts a search on a new thread; false while one still runs (its
    // thread has not come to its end yet).
    bool Start(SearchCriteria criteria);
    bool Running() const;
    SearchControl& Control() { return control_; }

    // Empties the mailbox into update; false when nothing was there.
    bool Take(Update& update);

private:
    class Mailbox;
    void Join();

    SearchControl control_;
    std::shared_ptr<Mailbox> mailbox_;
    std::thread thread_;
    std::atomic<bool> done_{true};
};

} // namespace orvo
