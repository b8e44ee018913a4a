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

const char* NameIn(const std::string& path) {
    size_t slash = path.rfind('/');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
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
    if (FlushLeftSources() == Flow::Stop)
        return OperationEnd::Broken;
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
    // The destination is the person's choice and may be reached through a
    // link; below it, every name is looked up in a directory held open.
    int destination = ::open(request_.destination.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (destination < 0) {
        SetLastEntryError(errno);
        Flow flow = Flow::Next;
        RetryAfter(CouldNotText(VerbOf(request_.kind), item, target), flow);
        return flow;
    }
    TargetDirectory root;
    Flow flow = MakeTargetDirectory(item, target, -1, destination, root);
    ::close(destination);
    if (flow == Flow::Stop || root.fd < 0)
        return flow; // the item stays where it is
    flow = WalkTree(item, target, root.fd, item, target);
    FinishTargetDirectory(root);
    if (flow == Flow::Stop)
        return Flow::Stop;
    if (request_.kind != OpMove)
        return Flow::Next;
    // The sources go only once their copies are on the target's disk.
    if (FlushLeftSources() == Flow::Stop)
        return Flow::Stop;
    return RemoveTree(item, true);
}

FileOperationRun::Flow FileOperationRun::MakeTargetDirectory(const std::string& src,
                                                             const std::string& dst,
                                                             int sourceDirectory,
                                                             int targetDirectory,
                                                             TargetDirectory& made) {
    made = TargetDirectory{};
    const char* name = NameIn(dst);
    for (;;) {
        if (problemIndex_.IsSkipped(dst))
            return Flow::Next; // what is there stays, and nothing goes into it
        struct stat st {};
        int r = sourceDirectory >= 0 ? ::fstatat(sourceDirectory, NameIn(src), &st,
                                                  AT_SYMLINK_NOFOLLOW)
                                     : ::lstat(src.c_str(), &st);
        if (r == 0 && S_ISDIR(st.st_mode)) {
            // A file or link in the directory's way that the person agreed
            // to overwrite goes (a link never leads the copy elsewhere).
            struct stat there {};
            if (problemIndex_.IsListed(dst) &&
                ::fstatat(targetDirectory, name, &there, AT_SYMLINK_NOFOLLOW) == 0 &&
                !S_ISDIR(there.st_mode))
                ::unlinkat(targetDirectory, name, 0);
            made.fd = MakeDirectoryAt(targetDirectory, name, st, made.made);
            made.source = st;
        } else {
            SetLastEntryError(r == 0 ? ENOTDIR : errno);
        }
        if (made.fd >= 0)
            return CarryComments(src, dst);
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(request_.kind), src, dst), flow))
            return flow;
    }
}

void FileOperationRun::FinishTargetDirectory(TargetDirectory& directory) {
    if (directory.fd < 0)
        return;
    // Its contents are in: now it may become read-only and take its date.
    if (directory.made)
        SetDirectoryAttributes(directory.fd, directory.source);
    ::close(directory.fd);
    directory.fd = -1;
}

void FileOperationRun::ClearReplacedComment(const std::string& src, const std::string& dst) {
    // The carried comment file brings only the comments there are: a file
    // replaced by one without a comment must not keep the old file's.
    // Exact keys only: the reading rule's case folding would cost more
    // than the copy of a small file.
    if (!comments_.HasEntry(src) && comments_.HasEntry(dst))
        comments_.Forget(dst);
}

FileOperationRun::Flow FileOperationRun::CarryComments(const std::string& src,
                                                       const std::string& dst) {
    // A target file the person kept by "Skip" keeps its own comment too.
    auto keep = [this, &dst](const std::string& name) {
        return !problemIndex_.Empty() && problemIndex_.IsSkipped(JoinPath(dst, name));
    };
    for (;;) {
        if (comments_.CarryCommentFile(src, dst, keep))
            return Flow::Next;
        // A directory that cannot be entered is asked about by the walk, and
        // carried when it can be.
        if (::access(src.c_str(), X_OK) != 0)
            return Flow::Next;
        std::string file(kCommentFileName);
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(request_.kind), JoinPath(src, file),
                                     JoinPath(dst, file)),
                        flow))
            return flow;
    }
}

