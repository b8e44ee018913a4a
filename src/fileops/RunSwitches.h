#pragma once

#include <atomic>

namespace orvo {

// Pause, Cancel and the question "stop?" as a run reads them between
// entries. While the person is asked whether to stop, the run holds as if
// paused: nothing more is deleted or moved before the answer.
class RunSwitches {
public:
    void SetPaused(bool paused) { paused_ = paused; }
    void Cancel() { cancelled_ = true; }

    // Asks (on the asker's thread) with the run held; Yes cancels it. The
    // run goes on as before after No, still paused if Pause is down.
    template <typename Ask> bool AskToStop(Ask&& ask) {
        ++asking_;
        bool stop = ask();
        if (stop)
            cancelled_ = true;
        --asking_;
        return stop;
    }

    bool IsPaused() const { return paused_ || asking_ > 0; }
    bool IsCancelled() const { return cancelled_; }

private:
    std::atomic<bool> paused_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<int> asking_{0};
};

} // namespace orvo
