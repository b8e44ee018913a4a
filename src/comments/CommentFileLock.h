#pragma once

#include <memory>
#include <string>

namespace orvo {

// Serialises the writers of one directory's comment file: a read-change-
// write of one thread or process must not interleave with another's, or
// one of the two changes is lost. Within the process a recursive mutex per
// directory, so a thread that already holds a directory may open its file
// again without hanging; between processes an advisory flock on the
// directory itself, taken by the outermost holder of the process. Locking
// the directory leaves nothing behind to list or copy, and works in a
// directory the user may not write to.
//
// Where the file system refuses flock on a directory (NFS emulates flock
// with byte-range locks, which need a file open for writing) or the
// directory cannot be opened for reading, only the threads of one process
// are serialised. A holder that keeps the lock beyond kMaxWaitMs (a stopped
// process) is waited for no longer: the writer goes ahead rather than
// freezing the program.
class CommentFileLock {
public:
    CommentFileLock() = default;
    explicit CommentFileLock(const std::string& directory) { Acquire(directory); }
    CommentFileLock(const CommentFileLock&) = delete;
    CommentFileLock& operator=(const CommentFileLock&) = delete;
    ~CommentFileLock() { Release(); }

    // Holds the lock of directory (keeping it when it is the one held).
    void Acquire(const std::string& directory);
    void Release();
    const std::string& Directory() const { return directory_; }

    static constexpr int kMaxWaitMs = 10000;

    struct Slot; // one per directory in use

private:
    std::string directory_;
    std::string key_;
    Slot* slot_ = nullptr;
};

} // namespace orvo
