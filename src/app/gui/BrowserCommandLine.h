#pragma once

#include <string>
#include <vector>

namespace orvo {

// The words orvo-browser was started with, read before Qt is started so that
// --help and --version need no display. Qt's own options (-platform NAME,
// -style NAME ...) are let through for QApplication to take.
struct BrowserCommandLine {
    enum class Action { Run, Help, Version, Mistake };
    Action action = Action::Run;
    std::string mistake;            // what was wrong, for Action::Mistake
    std::vector<std::string> files; // the operands, bytes as given
};

BrowserCommandLine ReadBrowserCommandLine(int argc, const char* const* argv);

// The text --help prints.
std::string BrowserUsage();

} // namespace orvo
