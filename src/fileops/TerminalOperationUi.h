#pragma once

#include "fileops/FileOperationUi.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orvo {

// How a terminal run answers without asking.
struct TerminalAnswers {
    enum class Problems { Ask, ExecuteAll, SkipAll };
    enum class Errors { Ask, Abort, Ignore };
    Problems problems = Problems::Ask;
    Errors errors = Errors::Ask;
    // Go on when the destination looks too small.
    bool continueWithoutSpace = false;
};

// A file operation on a terminal: progress as one line rewritten in place
// (only when the output is a terminal), questions asked on the output and
// read from the input, or answered by the given defaults. With no input
// left a question gets its safe answer: Cancel, No, Abort.
class TerminalOperationUi : public FileOperationUi {
public:
    TerminalOperationUi(std::FILE* in, std::FILE* out, TerminalAnswers answers,
                        const std::atomic<bool>* stop = nullptr);

    void ShowProgress(const ProgressFigures& figures) override;
    void ShowWindow() override {}
    bool AskProblems(QTable& problems, const std::string& description) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    ErrorAnswer AskAbortRetryIgnore(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;
    bool IsPaused() override { return false; }
    bool IsCancelled() override;

    // Clears the progress line (before the program's own last words).
    void FinishProgress();
    // Whether the progress line is drawn; on by default for a terminal.
    void SetShowProgress(bool show) { showProgress_ = show; }

private:
    bool ReadLine(std::string& line);
    void ClearLine();
    void Print(const std::string& text);
    void PrintProblems(const QTable& problems);

    std::FILE* in_;
    std::FILE* out_;
    TerminalAnswers answers_;
    const std::atomic<bool>* stop_;
    bool showProgress_;
    bool lineShown_ = false;
    uint64_t lastDraw_ = 0;
};

// "\r\n" as the terminal's "\n".
std::string TerminalText(const std::string& text);
// Row numbers like "1 3 5-7" (1-based) into the rows they name; false for
// anything else.
bool ParseRowList(const std::string& text, int rowCount, std::vector<int>& rows);

} // namespace orvo