FileOperationRun::Flow FileOperationRun::WalkTree(const std::string& root,
                                                  const std::string& target, int targetRoot,
                                                  const std::string& item,
                                                  const std::string& itemTarget) {
    CTreeFinder finder;
    if (!finder.Start(root, true, false))
        return AskAboutUnreadable(root, target, targetRoot, item, itemTarget);
    // The target directories the walk is in, below targetRoot, one per
    // level: an entry at depth d goes into the d-1st.
    std::vector<TargetDirectory> levels;
    auto leave = [&](size_t depth) {
        while (levels.size() > depth) {
            FinishTargetDirectory(levels.back());
            levels.pop_back();
        }
    };
    auto unreadable = [&]() {
        for (const std::string& directory : finder.TakeUnreadable())
            if (AskAboutUnreadable(directory, target + directory.substr(root.size()),
                                   levels.empty() ? targetRoot : levels.back().fd, item,
                                   itemTarget) == Flow::Stop)
                return Flow::Stop;
        return Flow::Next;
    };
    while (finder.FindNext()) {
        if (unreadable() == Flow::Stop) {
            leave(0);
            return Flow::Stop;
        }
        leave(static_cast<size_t>(finder.Depth()) - 1);
        const std::string& src = finder.GetFilePath();
        const bool isDirectory = finder.IsDirectory();
        const int into = levels.empty() ? targetRoot : levels.back().fd;
        TargetDirectory made;
        Flow flow = TransferTreeEntry(src, target + src.substr(root.size()), isDirectory,
                                      finder.DirectoryFd(), into, item, itemTarget, made);
        if (made.fd >= 0)
            levels.push_back(made);
        else if (isDirectory)
            finder.SkipContents(); // skipped or failed: nothing is written below it
        if (flow == Flow::Stop || !ServeMessages()) {
            leave(0);
            return Flow::Stop;
        }
    }
    Flow flow = unreadable();
    leave(0);
    return flow;
}

FileOperationRun::Flow FileOperationRun::TransferTreeEntry(
    const std::string& src, const std::string& dst, bool isDirectory, int sourceDirectory,
    int targetDirectory, const std::string& item, const std::string& itemTarget,
    TargetDirectory& made) {
    currentName_ = item;
    figures_.sourcePath = src;
    figures_.targetPath = dst;
    Display(item);
    const int kind = request_.kind;
    // A directory's comment file was carried when the directory was made.
    if (!isDirectory && FileNameOf(src) == kCommentFileName) {
        copied_ += LengthOf(src);
        return Flow::Next;
    }
    if (isDirectory) {
        Flow flow = MakeTargetDirectory(src, dst, sourceDirectory, targetDirectory, made);
        if (made.fd >= 0) {
            RegisterOperationPath(item);
            RegisterOperationPath(itemTarget);
        }
        return flow;
    }
    // The entry's bytes count once, whatever becomes of it; the operation
    // itself tells its size, so the entry is not looked at just for that.
    bool counted = false;
    auto count = [&](uint64_t size) {
        if (!counted)
            copied_ += size;
        counted = true;
    };
    const char* srcName = NameIn(src);
    const char* dstName = NameIn(dst);
    for (;;) {
        if (problemIndex_.IsSkipped(dst)) {
            count(LengthOf(src));
            return Flow::Next;
        }
        bool ok;
        bool sourceLeft = false;
        uint64_t size = 0;
        if (kind == OpCopy) {
            int e = CopyEntryAt(sourceDirectory, srcName, targetDirectory, dstName, true, size);
            SetLastEntryError(e);
            ok = e == 0;
        } else {
            ok = MoveEntryAt(sourceDirectory, srcName, targetDirectory, dstName, size, sourceLeft);
        }
        count(ok ? size : LengthOf(src));
        if (ok) {
            RegisterOperationPath(item);
            RegisterOperationPath(itemTarget);
            ClearReplacedComment(src, dst);
            if (sourceLeft)
                return LeaveSource(src, size);
            // The comment file carries the comments; a moved entry's entry
            // in the old one goes, for when that directory stays.
            if (kind == OpMove)
                comments_.Forget(src);
            return Flow::Next;
        }
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(kind), src, dst), flow))
            return flow;
    }
}

