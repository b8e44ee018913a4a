#include "platform/DesktopPrograms.h"

#include "platform/FileIO.h"
#include "platform/KeyFile.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"

#include <cstdlib>
#include <sys/stat.h>

namespace orvo {

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::string Home() {
    return EnvOr("HOME", "/");
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(':', pos);
        if (end == std::string::npos)
            end = text.size();
        if (end > pos)
            parts.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

std::vector<std::string> ApplicationDirectories() {
    std::vector<std::string> dirs{
        JoinPath(EnvOr("XDG_DATA_HOME", Home() + "/.local/share"), "applications")};
    for (const std::string& d : SplitList(EnvOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share")))
        dirs.push_back(JoinPath(d, "applications"));
    return dirs;
}

std::vector<std::string> MimeAppsLists() {
    std::vector<std::string> files{
        JoinPath(EnvOr("XDG_CONFIG_HOME", Home() + "/.config"), "mimeapps.list")};
    for (const std::string& d : SplitList(EnvOr("XDG_CONFIG_DIRS", "/etc/xdg")))
        files.push_back(JoinPath(d, "mimeapps.list"));
    for (const std::string& d : ApplicationDirectories())
        files.push_back(JoinPath(d, "mimeapps.list"));
    return files;
}

std::string ReadIfSmall(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 4 * 1024 * 1024)
        return {};
    try {
        return ReadWholeFile(path);
    } catch (const FileError&) {
        return {};
    }
}

bool IsUsableEntry(const std::string& path) {
    std::string text = ReadIfSmall(path);
    if (text.empty() || KeyFileValue(text, "Desktop Entry", "Hidden").value_or("") == "true")
        return false;
    if (auto tryExec = KeyFileValue(text, "Desktop Entry", "TryExec"))
        return !FindProgram(*tryExec).empty();
    return KeyFileValue(text, "Desktop Entry", "Exec").has_value();
}

// The first installed entry of a "a.desktop;b.desktop;" list.
std::string FirstInstalled(const std::string& list) {
    size_t pos = 0;
    while (pos < list.size()) {
        size_t end = list.find(';', pos);
        if (end == std::string::npos)
            end = list.size();
        std::string id = list.substr(pos, end - pos);
        pos = end + 1;
        std::string path = FindDesktopEntry(id);
        if (!path.empty() && IsUsableEntry(path))
            return id;
    }
    return {};
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
    std::string mime(mimeType);
    std::vector<std::string> lists = MimeAppsLists();
    for (const char* group : {"Default Applications", "Added Associations"}) {
        for (const std::string& file : lists) {
            std::string text = ReadIfSmall(file);
            if (auto ids = KeyFileValue(text, group, mime)) {
                std::string id = FirstInstalled(*ids);
                if (!id.empty())
                    return id;
            }
        }
    }
    for (const std::string& dir : ApplicationDirectories()) {
        std::string text = ReadIfSmall(JoinPath(dir, "mimeinfo.cache"));
        if (auto ids = KeyFileValue(text, "MIME Cache", mime)) {
            std::string id = FirstInstalled(*ids);
            if (!id.empty())
                return id;
        }
    }
    return {};
}

std::vector<std::string> ExpandExecLine(std::string_view exec, const std::string& file,
                                        const std::string& name, const std::string& entryPath) {
    // Split first: quoting is undone before field codes are looked at.
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) {
                word.push_back(exec[++i]);
            } else if (c == '"') {
                quoted = false;
            } else {
                word.push_back(c);
            }
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (quoted)
        return {};
    if (inWord)
        words.push_back(std::move(word));

    std::vector<std::string> argv;
    bool fileUsed = false;
    for (const std::string& w : words) {
        if (w == "%f" || w == "%F" || w == "%u" || w == "%U") {
            argv.push_back(file);
            fileUsed = true;
            continue;
        }
        std::string out;
        bool dropped = false;
        for (size_t i = 0; i < w.size(); ++i) {
            if (w[i] != '%' || i + 1 == w.size()) {
                out.push_back(w[i]);
                continue;
            }
            char code = w[++i];
            switch (code) {
            case '%':
                out.push_back('%');
                break;
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                out += file;
                fileUsed = true;
                break;
            case 'c':
                out += name;
                break;
            case 'k':
                out += entryPath;
                break;
            default:
                dropped = true;
                break; // %i and the deprecated codes
            }
        }
        if (!(dropped && out.empty()))
            argv.push_back(std::move(out));
    }
    if (argv.empty())
        return {};
    if (!fileUsed)
        argv.push_back(file);
    return argv;
}

std::vector<std::string> TextEditorArgv(const std::string& file) {
    std::string entry = FindDesktopEntry(DefaultApplicationFor("text/plain"));
    if (!entry.empty()) {
        std::string text = ReadIfSmall(entry);
        const char* group = "Desktop Entry";
        std::vector<std::string> argv =
            ExpandExecLine(KeyFileValue(text, group, "Exec").value_or(""), file,
                           KeyFileValue(text, group, "Name").value_or(""), entry);
        if (!argv.empty()) {
            if (KeyFileValue(text, group, "Terminal").value_or("") != "true")
                return argv;
            std::string terminal = FindTerminal();
            if (!terminal.empty()) {
                argv.insert(argv.begin(), {terminal, "-e"});
                return argv;
            }
        }
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
