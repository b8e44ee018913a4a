#include "app/gui/BrowserCommandLine.h"

#include <string_view>

namespace orvo {

namespace {

// The options Qt takes out of the command line, written with one dash or
// two: those that take the next word as their value, those that take it
// after "=" in the same word, and those without a value.
constexpr const char* kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "icon",   "name",
    "visual"};
constexpr const char* kQtJoinedOptions[] = {"style", "stylesheet", "qmljsdebugger", "dialogs",
                                            "fontengine"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool IsOneOf(std::string_view name, const auto& list) {
    for (const char* candidate : list)
        if (name == candidate)
            return true;
    return false;
}

} // namespace

BrowserCommandLine ReadBrowserCommandLine(int argc, const char* const* argv) {
    BrowserCommandLine line;
    bool ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (ended || word.size() < 2 || word[0] != '-') {
            line.files.emplace_back(word);
            continue;
        }
        if (word == "--") {
            ended = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            line.action = BrowserCommandLine::Action::Help;
            return line;
        }
        if (word == "--version") {
            line.action = BrowserCommandLine::Action::Version;
            return line;
        }
        const std::string_view name = word.substr(word[1] == '-' ? 2 : 1);
        const size_t equals = name.find('=');
        if (equals != std::string_view::npos) {
            if (IsOneOf(name.substr(0, equals), kQtJoinedOptions))
                continue;
        } else if (IsOneOf(name, kQtOptionsWithValue)) {
            if (++i >= argc) {
                line.action = BrowserCommandLine::Action::Mistake;
                line.mistake = std::string(word) + " needs a value";
                return line;
            }
            continue;
        } else if (IsOneOf(name, kQtFlags)) {
            continue;
        }
        line.action = BrowserCommandLine::Action::Mistake;
        line.mistake = "unknown option " + std::string(word);
        return line;
    }
    return line;
}

std::string BrowserUsage() {
    return "usage: orvo-browser [OPTION]... [LIST.orl | DIRECTORY]...\n"
           "The Orvo Browser file manager. The windows of the last run come back; each\n"
           "saved file list named on the command line opens in a list window beside them,\n"
           "each directory in a browse window.\n"
           "\n"
           "Options:\n"
           "  --help, -h     print this help and exit\n"
           "  --version      print the version and exit\n"
           "  --             end of the options: a name that begins with - may follow\n"
           "Qt's own options are understood as well, among them -platform NAME,\n"
           "-style NAME, -stylesheet FILE, -reverse and -session NAME.\n"
           "\n"
           "Options, favorites and templates live in the data directory: $ORVO_HOME when\n"
           "set, otherwise $XDG_CONFIG_HOME/orvo-browser (~/.config/orvo-browser).\n"
           "See orvo-browser(1).\n";
}

} // namespace orvo
