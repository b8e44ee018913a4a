#pragma once

#include "fileops/ProgressFigures.h"

#include <string>

namespace orvo {

class QTable;

enum class ErrorAnswer { Abort, Retry, Ignore };

// Everything a file operation needs from a person: the run calls it from
// its own thread, and the window, the terminal or a test script answer.
// Every question blocks the run until it is answered.
class FileOperationUi {
public:
    virtual ~FileOperationUi() = default;

    // The latest figures; called often (the run already keeps it to about
    // thirty times a second), so an implementation only stores them.
    virtual void ShowProgress(const ProgressFigures& figures) = 0;
    // The window is to be visible from now on: work has gone on for four
    // seconds, or a question follows.
    virtual void ShowWindow() = 0;

    // The problems list; the rows' "Execute" cells may be changed. False
    // when the person cancels the whole operation.
    virtual bool AskProblems(QTable& problems, const std::string& description) = 0;
    // Yes (true) or No; title is the window's caption.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
    virtual ErrorAnswer AskAbortRetryIgnore(const std::string& title, const std::string& text) = 0;
    // A message with an OK button.
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;

    // Read between entries: a paused run waits, a cancelled one stops.
    virtual bool IsPaused() = 0;
    virtual bool IsCancelled() = 0;
};

} // namespace orvo
