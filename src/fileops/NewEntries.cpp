#include "fileops/NewEntries.h"

#include "comments/CommentFile.h"
#include "comments/CommentPropagation.h"
#include "comments/PathComments.h"
#include "fileops/CTreeFinder.h"
#include "fileops/OperationTexts.h"
#include "platform/DataDirectory.h"
#include "platform/EntryOperations.h"
#include "platform/PathText.h"
#include "store/Collation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

bool IsRealDirectory(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string Reason(int error) {
    return error ? std::string(": ") + std::strerror(error) : std::string();
}

bool CopyTree(const std::string& src, const std::string& dst, std::string& message) {
    if (!CopyEntry(src, dst, false, false)) {
        message = CouldNotText("copy", src, dst) + Reason(LastEntryError());
        return false;
    }
    CTreeFinder finder;
    if (!finder.Start(src, true, false))
        return true; // an empty copy of a directory that cannot be read
    bool ok = true;
    while (finder.FindNext()) {
        const std::string& from = finder.GetFilePath();
        std::string to = dst + from.substr(src.size());
        // Comment files travel as the files they are, so every comment
        // inside the tree arrives with it.
        if (!CopyEntry(from, to, false, false)) {
            if (message.empty())
                message = CouldNotText("copy", from, to) + Reason(LastEntryError());
            ok = false;
        }
    }
    for (const std::string& lost : finder.TakeUnreadable()) {
        if (message.empty())
            message = CouldNotText("read", lost);
        ok = false;
    }
    return ok;
}

} // namespace

bool RemoveEntryTree(const std::string& root) {
    std::vector<std::pair<std::string, bool>> entries;
    CTreeFinder finder;
    if (finder.Start(root, true, false))
        while (finder.FindNext())
            entries.emplace_back(finder.GetFilePath(), finder.IsDirectory());
    bool ok = true;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        ok = (it->second ? ::rmdir(it->first.c_str()) : ::unlink(it->first.c_str())) == 0 && ok;
    return ::rmdir(root.c_str()) == 0 && ok;
}

std::vector<std::string> SplitEntryNames(const std::string& text, bool multiple) {
    if (!multiple)
        return {text};
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        size_t semicolon = text.find(';', start);
        pieces.push_back(text.substr(start, semicolon - start));
        if (semicolon == std::string::npos)
            break;
        start = semicolon + 1;
    }
    return pieces;
}

NewEntriesReport CreateNewDirectories(const std::string& directory,
                                      const std::vector<std::string>& names) {
    NewEntriesReport report;
    for (const std::string& name : names) {
        if (name.empty()) {
            // "a;;b" or a trailing ";": nothing to make, the positions of
            // the comments still count.
            report.paths.emplace_back();
            continue;
        }
        std::string path = JoinPath(directory, name);
        report.paths.push_back(path);
        if (CreateDirChain(path))
            report.created.push_back(path);
        else
            report.messages.push_back("Couldn't create " + path);
    }
    return report;
}

void ApplyNewEntryComments(const std::vector<std::string>& paths,
                           const std::vector<std::string>& comments) {
    for (size_t i = 0; i < paths.size() && i < comments.size(); ++i)
        if (!paths[i].empty() && !comments[i].empty())
            SetComment(paths[i], comments[i]);
}

bool TransferEntryInto(const std::string& item, const std::string& directory, bool move,
                       std::string& message) {
    std::string src = StripTrailingSlash(item);
    std::string dst = JoinPath(directory, FileNameOf(src));
    if (dst == src) {
        message = kSameDirectory;
        return false;
    }
    if (!Exists(src)) {
        message = "File not found: " + src;
        return false;
    }
    if (!IsRealDirectory(src)) {
        bool ok =
            move ? MoveFileWithComment(src, dst, false) : CopyFileWithComment(src, dst, false);
        if (!ok)
            message = CouldNotText(move ? "move" : "copy", src, dst) + Reason(LastEntryError());
        return ok;
    }
    if (dst.compare(0, src.size() + 1, src + "/") == 0) {
        message = kCopyToItself;
        return false;
    }
    if (move) {
        if (::rename(src.c_str(), dst.c_str()) == 0)
            return true;
        // Another file system, or a directory of that name already there:
        // copied over, and the original goes only when all of it arrived.
        if (errno != EXDEV && errno != ENOTEMPTY && errno != EEXIST) {
            message = CouldNotText("move", src, dst) + Reason(errno);
            return false;
        }
    }
    if (!CopyTree(src, dst, message))
        return false;
    if (move && !RemoveEntryTree(src)) {
        message = CouldNotText("delete", src);
        return false;
    }
    return true;
}

void TransferIntoDirectories(const std::vector<std::string>& items,
                             const std::vector<std::string>& directories, bool move,
                             std::vector<std::string>& messages) {
    for (size_t d = 0; d < directories.size(); ++d) {
        const bool moveHere = move && d + 1 == directories.size();
        for (const std::string& item : items) {
            std::string message;
            if (!TransferEntryInto(item, directories[d], moveHere, message))
                messages.push_back(message);
        }
    }
}

std::string FileTemplatesDirectory() {
    return DataFilePath("File types");
}

std::vector<FileTemplate> ListFileTemplates(const std::string& directory) {
    std::vector<FileTemplate> templates;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return templates;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || name == kCommentFileName)
            continue;
        std::string path = JoinPath(directory, name);
        struct stat st;
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        FileTemplate t;
        t.fileName = name;
        t.path = path;
        t.extension = std::string(SplitExtension(name).extension);
        templates.push_back(std::move(t));
    }
    ::closedir(dir);
    std::sort(templates.begin(), templates.end(), [](const FileTemplate& a, const FileTemplate& b) {
        int c = CollateStrings(a.fileName, b.fileName, false);
        return c != 0 ? c < 0 : a.fileName < b.fileName;
    });
    return templates;
}

int DefaultTemplateIndex(const std::vector<FileTemplate>& templates) {
    for (size_t i = 0; i < templates.size(); ++i)
        if (templates[i].fileName == "Text file.txt")
            return static_cast<int>(i);
    return templates.empty() ? -1 : 0;
}

std::string NewFileName(const std::string& name, const FileTemplate& chosen) {
    if (!SplitExtension(name).extension.empty() || chosen.extension.empty())
        return name;
    return name + "." + chosen.extension;
}

NewFileResult CreateFileFromTemplate(const FileTemplate& chosen, const std::string& target,
                                     bool overwrite) {
    if (Exists(target)) {
        if (IsRealDirectory(target))
            return NewFileResult::Failed;
        if (!overwrite)
            return NewFileResult::Exists;
    }
    if (chosen.path.empty()) {
        // No templates at all: the plainest new file there is.
        int fd =
            ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            return NewFileResult::Failed;
        ::close(fd);
        return NewFileResult::Created;
    }
    if (!CopyEntry(chosen.path, target, false, false))
        return NewFileResult::Failed;
    // A new file is new: the template's own times mean nothing to it.
    struct timespec now[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
    ::utimensat(AT_FDCWD, target.c_str(), now, AT_SYMLINK_NOFOLLOW);
    return NewFileResult::Created;
}

} // namespace orvo
