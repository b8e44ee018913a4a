#pragma once

#include "fileops/FileOperationUi.h"
#include "fileops/RunSwitches.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace orvo {

class CFileOperationDlg;

// The run's side of an operation window: the run calls it on its own
// thread; figures wait here until the window's timer fetches them, and a
// question is handed to the window's thread while the run waits for the
// answer. When the window goes first, every waiting and later question
// gets its safe answer (Cancel, No, Abort) and the run stops.
class DialogOperationUi : public FileOperationUi,
                          public std::enable_shared_from_this<DialogOperationUi> {
public:
    explicit DialogOperationUi(CFileOperationDlg* dialog) : dialog_(dialog) {}

    void ShowProgress(const ProgressFigures& figures) override;
    void ShowWindow() override { showRequested_ = true; }
    bool AskProblems(QTable& problems, const std::string& description) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    ErrorAnswer AskAbortRetryIgnore(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;
    bool IsPaused() override { return switches_.IsPaused(); }
    bool IsCancelled() override { return switches_.IsCancelled(); }

    // The window's side.
    bool TakeFigures(ProgressFigures& figures);
    bool TakeShowRequest() { return showRequested_.exchange(false); }
    void SetPaused(bool paused) { switches_.SetPaused(paused); }
    void Cancel() { switches_.Cancel(); }
    // Asks whether to stop with the run held meanwhile; true (and the run
    // cancelled) for Yes.
    template <typename Ask> bool AskToStop(Ask&& ask) { return switches_.AskToStop(ask); }
    // The window is going: no question reaches it any more.
    void Abandon();

private:
    struct Pending;
    int Call(std::function<int(CFileOperationDlg&)> question, int fallback);

    std::mutex mutex_;
    CFileOperationDlg* dialog_; // null once abandoned
    std::shared_ptr<Pending> pending_;
    ProgressFigures figures_;
    bool figuresNew_ = false;
    std::atomic<bool> showRequested_{false};
    RunSwitches switches_;
};

} // namespace orvo
