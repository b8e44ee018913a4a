#include "browse/FileCommands.h"

#include "platform/DesktopPrograms.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shortcut.h"
#include "store/Collation.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

std::string NameWith(std::string_view base, std::string_view number, std::string_view extension) {
    std::string name(base);
    name += number;
    if (!extension.empty()) {
        name.push_back('.');
        name += extension;
    }
    return name;
}

bool Taken(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool ExtensionIn(const std::string& path, std::initializer_list<const char*> list) {
    std::string ext = LowerCaseText(SplitExtension(FileNameOf(path)).extension);
    for (const char* e : list)
        if (ext == e)
            return true;
    return false;
}

} // namespace

std::string MakeUniqueName(const std::string& directory, std::string_view base,
                           std::string_view extension) {
    std::string path = JoinPath(directory, NameWith(base, "", extension));
    if (!Taken(path))
        return path;
    char number[8];
    for (int i = 0; i < 20000; ++i) {
        std::snprintf(number, sizeof number, "%02d", i);
        path = JoinPath(directory, NameWith(base, number, extension));
        if (!Taken(path))
            return path;
    }
    return {};
}

std::string ShortcutBaseName(const std::string& target) {
    std::string stripped = StripTrailingSlash(target);
    std::string_view name = FileNameOf(stripped);
    if (!name.empty())
        return std::string(name);
    if (target.empty())
        return {};
    // A root: its first character, as a drive letter once stood for its
    // drive. "/" cannot be part of a name, so the root of the tree is "root".
    return target.front() == '/' ? std::string("root") : target.substr(0, 1);
}

std::string ShortcutPathBeside(const std::string& target) {
    std::string stripped = StripTrailingSlash(target);
    return JoinPath(ParentDirectoryOf(stripped),
                    "A shortcut to " + ShortcutBaseName(target) + ".lnk");
}

std::string ShortcutPathIn(const std::string& directory, const std::string& target) {
    return JoinPath(directory, ShortcutBaseName(target) + ".lnk");
}

std::vector<std::string> CreateShortcutsIn(const std::string& directory,
                                           const std::vector<std::string>& targets) {
    std::vector<std::string> made;
    for (const std::string& target : targets) {
        std::string link = ShortcutPathIn(directory, target);
        if (CreateShortcut(target, link))
            made.push_back(link);
    }
    return made;
}

std::string RemoveQuestionText(const std::vector<std::string>& paths) {
    std::string what = paths.size() == 1
                           ? std::string(FileNameOf(StripTrailingSlash(paths.front())))
                           : std::string("selected files");
    return "Are you sure you want to REALLY DELETE " + what + " ?" +
           "\nNote that this is not moving to a recycle bin, but a real deleting.";
}

std::string JoinClipboardLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

bool IsDropProgram(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0 ||
           ExtensionIn(path, {"exe", "com", "bat", "sh"});
}

DropPlan PlanDrop(const DropInput& input) {
    DropPlan plan;
    plan.target = input.windowDirectory;
    if (!input.itemPath.empty() && !input.listMode) {
        std::string p = input.itemPath;
        if (input.itemIsParent) {
            plan.target = ParentDirectoryOf(StripTrailingSlash(input.windowDirectory));
        } else {
            // A shortcut leads where it points, as double-clicking it does.
            std::string target = ResolveShortcut(p);
            if (!target.empty())
                p = target;
            if (IsDirectory(p)) {
                plan.target = p;
            } else if (IsDropProgram(p)) {
                plan.action = DropPlan::Action::RunProgram;
                plan.program = p;
                return plan;
            }
        }
    }
    plan.operation = input.shift ? 1 : 0;
    if (input.listMode)
        plan.action = DropPlan::Action::AddToList;
    else if (input.ctrl && input.alt)
        plan.action = DropPlan::Action::BackgroundPicture;
    else if (input.alt)
        plan.action = DropPlan::Action::Shortcuts;
    return plan;
}

std::string ReplaceBackgroundPicture(const std::string& source, const std::string& directory) {
    std::string extension(SplitExtension(FileNameOf(source)).extension);
    std::string target = JoinPath(directory, "orvoimage." + extension);
    if (target != source) {
        // The new picture is in place before any old one goes: a copy that
        // fails leaves the directory its old picture.
        try {
            WriteFileAtomically(target, ReadWholeFile(source));
        } catch (const FileError&) {
            return {};
        }
    }
    for (const char* old : {"jpg", "tif", "gif", "bmp", "ico", "png"}) {
        std::string path = JoinPath(directory, std::string("orvoimage.") + old);
        // The picture being dropped may be one of them: it stays.
        if (path != source && path != target)
            ::unlink(path.c_str());
    }
    return target;
}

bool RunInShell(const std::string& command, const std::string& directory, bool keepOpen,
                std::string* error) {
    std::vector<std::string> argv = ShellCommandArgv(command, keepOpen);
    if (argv.empty()) {
        if (error)
            *error = "no terminal program was found";
        return false;
    }
    return StartProgram(argv, directory, error);
}

std::string SaveDroppedText(const std::string& directory, std::string_view text) {
    std::string path = MakeUniqueName(directory, "dropped", "txt");
    if (path.empty())
        return {};
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    // O_EXCL: a file that appeared since the name was chosen is not replaced.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return {};
    bool ok = true;
    while (!text.empty() && ok) {
        ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            text.remove_prefix(static_cast<size_t>(n));
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(path.c_str());
        return {};
    }
    return path;
}

} // namespace orvo
