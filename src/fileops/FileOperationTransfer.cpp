#include "comments/CommentFile.h"
#include "fileops/CTreeFinder.h"
#include "fileops/FileOperationRun.h"
#include "fileops/OpenDirectory.h"
#include "fileops/OperationTexts.h"
#include "fileops/RegisteredOperations.h"
#include "fileops/WalkedTree.h"
#include "platform/EntryOperations.h"
#include "platform/FileCopy.h"
#include "platform/FileStatus.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

// The same directory under any name (a link, a bind mount).
bool SameDirectory(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

// Whether path lies below directory: a copy of a directory into its own
// tree would walk what it has just made, without end.
bool IsBelow(const std::string& path, const std::string& directory) {
    std::string p = RealPath(path), d = RealPath(directory);
    if (d == "/")
        return p != "/";
    return p.size() > d.size() && p.compare(0, d.size(), d) == 0 && p[d.size()] == '/';
}

uint64_t LengthOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)
               ? static_cast<uint64_t>(st.st_size)
               : 0;
}

const char* VerbOf(int kind) {
    return kind == OpCopy ? "copy" : kind == OpMove ? "move" : "delete";
}

} // namespace

OperationEnd FileOperationRun::Transfer() {
    startTransfer_ = clock_.TickMs();
    copied_ = 0;
    ScopedCopyObserver observer(this);
    for (const std::string& item : request_.items) {
        if (!ServeMessages())
            return OperationEnd::Broken;
        currentName_ = item;
        figures_.sourcePath = item;
        figures_.targetPath.clear();
        Display(item);
        struct stat st {};
        bool exists = ::lstat(item.c_str(), &st) == 0;
        bool isDirectory = exists && S_ISDIR(st.st_mode);
        if (const char* stop = StopReason(item, isDirectory)) {
            ShowWindow();
            ui_.ShowMessage(figures_.caption, stop);
            return OperationEnd::Stopped;
        }
        // An item that went meanwhile is simply not there to work on.
        if (!exists)
            continue;
        Flow flow;
        if (isDirectory && request_.kind != OpDelete)
            flow = TransferTree(item);
        else if (isDirectory)
            flow = RemoveTree(item, false);
        else
            flow = TransferFile(item);
        if (flow == Flow::Stop)
            return OperationEnd::Broken;
    }
    Display(currentName_, true); // the last figures are the final ones
    return OperationEnd::Completed;
}

const char* FileOperationRun::StopReason(const std::string& item, bool isDirectory) const {
    if (request_.kind == OpDelete)
        return nullptr;
    const std::string& destination = request_.destination;
    if (item == destination ||
        (isDirectory && (SameDirectory(item, destination) || IsBelow(destination, item))))
        return kCopyToItself;
    if (SameDirectory(ParentDirectoryOf(item), destination))
        return kSameDirectory;
    return nullptr;
}

FileOperationRun::Flow FileOperationRun::TransferTree(const std::string& item) {
    const std::string target = JoinPath(request_.destination, FileNameOf(item));
    if (request_.kind == OpMove && !PathExists(target) &&
        SameFileSystem(item, request_.destination) && ::rename(item.c_str(), target.c_str()) == 0) {
        // One rename moved it all, comments included.
        RegisterOperationPath(item);
        RegisterOperationPath(target);
        return Flow::Next;
    }
    CopyEntry(item, target, false, false); // the entries report what fails
    if (WalkTree(item, target, item, target) == Flow::Stop)
        return Flow::Stop;
    if (request_.kind == OpMove)
        return RemoveTree(item, true);
    return Flow::Next;
}

FileOperationRun::Flow FileOperationRun::WalkTree(const std::string& root,
                                                  const std::string& target,
                                                  const std::string& item,
                                                  const std::string& itemTarget) {
    CTreeFinder finder;
    if (!finder.Start(root, true, false))
        return AskAboutUnreadable(root, target, item, itemTarget);
    auto unreadable = [&]() {
        for (const std::string& directory : finder.TakeUnreadable())
            if (AskAboutUnreadable(directory, target + directory.substr(root.size()), item,
                                   itemTarget) == Flow::Stop)
                return Flow::Stop;
        return Flow::Next;
    };
    while (finder.FindNext()) {
        if (unreadable() == Flow::Stop)
            return Flow::Stop;
        const std::string& src = finder.GetFilePath();
        bool isDirectory = finder.IsDirectory();
        if (TransferTreeEntry(src, target + src.substr(root.size()), isDirectory,
                              finder.DirectoryFd(), item, itemTarget) == Flow::Stop)
            return Flow::Stop;
        if (!ServeMessages())
            return Flow::Stop;
    }
    return unreadable();
}

