#include "platform/DesktopPrograms.h"

#include "platform/DesktopApplications.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/XdgDirectories.h"

#include <cstdlib>
#include <sys/stat.h>

namespace orvo {

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

} // namespace

std::string FindTerminal() {
    if (const char* t = std::getenv("TERMINAL"); t && *t) {
        std::string found = FindProgram(t);
        if (!found.empty())
            return found;
    }
    for (const char* name : {"x-terminal-emulator", "xterm"}) {
        std::string found = FindProgram(name);
        if (!found.empty())
            return found;
    }
    return {};
}

std::vector<std::string> TerminalArgv() {
    std::string terminal = FindTerminal();
    if (terminal.empty())
        return {};
    return {terminal};
}

std::vector<std::string> ShellCommandArgv(const std::string& command, bool keepOpen,
                                          const std::vector<std::string>& arguments) {
    std::string terminal = FindTerminal();
    if (terminal.empty())
        return {};
    std::string shell = EnvOr("SHELL", "/bin/sh");
    std::vector<std::string> argv{terminal, "-e"};
    if (keepOpen) {
        // The user's shell may not be a POSIX one, so a small sh script runs
        // the command in it and then replaces itself by that shell.
        argv.insert(argv.end(), {"/bin/sh", "-c",
                                 "shell=\"$1\"; command=\"$2\"; shift 2; "
                                 "\"$shell\" -c \"$command\" \"$shell\" \"$@\"; exec \"$shell\"",
                                 "sh", shell, command});
    } else {
        argv.insert(argv.end(), {shell, "-c", command, shell});
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

std::string FindDesktopEntry(std::string_view desktopId) {
    if (desktopId.empty() || desktopId.find('/') != std::string_view::npos)
        return {};
    std::string id(desktopId);
    // An id "vendor-app.desktop" may also live as vendor/app.desktop.
    std::string nested = id;
    for (char& c : nested)
        if (c == '-')
            c = '/';
    for (const std::string& dir : ApplicationDirectories()) {
        for (const std::string& candidate : {JoinPath(dir, id), JoinPath(dir, nested)}) {
            struct stat st {};
            if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                return candidate;
        }
    }
    return {};
}

std::string DefaultApplicationFor(std::string_view mimeType) {
    std::vector<DesktopApplication> apps = ApplicationsForTypes({std::string(mimeType)});
    return apps.empty() ? std::string() : apps.front().id;
}

std::vector<std::string> TextEditorArgv(const std::string& file) {
    std::vector<DesktopApplication> apps = ApplicationsForTypes({"text/plain"});
    if (!apps.empty()) {
        auto processes = ApplicationArgvs(apps.front(), {file});
        if (!processes.empty())
            return processes.front();
    }
    std::string editor = EnvOr("VISUAL", EnvOr("EDITOR", ""));
    std::string terminal = FindTerminal();
    if (editor.empty() || terminal.empty())
        return {};
    // $EDITOR may carry options ("vim -R"), so a shell reads it; the file
    // stays a separate argument.
    return {terminal, "-e", "/bin/sh", "-c", editor + " \"$@\"", "sh", file};
}

std::vector<std::string> DefaultOpenerArgv(const std::string& target) {
    std::string opener = FindProgram("xdg-open");
    if (!opener.empty())
        return {opener, target};
    std::string gio = FindProgram("gio");
    if (!gio.empty())
        return {gio, "open", target};
    return {};
}

} // namespace orvo
