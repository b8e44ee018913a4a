#include "app/cli/CliCompletion.h"

#include "app/cli/CliCommand.h"

#include <cstdio>
#include <string_view>

namespace orvo::cli {

namespace {

class Candidates {
public:
    explicit Candidates(std::string typed) : typed_(std::move(typed)) {}

    void Add(std::string_view word) {
        if (word.starts_with(typed_))
            std::printf("%.*s\n", static_cast<int>(word.size()), word.data());
    }
    // Every word of a space-separated list, or file names for kFileChoice.
    void AddList(std::string_view list) {
        if (list == std::string_view(kFileChoice)) {
            std::printf(":files\n");
            return;
        }
        while (!list.empty()) {
            const size_t blank = list.find(' ');
            Add(list.substr(0, blank));
            if (blank == std::string_view::npos)
                break;
            list.remove_prefix(blank + 1);
        }
    }

private:
    std::string typed_;
};

void CompleteCommand(const CliCommand& command, const std::vector<std::string>& before,
                     Candidates& out, const std::string& typed) {
    // Walk the words as the splitter does: what is the word being typed?
    const CliOption* valueOf = nullptr;
    int valuesLeft = 0, valueIndex = 0;
    bool ended = false;
    std::vector<std::string> operands;
    for (const std::string& word : before) {
        if (valuesLeft > 0) {
            --valuesLeft;
            ++valueIndex;
            continue;
        }
        if (ended || LooksLikeOperand(word)) {
            operands.push_back(word);
            continue;
        }
        if (word == "--") {
            ended = true;
            continue;
        }
        for (const CliOption& o : command.options)
            if (word == o.name && o.values > 0) {
                valueOf = &o;
                valuesLeft = o.values;
                valueIndex = 0;
            }
    }
    if (valuesLeft > 0) {
        if (valueIndex == 0 && valueOf->choices)
            out.AddList(valueOf->choices);
        return;
    }
    // "--name=VALUE": the shell replaces only what follows the "=".
    if (const size_t equals = typed.find('=');
        !ended && typed.starts_with("--") && equals != std::string::npos) {
        for (const CliOption& o : command.options)
            if (o.values == 1 && o.choices && typed.compare(0, equals, o.name) == 0)
                Candidates(typed.substr(equals + 1)).AddList(o.choices);
        return;
    }
    if (!ended && typed.starts_with("-")) {
        const std::string verb = operands.empty() ? std::string() : operands[0];
        for (const CliOption& o : command.options)
            if (!o.verbs || operands.empty() || ListHolds(o.verbs, verb))
                out.Add(o.name);
        out.Add("--help");
        return;
    }
    if (command.verbs && operands.empty())
        out.AddList(command.verbs);
    else if (command.fileOperands)
        out.AddList(kFileChoice);
}

} // namespace

int CompleteWords(const std::vector<std::string>& words) {
    const std::string typed = words.empty() ? std::string() : words.back();
    const std::vector<std::string> before(words.begin(),
                                          words.empty() ? words.end() : words.end() - 1);
    Candidates out(typed);
    if (before.empty()) {
        for (const CliCommand& c : CliCommands())
            out.Add(c.name);
        for (const char* extra : {"help", "--help", "--version"})
            out.Add(extra);
    } else if (before[0] == "help") {
        if (before.size() == 1)
            for (const CliCommand& c : CliCommands())
                out.Add(c.name);
    } else if (const CliCommand* command = FindCliCommand(before[0])) {
        CompleteCommand(*command, std::vector<std::string>(before.begin() + 1, before.end()), out,
                        typed);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace orvo::cli
