#include "app/cli/CliCommand.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>

namespace orvo::cli {

std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "orvo: %s\n", message.c_str());
    return 1;
}

int UsageError(const char* commandName) {
    for (const CliCommand& c : CliCommands())
        if (std::strcmp(c.name, commandName) == 0)
            std::fprintf(stderr, "usage:\n%s\n", c.usage);
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
    std::fprintf(to, "orvo: the Orvo Browser core from the command line\n\nCommands:\n");
    for (const CliCommand& c : CliCommands())
        std::fprintf(to, "%s\n", c.usage);
}

} // namespace

} // namespace orvo::cli

int main(int argc, char** argv) {
    using namespace orvo::cli;
    // Text columns sort by the user's locale, as in the program.
    std::setlocale(LC_ALL, "");
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        PrintHelp(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const CliCommand& c : CliCommands()) {
        if (std::strcmp(c.name, argv[1]) == 0) {
            try {
                return c.run(args);
            } catch (const std::exception& e) {
                return Fail(e.what());
            }
        }
    }
    std::fprintf(stderr, "orvo: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
