#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo::cli {

// One option a command takes.
struct CliOption {
    const char* name;              // "--sort"
    int values = 0;                // the words that follow it (`--newer N UNIT` takes two)
    const char* verbs = nullptr;   // the sub-commands it goes with, space-separated; null: all
    const char* choices = nullptr; // what completion offers for its first value (kFileChoice:
                                   // file names), space-separated; null: nothing
};

inline constexpr char kFileChoice[] = "<file>";

// A command's words split into options and operands. A sub-command
// (`get` in `orvo comment get PATH`) is the first operand.
struct CliArguments {
    struct Given {
        std::string name;
        std::vector<std::string> values;
    };
    std::vector<std::string> operands;
    std::vector<Given> options; // in the order given

    bool Has(std::string_view name) const;
    // The values of the last NAME given; null when it was not given.
    const std::vector<std::string>* Last(std::string_view name) const;
};

struct CliSplit {
    CliArguments arguments;
    bool help = false; // --help was among the options
    std::string error; // why the words do not fit the options; empty when they do
};

// Options may stand before, between or after the operands; "--" ends them.
// "--NAME=VALUE" gives a one-value option its value in the same word. "-"
// and negative numbers are operands, as no option is a single dash and a
// digit.
CliSplit SplitCliArguments(const std::vector<std::string>& words,
                           const std::vector<CliOption>& options);

// Whether WORD is one of the space-separated words of LIST.
bool ListHolds(const char* list, std::string_view word);

// Whether WORD is an operand, not an option, before "--".
bool LooksLikeOperand(std::string_view word);

} // namespace orvo::cli
