#pragma once

#include "search/SearchEngine.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace orvo {

// A name hit whose status (size, date, mode) is still to be read.
struct PendingHit {
    SearchHit hit;
    std::shared_ptr<const int> directoryFd; // the open directory that holds it
    std::string entryName;
    bool needsStatus = true; // false: status already read (a link)
    bool leadsNowhere = false;
    bool statusRead = false;
    struct stat status {};
};

// Reads the status of name hits on a thread of its own while the walk goes
// on, and hands the hits back in the order they were found. A name search
// spends most of its time in the system, listing directories and reading
// the status of every hit; on a second core the two overlap.
class HitStatusPipeline {
public:
    // finish is called on the walking thread, in order, with each hit whose
    // status was read (a hit that vanished in between is dropped).
    explicit HitStatusPipeline(std::function<void(PendingHit&)> finish);
    ~HitStatusPipeline();
    HitStatusPipeline(const HitStatusPipeline&) = delete;
    HitStatusPipeline& operator=(const HitStatusPipeline&) = delete;

    void Add(PendingHit&& pending);
    // Passes on the hits gathered so far and finishes those already read;
    // with wait, every hit added is finished before it returns.
    void Deliver(bool wait);

private:
    using Batch = std::vector<PendingHit>;
    void HandOver();
    void Work();

    std::function<void(PendingHit&)> finish_;
    Batch filling_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<Batch> todo_;
    std::deque<Batch> done_;
    size_t outstanding_ = 0; // batches handed over and not yet taken back
    bool ending_ = false;
    // Who sleeps: a wake-up is a system call, made only for a sleeper.
    bool workerIdle_ = false;
    bool walkerWaiting_ = false;
    std::thread worker_;
};

} // namespace orvo