FileOperationRun::Flow FileOperationRun::TransferTreeEntry(const std::string& src,
                                                           const std::string& dst, bool isDirectory,
                                                           int sourceDirectory,
                                                           const std::string& item,
                                                           const std::string& itemTarget) {
    currentName_ = item;
    figures_.sourcePath = src;
    figures_.targetPath = dst;
    Display(item);
    const int kind = request_.kind;
    const bool commentFile = !isDirectory && FileNameOf(src) == kCommentFileName;
    // The entry's bytes count once, whatever becomes of it; the operation
    // itself tells its size, so the entry is not looked at just for that.
    bool counted = false;
    auto count = [&](uint64_t size) {
        if (!counted)
            copied_ += size;
        counted = true;
    };
    for (;;) {
        if (problemIndex_.IsSkipped(dst)) {
            count(isDirectory ? 0 : LengthOf(src));
            return Flow::Next;
        }
        bool ok;
        uint64_t size = 0;
        if (commentFile) {
            size = LengthOf(src);
            ok = comments_.CarryCommentFile(ParentDirectoryOf(src), ParentDirectoryOf(dst));
        } else if (kind == OpCopy && !isDirectory) {
            const char* name = nullptr;
            int e = CopyFileAt(sourceDirectory, src, targets_.ParentOf(dst, &name), dst, size);
            SetLastEntryError(e);
            ok = e == 0;
        } else if (kind == OpCopy) {
            ok = CopyWalkedEntry(src, dst, isDirectory, size);
        } else {
            ok = MoveWalkedEntry(src, dst, size);
        }
        count(ok ? size : isDirectory ? 0 : LengthOf(src));
        if (ok) {
            // The comment file carries the comments; a moved entry's entry
            // in the old one goes, for when that directory stays.
            if (kind == OpMove && !isDirectory && !commentFile)
                comments_.Forget(src);
            RegisterOperationPath(item);
            RegisterOperationPath(itemTarget);
            return Flow::Next;
        }
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(kind), src, dst), flow))
            return flow;
    }
}

FileOperationRun::Flow FileOperationRun::AskAboutUnreadable(const std::string& src,
                                                            const std::string& dst,
                                                            const std::string& item,
                                                            const std::string& itemTarget) {
    for (;;) {
        CTreeFinder probe;
        if (!PathExists(src))
            return Flow::Next;
        if (probe.Start(src, false, false))
            return WalkTree(src, dst, item, itemTarget);
        SetLastEntryError(errno);
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(request_.kind), src, dst), flow))
            return flow;
    }
}

