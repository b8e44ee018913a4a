#pragma once

#include "comments/CommentFileLock.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo {

// The file in every directory that holds the comments of its entries.
inline constexpr std::string_view kCommentFileName = "dir_info.orb";
// The key of a directory's own comment in its own comment file; no file
// name can contain the colons.
inline constexpr std::string_view kThisDirKey = ":THIS_DIR:";

struct CommentEntry {
    std::string key;
    std::string comment;
    bool operator==(const CommentEntry&) const = default;
};

// The comments of one directory in memory: opened by Load or Create,
// changed, and written back by Close. Short-lived: one per listing rebuild
// or path-level operation. While it is in use (from Load or Create to
// Close) the directory's CommentFileLock is held, so read-change-write
// sequences of different threads do not interleave; keep one open per
// thread at a time.
//
// Sound-behaviour rules beyond the plain format:
// - A file whose entries cannot all be read (truncated, damaged, not a
//   regular file, unreadable) loads the entries that were read completely
//   and is never written or deleted by this object, so a file we cannot
//   read is not destroyed by the next save.
// - Close writes only when an entry changed.
// - Writing goes to a temporary file renamed over the old one.
class CommentFile {
public:
    CommentFile() = default;
    CommentFile(const CommentFile&) = delete;
    CommentFile& operator=(const CommentFile&) = delete;
    ~CommentFile() { Close(true); }

    // Number of entries, or -1 when the directory has no comment file (the
    // object then stays closed).
    int Load(const std::string& directory);
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

    // Lookup: an entry whose key equals key exactly; when there is none,
    // the first whose key equals it ignoring case.
    std::string GetComment(std::string_view key) const;
    // An empty comment removes the entry; returns whether anything changed.
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
    int FindEntry(std::string_view key) const;
    void Forget();

    std::vector<CommentEntry> entries_;
    std::string directory_;
    bool open_ = false;
    bool damaged_ = false;
    bool modified_ = false;
    CommentFileLock lock_;

    // Lookup indexes (first entry per key), built at the first lookup and
    // dropped on every change; a rebuild looks up every file of a directory.
    mutable bool indexed_ = false;
    mutable std::unordered_map<std::string, size_t> exact_;
    mutable std::unordered_map<std::string, size_t> folded_;
};

} // namespace orvo
