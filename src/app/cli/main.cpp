#include "app/cli/CliCommand.h"
#include "app/cli/CliCompletion.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>

namespace orvo::cli {

std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
    for (const CliCommand& c : CliCommands())
        if (name == c.name)
            return &c;
    return nullptr;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "orvo: %s\n", message.c_str());
    return 1;
}

int UsageError(const char* commandName) {
    if (const CliCommand* c = FindCliCommand(commandName))
        std::fprintf(stderr, "usage:\n%s\n", c->usage);
    return 2;
}

std::string EscapeCell(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

namespace {

void PrintHelp(FILE* to) {
    std::fprintf(to, "orvo: the Orvo Browser core from the command line\n\n"
                     "usage: orvo COMMAND [OPTION | OPERAND]...\n"
                     "       orvo COMMAND --help, orvo help [COMMAND], orvo --version\n"
                     "Options may stand before or after the operands; -- ends them.\n\n"
                     "Commands:\n");
    for (const CliCommand& c : CliCommands())
        std::fprintf(to, "%s\n", c.usage);
}

int CommandHelp(const char* name) {
    const CliCommand* c = FindCliCommand(name);
    if (!c) {
        std::fprintf(stderr, "orvo: unknown command '%s'\n", name);
        return 2;
    }
    std::printf("usage:\n%s\n", c->usage);
    return 0;
}

int RunCommand(const CliCommand& command, const std::vector<std::string>& words) {
    CliSplit split = SplitCliArguments(words, command.options);
    if (split.help) {
        std::printf("usage:\n%s\n", command.usage);
        return 0;
    }
    if (!split.error.empty()) {
        std::fprintf(stderr, "orvo %s: %s\n", command.name, split.error.c_str());
        return UsageError(command.name);
    }
    try {
        return command.run(split.arguments);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

} // namespace

} // namespace orvo::cli

int main(int argc, char** argv) {
    using namespace orvo::cli;
    // Text columns sort by the user's locale, as in the program.
    std::setlocale(LC_ALL, "");
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    const std::string first = argv[1];
    std::vector<std::string> words(argv + 2, argv + argc);
    if (first == "--help" || (first == "help" && argc == 2)) {
        PrintHelp(stdout);
        return 0;
    }
    if (first == "help")
        return argc == 3 ? CommandHelp(argv[2]) : (PrintHelp(stderr), 2);
    if (first == "--version") {
        std::printf("orvo %s\n", ORVO_VERSION);
        return 0;
    }
    // The shell completion asks the command table what fits where.
    if (first == "--complete")
        return CompleteWords(words);
    if (const CliCommand* command = FindCliCommand(first))
        return RunCommand(*command, words);
    if (!LooksLikeOperand(first))
        std::fprintf(stderr, "orvo: unknown option '%s'; the commands are:\n", argv[1]);
    else
        std::fprintf(stderr, "orvo: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
