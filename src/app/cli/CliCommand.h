#pragma once

#include "app/cli/CliArguments.h"

#include <string>
#include <vector>

namespace orvo::cli {

// One top-level subcommand of `orvo` (`orvo store ...`, `orvo ls ...`).
// Its options are declared here, not parsed by the command, so that every
// command splits its words the same way and the shell completion offers
// what the command takes.
struct CliCommand {
    const char* name;
    const char* usage;                    // shown by `orvo help`, one or more lines
    int (*run)(const CliArguments& args); // the words after the name, split
    std::vector<CliOption> options = {};
    // The sub-commands ("get set list") when the first operand is one.
    const char* verbs = nullptr;
    // Whether the operands are names of files (for the shell completion).
    bool fileOperands = true;
};

// Each cli/*.cpp file registers its commands with a static CliRegistration,
// so adding a subcommand touches no shared file.
std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);

struct CliRegistration {
    explicit CliRegistration(const CliCommand& command) { CliCommands().push_back(command); }
};

// Prints "orvo: MESSAGE" on stderr and returns the exit status 1.
int Fail(const std::string& message);
// Prints the usage of one command on stderr and returns the exit status 2.
int UsageError(const char* commandName);

// Escapes carriage returns, line feeds and tabs as \r, \n and \t so that a
// cell stays on one tab-separated line.
std::string EscapeCell(const std::string& text);

} // namespace orvo::cli