FileOperationRun::Flow FileOperationRun::AskAboutUnreadable(const std::string& src,
                                                            const std::string& dst,
                                                            int targetDirectory,
                                                            const std::string& item,
                                                            const std::string& itemTarget) {
    for (;;) {
        CTreeFinder probe;
        if (!PathExists(src))
            return Flow::Next;
        if (probe.Start(src, false, false)) {
            if (CarryComments(src, dst) == Flow::Stop)
                return Flow::Stop;
            return WalkTree(src, dst, targetDirectory, item, itemTarget);
        }
        SetLastEntryError(errno);
        Flow flow;
        if (!RetryAfter(CouldNotText(VerbOf(request_.kind), src, dst), flow))
            return flow;
    }
}

FileOperationRun::Flow FileOperationRun::LeaveSource(const std::string& src, uint64_t size) {
    leftSources_.push_back(src);
    leftBytes_ += size;
    if (leftSources_.size() >= kLeftSourcesBatch || leftBytes_ >= kLeftBytesBatch)
        return FlushLeftSources();
    return Flow::Next;
}

FileOperationRun::Flow FileOperationRun::FlushLeftSources() {
    if (leftSources_.empty())
        return Flow::Next;
    std::vector<std::string> sources;
    sources.swap(leftSources_);
    leftBytes_ = 0;
    // One sync of the target's file system for the whole batch: a power
    // loss after it cannot take the copies, so the sources may go.
    for (;;) {
        int e = SyncFileSystemOf(request_.destination);
        if (e == 0)
            break;
        SetLastEntryError(e);
        Flow flow;
        if (!RetryAfter(CouldNotText("move", sources.front(), request_.destination), flow))
            return flow; // both copies stay
    }
    OpenDirectory directories;
    for (const std::string& path : sources) {
        for (;;) {
            const char* name = nullptr;
            int directory = directories.ParentOf(path, &name);
            if ((directory >= 0 ? ::unlinkat(directory, name, 0) : ::unlink(path.c_str())) == 0 ||
                errno == ENOENT) {
                comments_.Forget(path);
                break;
            }
            SetLastEntryError(errno);
            Flow flow;
            if (RetryAfter(CouldNotText("delete", path), flow))
                continue;
            if (flow == Flow::Stop)
                return flow;
            break;
        }
    }
    return Flow::Next;
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
    // Directories that hold something the person chose to keep: they stay
    // without a question about each of them.
    std::vector<char> keeps(tree.DirectoryCount(), 0);
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
                if (!moving && problemIndex_.IsSkipped(path)) {
                    keeps[e.directory] = 1;
                    break;
                }
                ok = RemoveWalkedDirectory(tree, e.contents);
                // A directory that still holds what was left on purpose
                // stays quietly.
                if (!ok && (moving || keeps[e.contents]) &&
                    (LastEntryError() == ENOTEMPTY || LastEntryError() == EEXIST)) {
                    keeps[e.directory] = 1;
                    break;
                }
            } else if (commentFile) {
                break; // a comment file goes with its directory
            } else if (!problemIndex_.Empty() && problemIndex_.IsSkipped(tree.PathOf(e))) {
                keeps[e.directory] = 1;
                break;
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
        bool sourceLeft = false;
        bool ok = kind == OpCopy   ? CopyEntry(item, target, false, false)
                  : kind == OpMove ? MoveEntry(item, target, false, false, &sourceLeft)
                                   : DeleteEntry(item, true, true, true);
        if (ok) {
            if (kind != OpDelete) {
                comments_.Give(target, comment);
                if (comment.empty())
                    ClearReplacedComment(item, target);
            }
            RegisterOperationPath(item);
            if (kind != OpDelete)
                RegisterOperationPath(target);
            if (sourceLeft)
                return LeaveSource(item, static_cast<uint64_t>(st.st_size));
            if (kind == OpDelete || (kind == OpMove && !comment.empty()))
                comments_.Forget(item);
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
