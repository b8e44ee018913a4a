#include "search/HitStatusPipeline.h"

#include <fcntl.h>

namespace orvo {

namespace {
// Hits travel in batches so the two threads meet rarely.
constexpr size_t kBatch = 64;
} // namespace

HitStatusPipeline::HitStatusPipeline(std::function<void(PendingHit&)> finish)
    : finish_(std::move(finish)), worker_([this] { Work(); }) {}

HitStatusPipeline::~HitStatusPipeline() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void HitStatusPipeline::Add(PendingHit&& pending) {
    filling_.push_back(std::move(pending));
    if (filling_.size() >= kBatch) {
        HandOver();
        Deliver(false);
    }
}

void HitStatusPipeline::HandOver() {
    if (filling_.empty())
        return;
    {
        std::lock_guard<std::mutex> hold(lock_);
        todo_.push_back(std::move(filling_));
        ++outstanding_;
    }
    filling_.clear();
    wake_.notify_all();
}

void HitStatusPipeline::Deliver(bool wait) {
    HandOver();
    for (;;) {
        Batch batch;
        {
            std::unique_lock<std::mutex> hold(lock_);
            if (wait)
                wake_.wait(hold, [this] { return !done_.empty() || outstanding_ == 0; });
            if (done_.empty())
                return;
            batch = std::move(done_.front());
            done_.pop_front();
            --outstanding_;
        }
        for (PendingHit& p : batch)
            if (p.statusRead)
                finish_(p);
    }
}

void HitStatusPipeline::Work() {
    for (;;) {
        Batch batch;
        {
            std::unique_lock<std::mutex> hold(lock_);
            wake_.wait(hold, [this] { return !todo_.empty() || ending_; });
            if (todo_.empty())
                return;
            batch = std::move(todo_.front());
            todo_.pop_front();
        }
        for (PendingHit& p : batch) {
            p.statusRead = !p.needsStatus || ::fstatat(*p.directoryFd, p.entryName.c_str(),
                                                       &p.status, AT_SYMLINK_NOFOLLOW) == 0;
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            done_.push_back(std::move(batch));
        }
        wake_.notify_all();
    }
}

} // namespace orvo
