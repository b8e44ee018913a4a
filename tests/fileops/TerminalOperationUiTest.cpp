#include "fileops/TerminalOperationUi.h"

#include "fileops/ProblemsTable.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace orvo;

namespace {

// A terminal whose typing is given and whose output is kept.
struct FakeTerminal {
    explicit FakeTerminal(const std::string& typed) : input(typed) {
        in = ::fmemopen(input.data(), input.size(), "r");
        out = ::open_memstream(&buffer, &size);
    }
    ~FakeTerminal() {
        if (in)
            std::fclose(in);
        std::fclose(out);
        std::free(buffer);
    }
    std::string Output() {
        std::fflush(out);
        return std::string(buffer, size);
    }
    std::string input;
    std::FILE* in = nullptr;
    std::FILE* out = nullptr;
    char* buffer = nullptr;
    size_t size = 0;
};

QTable ThreeProblems() {
    QTable table;
    InitProblemsTable(table);
    for (const char* p : {"/d/a", "/d/b", "/d/c"})
        AddProblem(table, p);
    return table;
}

std::string Decisions(const QTable& table) {
    std::string s;
    for (int i = 0; i < table.GetRecordCount(); ++i)
        s += table.GetText("Execute", i) == "TRUE" ? 'x' : '-';
    return s;
}

} // namespace

TEST(TerminalOperationUi, ProblemRowsAreSwitchedByNumberAndAnsweredOnce) {
    FakeTerminal term("1 3\n\n");
    TerminalOperationUi ui(term.in, term.out, {});
    QTable table = ThreeProblems();
    EXPECT_TRUE(ui.AskProblems(table, "These files are to be overwritten.\r\nSure ?"));
    EXPECT_EQ(Decisions(table), "-x-");
    std::string shown = term.Output();
    EXPECT_NE(shown.find("These files are to be overwritten.\nSure ?"), std::string::npos);
    EXPECT_NE(shown.find("    1  [x]  /d/a"), std::string::npos);
    EXPECT_NE(shown.find("    1  [ ]  /d/a"), std::string::npos); // shown again after the switch

    FakeTerminal skip("s\n");
    TerminalOperationUi skipper(skip.in, skip.out, {});
    QTable skipped = ThreeProblems();
    EXPECT_TRUE(skipper.AskProblems(skipped, "?"));
    EXPECT_EQ(Decisions(skipped), "---");

    // No input left: cancelled, the safe answer to every question.
    FakeTerminal none("");
    TerminalOperationUi mute(none.in, none.out, {});
    QTable unanswered = ThreeProblems();
    EXPECT_FALSE(mute.AskProblems(unanswered, "?"));
    EXPECT_FALSE(mute.AskYesNo("", "Continue ?"));
    EXPECT_EQ(mute.AskAbortRetryIgnore("", "Failed"), ErrorAnswer::Abort);
}

TEST(TerminalOperationUi, DefaultsAnswerWithoutReading) {
    FakeTerminal term("n\n");
    TerminalAnswers answers;
    answers.problems = TerminalAnswers::Problems::ExecuteAll;
    answers.errors = TerminalAnswers::Errors::Ignore;
    answers.continueWithoutSpace = true;
    TerminalOperationUi ui(term.in, term.out, answers);
    QTable table = ThreeProblems();
    ToggleExecute(table, 1);
    EXPECT_TRUE(ui.AskProblems(table, "?"));
    EXPECT_EQ(Decisions(table), "xxx");
    EXPECT_TRUE(ui.AskYesNo("", "space?"));
    EXPECT_EQ(ui.AskAbortRetryIgnore("", "I couldn't copy /a !"), ErrorAnswer::Ignore);
    EXPECT_NE(term.Output().find("I couldn't copy /a !\n(ignore)"), std::string::npos);

    FakeTerminal typed("x\nr\n");
    TerminalOperationUi asker(typed.in, typed.out, {});
    EXPECT_EQ(asker.AskAbortRetryIgnore("", "failed"), ErrorAnswer::Retry);
}

TEST(TerminalOperationUi, RowLists) {
    std::vector<int> rows;
    EXPECT_TRUE(ParseRowList("2 4-6", 6, rows));
    EXPECT_EQ(rows, (std::vector<int>{1, 3, 4, 5}));
    for (const char* bad : {"0", "7", "3-2", "a", "1-", "2x", ""})
        EXPECT_FALSE(ParseRowList(bad, 6, rows)) << bad;
}
