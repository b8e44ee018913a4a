#include "search/ui/SearchWorker.h"

namespace orvo {

// The sink the search writes to on its thread; the window reads it.
class SearchWorker::Mailbox : public SearchSink {
public:
    void PlaceStarted(const std::string&, const std::string& caption) override {
        std::lock_guard<std::mutex> hold(lock_);
        pending_.places.push_back({true, false, caption});
    }
    void Searching(const std::string& path) override {
        std::lock_guard<std::mutex> hold(lock_);
        pending_.searching = path;
    }
    void Counts(const SearchCounts& counts) override {
        std::lock_guard<std::mutex> hold(lock_);
        pending_.counts = counts;
        pending_.countsChanged = true;
    }
    void Hit(SearchHit&& hit) override {
        std::lock_guard<std::mutex> hold(lock_);
        pending_.hits.push_back(std::move(hit));
    }
    void PlaceFinished(const std::string&, bool broken, const SearchCounts& counts) override {
        std::lock_guard<std::mutex> hold(lock_);
        pending_.places.push_back({false, broken, std::string()});
        pending_.counts = counts;
        pending_.countsChanged = true;
    }
    void Finish(SearchEnd end) {
        std::lock_guard<std::mutex> hold(lock_);
        pending_.finished = true;
        pending_.end = end;
    }
    bool Take(Update& update) {
        std::lock_guard<std::mutex> hold(lock_);
        update = std::move(pending_);
        pending_ = Update();
        return !update.hits.empty() || !update.searching.empty() || update.countsChanged ||
               !update.places.empty() || update.finished;
    }

private:
    std::mutex lock_;
    Update pending_;
};

SearchWorker::~SearchWorker() {
    control_.Close();
    Join();
}

void SearchWorker::Join() {
    if (thread_.joinable())
        thread_.join();
}

bool SearchWorker::Running() const {
    return !done_;
}

bool SearchWorker::Start(SearchCriteria criteria) {
    if (!done_)
        return false;
    Join();
    mailbox_ = std::make_shared<Mailbox>();
    done_ = false;
    control_.Begin();
    thread_ = std::thread([this, criteria = std::move(criteria), mailbox = mailbox_]() {
        SearchSummary summary = RunSearch(criteria, control_, *mailbox);
        // Done before the window can read that it finished, so that it may
        // start again at once.
        done_ = true;
        mailbox->Finish(summary.end);
    });
    return true;
}

bool SearchWorker::Take(Update& update) {
    return mailbox_ && mailbox_->Take(update);
}

} // namespace orvo
