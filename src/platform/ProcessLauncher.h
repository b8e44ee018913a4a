#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The executable a command name stands for: a name with a "/" is taken as
// it is, any other is looked up in $PATH. Empty when there is no such
// executable regular file.
std::string FindProgram(std::string_view name);

// Starts a program detached from this process (its own session, reaped at
// once, so it outlives us and leaves no zombie), with argv as its argument
// vector: argv[0] is looked up with FindProgram and no text ever passes
// through a shell. Its input is /dev/null; workingDirectory may be empty
// for ours. Returns false with a message in error when the program cannot
// be started.
bool StartProgram(const std::vector<std::string>& argv, const std::string& workingDirectory,
                  std::string* error = nullptr);

} // namespace orvo
