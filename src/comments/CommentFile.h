#pragma once

#include "comments/CommentFileLock.h"
#include "comments/CommentKeys.h"
#include "comments/CommentLookup.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The comments of one directory in memory: opened by Load or Create,
// changed, and written back by Close. Short-lived: one per listing rebuild
// or path-level operation. While it is in use (from Load or Create to
// Close) the directory's CommentFileLock is held, so read-change-write
// sequences of different threads and processes do not interleave; keep one
// open per thread at a time. Read opens without the lock, for reading only:
// saves go through a rename, so a reader sees the old file or the new one.
//
// Sound-behaviour rules beyond the plain format:
// - A file whose entries cannot all be read (truncated, damaged, not a
//   regular file, unreadable) loads the entries that were read completely
//   and is never written or deleted by this object, so a file we cannot
//   read is not destroyed by the next save.
// - Close writes only when an entry changed.
// - Writing goes to a temporary file that is flushed to the disk and then
//   renamed over the old one: after a crash or a power loss the file is the
//   old version or the new one, never a mix or an empty file. The rename
//   itself is not waited for, so a power loss may undo the latest saves.
class CommentFile {
public:
    CommentFile() = default;
    CommentFile(const CommentFile&) = delete;
    CommentFile& operator=(const CommentFile&) = delete;
    ~CommentFile() { Close(true); }

    // Number of entries, or -1 when the directory has no comment file (the
    // object then stays closed).
    int Load(const std::string& directory);
    // Load without the lock, for reading: the object never saves.
    int Read(const std::string& directory);
    // Replaces the directory's comment file by an empty one; 0, or -1 when
    // it cannot be created.
    int Create(const std::string& directory);
    // Writes the entries to the comment file of directory (deleting the
    // file when there are none). Only when open and not damaged; false when
    // nothing was written. A comment file without the owner's write
    // permission is left as it is.
    bool Save(const std::string& directory);
    // Saves to the recorded directory when asked, open and changed; then
    // forgets the entries.
    void Close(bool save = true);

    // The comment of the entry called name, by the reading rule of
    // CommentLookup (an orphan key that matches ignoring case counts).
    std::string GetComment(std::string_view name) const;
    // The same with the names of the directory given by the caller.
    std::string GetComment(std::string_view name, DirectoryNames& names) const;
    // The directory's own comment.
    std::string OwnComment() const;
    // By exact key: an entry's name, or kThisDirKey for the directory's own
    // comment (callers keep names that cannot have a comment out, see
    // NameCanHaveComment). An empty comment removes the entry; returns
    // whether anything changed.
    bool SetComment(std::string_view key, std::string_view comment);
    std::string TakeComment(std::string_view key);

    bool IsOpen() const { return open_; }
    bool IsDamaged() const { return damaged_; }
    bool IsModified() const { return modified_; }
    const std::string& GetDirectory() const { return directory_; }
    const std::vector<CommentEntry>& Entries() const { return entries_; }

    // directory + "/dir_info.orb".
    static std::string PathFor(const std::string& directory);
    // Decodes a comment file's bytes: the entries read completely, and
    // whether they are all that the count announced.
    static bool ParseEntries(std::string_view bytes, std::vector<CommentEntry>& entries);
    static std::string Serialize(const std::vector<CommentEntry>& entries);

    // A comment file larger than this is not read beyond it (and counts as
    // damaged): real ones are a few kilobytes.
    static constexpr size_t kMaxFileSize = 64u << 20;

private:
    int LoadEntries(const std::string& directory);
    void Forget();

    std::vector<CommentEntry> entries_;
    std::string directory_;
    bool open_ = false;
    bool damaged_ = false;
    bool modified_ = false;
    bool readOnly_ = false;
    CommentFileLock lock_;
    CommentLookup lookup_;
    // The directory's names, read when a lookup needs them.
    mutable std::unique_ptr<DirectoryNames> names_;
};

} // namespace orvo
