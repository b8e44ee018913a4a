#include "fileops/NewEntries.h"

#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "fileops/OperationTexts.h"
#include "fileops/TreeMerge.h"
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

// Each component of name below directory made in turn; made gets the
// first one that mkdir created here.
bool MakeChain(const std::string& directory, const std::string& name, std::string& made) {
    std::string path = StripTrailingSlash(directory);
    size_t start = 0;
    while (start <= name.size()) {
        size_t slash = name.find('/', start);
        if (slash == std::string::npos)
            slash = name.size();
        std::string component = name.substr(start, slash - start);
        start = slash + 1;
        if (component.empty() || component == ".")
            continue;
        path = JoinPath(path, component);
        if (::mkdir(path.c_str(), 0777) == 0) {
            if (made.empty())
                made = path;
        } else if (errno != EEXIST || !IsRealDirectory(path)) {
            return false;
        }
    }
    return true;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

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
        std::string made;
        if (MakeChain(directory, name, made)) {
            report.created.push_back(path);
            if (!made.empty())
                report.made.push_back(made);
        } else {
            report.messages.push_back("Couldn't create " + path);
        }
    }
    return report;
}

void ApplyNewEntryComments(const std::vector<std::string>& paths,
                           const std::vector<std::string>& comments) {
    for (size_t i = 0; i < paths.size() && i < comments.size(); ++i)
        if (!paths[i].empty() && !comments[i].empty())
            SetComment(paths[i], comments[i]);
}

void TransferIntoDirectories(const std::vector<std::string>& items,
                             const std::vector<std::string>& directories, bool move,
                             bool replaceExisting, std::vector<std::string>& messages) {
    for (size_t d = 0; d < directories.size(); ++d) {
        const bool moveHere = move && d + 1 == directories.size();
        TreeMerge merge(moveHere, replaceExisting);
        // The comments of the files that arrived, per source directory,
        // carried with one rewrite of each comment file.
        std::vector<std::pair<std::string, std::vector<std::string>>> carried;
        for (const std::string& item : items) {
            std::string src = StripTrailingSlash(item);
            std::string dst = JoinPath(directories[d], FileNameOf(src));
            if (dst == src) {
                messages.push_back(kSameDirectory);
                continue;
            }
            if (dst.compare(0, src.size() + 1, src + "/") == 0 && IsRealDirectory(src)) {
                messages.push_back(kCopyToItself);
                continue;
            }
            bool isDirectory = IsRealDirectory(src);
            if (!merge.Transfer(src, dst) || isDirectory)
                continue;
            std::string parent = ParentDirectoryOf(src);
            if (carried.empty() || carried.back().first != parent)
                carried.emplace_back(parent, std::vector<std::string>{});
            carried.back().second.emplace_back(FileNameOf(src));
        }
        for (const auto& [parent, names] : carried)
            merge.CarryComments(parent, directories[d], names, false, false);
        messages.insert(messages.end(), merge.Messages().begin(), merge.Messages().end());
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
    // A name typed with a dot in front is a dot-file, taken as typed.
    if (!SplitExtension(name).extension.empty() || chosen.extension.empty() ||
        name.starts_with('.'))
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
