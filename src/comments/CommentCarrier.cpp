#include "comments/CommentCarrier.h"

#include "comments/CommentFile.h"
#include "platform/EntryOperations.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

// Enough for the directories a walk has open at once; beyond, the cache
// starts afresh rather than growing with the tree.
constexpr size_t kMaxCachedDirectories = 64;
// Queued new comments are written out at this count, so a long run does
// not hold them all until its end.
constexpr size_t kMaxQueued = 4096;

bool HoldsOnlyCommentFile(const std::string& directory) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return false;
    bool onlyComments = true;
    bool sawComments = false;
    while (struct dirent* d = ::readdir(dir)) {
        std::string_view name = d->d_name;
        if (name == "." || name == "..")
            continue;
        if (name == kCommentFileName) {
            sawComments = true;
            continue;
        }
        onlyComments = false;
        break;
    }
    ::closedir(dir);
    return onlyComments && sawComments;
}

} // namespace

CommentCarrier::Lookup& CommentCarrier::SourceOf(const std::string& directory) {
    auto it = sources_.find(directory);
    if (it != sources_.end())
        return it->second;
    if (sources_.size() >= kMaxCachedDirectories)
        sources_.clear();
    Lookup lookup{{}, {}, DirectoryNames(directory)};
    CommentFile file;
    if (file.Read(directory) > 0) {
        lookup.entries = file.Entries();
        // The names as they are now, with the comments: once entries have
        // gone, a key that was a twin's would pass for an orphan.
        lookup.names.GatherNow();
    }
    return sources_.emplace(directory, std::move(lookup)).first->second;
}

std::string CommentCarrier::CommentOf(const std::string& path) {
    Lookup& lookup = SourceOf(ParentDirectoryOf(path));
    int i = lookup.index.ForName(lookup.entries, FileNameOf(path), lookup.names);
    return i < 0 ? std::string() : lookup.entries[static_cast<size_t>(i)].comment;
}

bool CommentCarrier::HasEntry(const std::string& path) {
    Lookup& lookup = SourceOf(ParentDirectoryOf(path));
    int i = lookup.index.Exact(lookup.entries, FileNameOf(path));
    return i >= 0 && !lookup.entries[static_cast<size_t>(i)].comment.empty();
}

void CommentCarrier::Queue(const std::string& directory, Change change) {
    // Only new comments count towards the early write: a removal is a
    // name, and the directory it is removed from is most often removed
    // itself at the end of a move, its queue dropped unwritten. Writing
    // removals early would also rewrite a comment file before it is
    // carried.
    bool give = !change.comment.empty();
    changes_[directory].push_back(std::move(change));
    ++queued_;
    if (give && ++queuedGives_ >= kMaxQueued)
        Flush();
}

void CommentCarrier::Give(const std::string& path, const std::string& comment) {
    if (!comment.empty() && NameCanHaveComment(FileNameOf(path)))
        Queue(ParentDirectoryOf(path), {std::string(FileNameOf(path)), comment});
}

void CommentCarrier::Forget(const std::string& path) {
    if (NameCanHaveComment(FileNameOf(path)))
        Queue(ParentDirectoryOf(path), {std::string(FileNameOf(path)), {}});
}

void CommentCarrier::Drop(const std::string& directory) {
    auto it = changes_.find(directory);
    if (it != changes_.end()) {
        queued_ -= it->second.size();
        for (const Change& c : it->second)
            queuedGives_ -= !c.comment.empty();
        changes_.erase(it);
    }
    sources_.erase(directory);
}

void CommentCarrier::FlushDirectory(const std::string& directory) {
    auto it = changes_.find(directory);
    if (it == changes_.end())
        return;
    std::vector<Change> changes = std::move(it->second);
    changes_.erase(it);
    queued_ -= changes.size();
    for (const Change& c : changes)
        queuedGives_ -= !c.comment.empty();
    sources_.erase(directory);

    CommentFile file;
    bool needed = false;
    for (const Change& c : changes)
        needed = needed || !c.comment.empty();
    if (file.Load(directory) < 0 && (!needed || file.Create(directory) < 0))
        return;
    for (const Change& c : changes)
        file.SetComment(c.key, c.comment);
    file.Close(true);
}

void CommentCarrier::Flush() {
    while (!changes_.empty()) {
        std::string directory = changes_.begin()->first; // erased by the flush
        FlushDirectory(directory);
    }
    queued_ = 0;
    queuedGives_ = 0;
}

bool CommentCarrier::CarryCommentFile(const std::string& sourceDirectory,
                                      const std::string& targetDirectory, const KeepTarget& keep) {
    FlushDirectory(targetDirectory);
    sources_.erase(targetDirectory);
    const std::string source = CommentFile::PathFor(sourceDirectory);
    const std::string target = CommentFile::PathFor(targetDirectory);
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        SetLastEntryError(errno);
        return false;
    }
    const bool targetHasOne = ::lstat(target.c_str(), &st) == 0;
    if (!targetHasOne && !keep)
        return CopyEntry(source, target, false, false);

    std::vector<CommentEntry> entries;
    {
        CommentFile file;
        if (file.Load(sourceDirectory) <= 0)
            return true;
        entries = file.Entries();
    }
    auto kept = [&keep](const CommentEntry& e) { return keep && keep(e.key); };
    if (!targetHasOne && std::none_of(entries.begin(), entries.end(), kept))
        return CopyEntry(source, target, false, false);
    CommentFile file;
    if (file.Load(targetDirectory) < 0 && file.Create(targetDirectory) < 0)
        return true; // comments never fail the copy
    for (const CommentEntry& e : entries)
        if (!e.comment.empty() && !kept(e))
            file.SetComment(e.key, e.comment);
    file.Close(true);
    return true;
}

bool CommentCarrier::RemoveDirectory(const std::string& directory) {
    if (::rmdir(directory.c_str()) == 0) {
        Drop(directory);
        return true;
    }
    int e = errno;
    if ((e == ENOTEMPTY || e == EEXIST) && HoldsOnlyCommentFile(directory)) {
        Drop(directory);
        ::unlink(CommentFile::PathFor(directory).c_str());
        if (::rmdir(directory.c_str()) == 0)
            return true;
        e = errno;
    }
    FlushDirectory(directory);
    SetLastEntryError(e);
    return false;
}

} // namespace orvo
