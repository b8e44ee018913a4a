#include "fileops/TerminalOperationUi.h"

#include "fileops/ProblemsTable.h"
#include "store/QTable.h"

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace orvo {

namespace {

uint64_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    size_t e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

} // namespace

std::string TerminalText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out.push_back(text[i]);
    return out;
}

bool ParseRowList(const std::string& text, int rowCount, std::vector<int>& rows) {
    rows.clear();
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        size_t dash = word.find('-');
        char* end = nullptr;
        long first = std::strtol(word.c_str(), &end, 10);
        long last = first;
        if (dash != std::string::npos) {
            if (end != word.c_str() + dash)
                return false;
            last = std::strtol(word.c_str() + dash + 1, &end, 10);
        }
        if (*end != '\0' || first < 1 || last < first || last > rowCount)
            return false;
        for (long r = first; r <= last; ++r)
            rows.push_back(static_cast<int>(r - 1));
    }
    return !rows.empty();
}

TerminalOperationUi::TerminalOperationUi(std::FILE* in, std::FILE* out, TerminalAnswers answers,
                                         const std::atomic<bool>* stop)
    : in_(in), out_(out), answers_(answers), stop_(stop),
      showProgress_(out && ::isatty(::fileno(out))) {}

bool TerminalOperationUi::IsCancelled() {
    return stop_ && stop_->load();
}

void TerminalOperationUi::ClearLine() {
    if (lineShown_) {
        std::fputs("\r\033[K", out_);
        lineShown_ = false;
    }
}

void TerminalOperationUi::FinishProgress() {
    ClearLine();
    std::fflush(out_);
}

void TerminalOperationUi::Print(const std::string& text) {
    ClearLine();
    std::fputs(TerminalText(text).c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void TerminalOperationUi::ShowProgress(const ProgressFigures& figures) {
    if (!showProgress_)
        return;
    uint64_t now = NowMs();
    if (lineShown_ && now - lastDraw_ < 100)
        return;
    lastDraw_ = now;
    std::string line = figures.caption;
    if (figures.total > 0)
        line = figures.leftLine + " | " + figures.speedLine + " | " + figures.timeLeftLine + " | " +
               line;
    // One line of the terminal's width at most, or it scrolls.
    if (line.size() > 150)
        line = line.substr(0, 147) + "...";
    std::fputs("\r\033[K", out_);
    std::fputs(line.c_str(), out_);
    std::fflush(out_);
    lineShown_ = true;
}

bool TerminalOperationUi::ReadLine(std::string& line) {
    line.clear();
    if (!in_)
        return false;
    int c;
    bool any = false;
    while ((c = std::fgetc(in_)) != EOF) {
        any = true;
        if (c == '\n')
            return true;
        line.push_back(static_cast<char>(c));
    }
    return any;
}

void TerminalOperationUi::PrintProblems(const QTable& problems) {
    for (int i = 0; i < problems.GetRecordCount(); ++i) {
        bool execute = problems.GetText("Execute", i) == "TRUE";
        std::fprintf(out_, "%5d  %s  %s\n", i + 1, execute ? "[x]" : "[ ]",
                     problems.GetText("Path", i).c_str());
    }
}

bool TerminalOperationUi::AskProblems(QTable& problems, const std::string& description) {
    ClearLine();
    std::fprintf(out_, "%s\n", TerminalText(description).c_str());
    if (answers_.problems != TerminalAnswers::Problems::Ask) {
        SetAllExecute(problems, answers_.problems == TerminalAnswers::Problems::ExecuteAll);
        PrintProblems(problems);
        std::fflush(out_);
        return true;
    }
    for (;;) {
        PrintProblems(problems);
        std::fputs("[x] is done, [ ] is left alone. y: yes to all, s: skip all, numbers (1 3 5-7): "
                   "switch those rows, Enter: go on as shown, c: cancel\n> ",
                   out_);
        std::fflush(out_);
        std::string line;
        if (!ReadLine(line) || IsCancelled()) {
            Print("(no answer: cancelled)");
            return false;
        }
        std::string answer = Trim(line);
        std::vector<int> rows;
        if (answer.empty())
            return true;
        if (answer == "y" || answer == "Y") {
            SetAllExecute(problems, true);
            return true;
        }
        if (answer == "s" || answer == "S") {
            SetAllExecute(problems, false);
            return true;
        }
        if (answer == "c" || answer == "C" || answer == "q")
            return false;
        if (ParseRowList(answer, problems.GetRecordCount(), rows)) {
            for (int r : rows)
                ToggleExecute(problems, r);
            continue;
        }
        std::fputs("Not understood.\n", out_);
    }
}

bool TerminalOperationUi::AskYesNo(const std::string&, const std::string& text) {
    Print(text);
    if (answers_.continueWithoutSpace) {
        Print("(yes)");
        return true;
    }
    for (;;) {
        std::fputs("[y]es / [n]o > ", out_);
        std::fflush(out_);
        std::string line;
        if (!ReadLine(line) || IsCancelled()) {
            Print("(no answer: no)");
            return false;
        }
        std::string answer = Trim(line);
        if (answer == "y" || answer == "Y" || answer == "yes")
            return true;
        if (answer == "n" || answer == "N" || answer == "no")
            return false;
    }
}

ErrorAnswer TerminalOperationUi::AskAbortRetryIgnore(const std::string&, const std::string& text) {
    Print(text);
    if (answers_.errors == TerminalAnswers::Errors::Abort) {
        Print("(abort)");
        return ErrorAnswer::Abort;
    }
    if (answers_.errors == TerminalAnswers::Errors::Ignore) {
        Print("(ignore)");
        return ErrorAnswer::Ignore;
    }
    for (;;) {
        std::fputs("[a]bort / [r]etry / [i]gnore > ", out_);
        std::fflush(out_);
        std::string line;
        if (!ReadLine(line) || IsCancelled()) {
            Print("(no answer: abort)");
            return ErrorAnswer::Abort;
        }
        std::string answer = Trim(line);
        if (answer == "a" || answer == "A")
            return ErrorAnswer::Abort;
        if (answer == "r" || answer == "R")
            return ErrorAnswer::Retry;
        if (answer == "i" || answer == "I")
            return ErrorAnswer::Ignore;
    }
}

void TerminalOperationUi::ShowMessage(const std::string&, const std::string& text) {
    Print(text);
}

} // namespace orvo
