#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace orvo {

// Runs a call that may never return (a question to a network file system
// whose server is gone) on a thread of its own and waits at most timeoutMs
// for it: nothing when it did not end in time. The thread is then left to
// end, or hang, alone; it owns all it touches.
template <class Result, class Call> std::optional<Result> CallWithin(int timeoutMs, Call call) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, call = std::move(call)]() mutable {
        Result result = call();
        std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->done.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    shared->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [&] { return shared->result.has_value(); });
    return std::move(shared->result);
}

} // namespace orvo