FileOperationRun::Flow FileOperationRun::RemoveTree(const std::string& item, bool moving) {
    // The whole tree first, then from the last entry back, so every
    // directory comes after its contents. A delete's planning walked the
    // tree already and counted it.
    WalkedTree tree;
    auto planned = plannedRemovals_.find(item);
    if (!moving && planned != plannedRemovals_.end()) {
        tree = std::move(planned->second);
        plannedRemovals_.erase(planned);
    } else {
        tree.Reset(item);
        CTreeFinder finder;
        if (finder.Start(item, true, false)) {
            for (size_t n = 1; finder.FindNext(); ++n) {
                // What a move leaves behind was counted by its copy pass.
                bool counted = finder.IsDirectory() || moving;
                tree.Add(finder, counted ? 0 : finder.GetLength());
                if ((n & 1023) == 0 && Cancelled())
                    return Flow::Stop;
            }
        }
    }
    // Files go by name within their open directory: walking every full
    // path again costs the kernel more than the unlink itself.
    OpenDirectory files;
    std::vector<WalkedTree::Entry>& entries = tree.Entries();
    for (size_t i = entries.size(); i-- > 0;) {
        WalkedTree::Entry& e = entries[i];
        copied_ += e.size;
        // Full paths are made only for what is shown or asked.
        if (DisplayDue()) {
            currentName_ = tree.PathOf(e);
            figures_.sourcePath = currentName_;
            figures_.targetPath.clear();
            Display(currentName_);
        }
        const bool commentFile = !e.isDirectory && e.name == kCommentFileName;
        for (;;) {
            bool ok;
            if (moving && !e.isDirectory) {
                break; // what the move left behind (skipped, or failed) stays
            } else if (e.isDirectory) {
                const std::string& path = tree.DirectoryPath(e.contents);
                if (!moving && problemIndex_.IsSkipped(path))
                    break;
                ok = RemoveWalkedDirectory(tree, e.contents);
                // A directory that still holds what was left on purpose
                // stays quietly after a move.
                if (!ok && moving && (LastEntryError() == ENOTEMPTY || LastEntryError() == EEXIST))
                    break;
            } else if (commentFile ||
                       (!problemIndex_.Empty() && problemIndex_.IsSkipped(tree.PathOf(e)))) {
                break; // a comment file goes with its directory
            } else {
                int directory = files.Of(tree.DirectoryPath(e.directory));
                ok = (directory >= 0 ? ::unlinkat(directory, e.name.c_str(), 0)
                                     : ::unlink(tree.PathOf(e).c_str())) == 0;
                if (!ok)
                    SetLastEntryError(errno);
            }
            e.gone = ok;
            if (ok)
                break;
            std::string path = tree.PathOf(e);
            if (!PathExists(path))
                break;
            currentName_ = path;
            figures_.sourcePath = path;
            Flow flow;
            if (RetryAfter(CouldNotText("delete", path), flow))
                continue;
            if (flow == Flow::Stop)
                return flow;
            break;
        }
        if (!ServeMessages())
            return Flow::Stop;
    }
    RemoveWalkedDirectory(tree, 0);
    return Flow::Next;
}

bool FileOperationRun::RemoveWalkedDirectory(const WalkedTree& tree, uint32_t directory) {
    const std::string& path = tree.DirectoryPath(directory);
    if (comments_.RemoveDirectory(path))
        return true;
    // It stays: the entries this run removed from it lose their comments,
    // the ones still in it keep theirs.
    int error = LastEntryError();
    for (const std::string& name : tree.GoneNamesIn(directory))
        comments_.Forget(JoinPath(path, name));
    comments_.FlushDirectory(path);
    SetLastEntryError(error);
    return false;
}

FileOperationRun::Flow FileOperationRun::TransferFile(const std::string& item) {
    const int kind = request_.kind;
    const std::string target =
        kind == OpDelete ? std::string() : JoinPath(request_.destination, FileNameOf(item));
    struct stat st {};
    if (::lstat(item.c_str(), &st) == 0)
        copied_ += static_cast<uint64_t>(st.st_size);
    currentName_ = item;
    figures_.sourcePath = item;
    figures_.targetPath = target;
    Display(item);
    const std::string& row = kind == OpDelete ? item : target;
    for (;;) {
        if (problemIndex_.IsSkipped(row))
            return Flow::Next;
        std::string comment = kind == OpDelete ? std::string() : comments_.CommentOf(item);
        bool ok = kind == OpCopy   ? CopyEntry(item, target, false, false)
                  : kind == OpMove ? MoveEntry(item, target, false, false)
                                   : DeleteEntry(item, true, true, true);
        if (ok) {
            if (kind != OpDelete)
                comments_.Give(target, comment);
            if (kind == OpDelete || (kind == OpMove && !comment.empty()))
                comments_.Forget(item);
            RegisterOperationPath(item);
            if (kind != OpDelete)
                RegisterOperationPath(target);
            return Flow::Next;
        }
        // A file that went before its turn counts as deleted.
        if (kind == OpDelete && !PathExists(item))
            return Flow::Next;
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(kind), item), flow))
            return flow;
    }
}

} // namespace orvo
