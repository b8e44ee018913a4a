#include "search/HitStatusPipeline.h"

#include <fcntl.h>

namespace orvo {

namespace {
// Hits travel in batches so the two threads meet rarely.
constexpr size_t kBatch = 256;
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
    bool wake;
    {
        std::lock_guard<std::mutex> hold(lock_);
        todo_.push_back(std::move(filling_));
        ++outstanding_;
        wake = workerIdle_;
    }
    filling_.clear();
    if (wake)
        wake_.notify_all();
}

void HitStatusPipeline::Deliver(bool wait) {
    HandOver();
    for (;;) {
        Batch batch;
        {
            std::unique_lock<std::mutex> hold(lock_);
            if (wait) {
                walkerWaiting_ = true;
                wake_.wait(hold, [this] { return !done_.empty() || outstanding_ == 0; });
                walkerWaiting_ = false;
            }
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
            workerIdle_ = true;
            wake_.wait(hold, [this] { return !todo_.empty() || ending_; });
            workerIdle_ = false;
            if (todo_.empty())
                return;
            batch = std::move(todo_.front());
            todo_.pop_front();
        }
        for (PendingHit& p : batch) {
            p.statusRead = !p.needsStatus || ::fstatat(*p.directoryFd, p.entryName.c_str(),
                                                       &p.status, AT_SYMLINK_NOFOLLOW) == 0;
        }
        bool wake;
        {
            std::lock_guard<std::mutex> hold(lock_);
            done_.push_back(std::move(batch));
            wake = walkerWaiting_;
        }
        if (wake)
            wake_.notify_all();
    }
}

} // namespace orvo
