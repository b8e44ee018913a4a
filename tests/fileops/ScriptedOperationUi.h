#pragma once

#include "fileops/FileOperationRun.h"
#include "fileops/FileOperationUi.h"
#include "fileops/ProblemsTable.h"
#include "fileops/RunSwitches.h"
#include "store/QTable.h"

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace orvo::test {

// Answers a file operation from a script and records what it was told.
class ScriptedOperationUi : public FileOperationUi {
public:
    // Problems: rows as asked, and the answer (default: OK, rows as they are).
    std::function<bool(QTable&)> onProblems;
    std::vector<std::string> problemRows;
    std::string problemsDescription;
    int problemsAsked = 0;

    // Questions in order; yes/no answers from yesNo (default Yes), error
    // answers from onError or errors (default Abort).
    std::deque<bool> yesNo;
    std::deque<ErrorAnswer> errors;
    std::function<ErrorAnswer(const std::string&)> onError;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<std::string> titles;

    int windowShown = 0;
    std::vector<ProgressFigures> figures;
    std::function<bool()> paused = [] { return false; };
    std::atomic<bool> cancelled{false};
    // Pause, Cancel and the stop question as a window's buttons give them,
    // for a test's other thread.
    RunSwitches switches;

    void ShowProgress(const ProgressFigures& f) override { figures.push_back(f); }
    void ShowWindow() override { ++windowShown; }
    bool AskProblems(QTable& problems, const std::string& description) override {
        ++problemsAsked;
        problemsDescription = description;
        for (int i = 0; i < problems.GetRecordCount(); ++i)
            problemRows.push_back(problems.GetText("Path", i));
        return onProblems ? onProblems(problems) : true;
    }
    bool AskYesNo(const std::string& title, const std::string& text) override {
        titles.push_back(title);
        questions.push_back(text);
        if (yesNo.empty())
            return true;
        bool answer = yesNo.front();
        yesNo.pop_front();
        return answer;
    }
    ErrorAnswer AskAbortRetryIgnore(const std::string& title, const std::string& text) override {
        titles.push_back(title);
        questions.push_back(text);
        if (onError)
            return onError(text);
        if (errors.empty())
            return ErrorAnswer::Abort;
        ErrorAnswer answer = errors.front();
        errors.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& title, const std::string& text) override {
        titles.push_back(title);
        messages.push_back(text);
    }
    bool IsPaused() override { return switches.IsPaused() || paused(); }
    bool IsCancelled() override { return cancelled.load() || switches.IsCancelled(); }
};

// A clock that moves a fixed step at every reading.
class SteppingClock : public FileOperationClock {
public:
    explicit SteppingClock(uint64_t step) : step_(step) {}
    uint64_t TickMs() const override { return now_ += step_; }
    std::time_t Now() const override { return 1700000000; }

private:
    uint64_t step_;
    mutable uint64_t now_ = 1000;
};

} // namespace orvo::test
