#pragma once

#include <memory>
#include <string>

namespace orvo {

// Serialises the users of one directory's comment file within the process:
// a read-change-write of one thread must not interleave with another's, or
// one of the two changes is lost. Locks are per directory path text and
// recursive, so a thread that already holds a directory may open its file
// again without hanging.
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

    struct Slot; // one per directory in use

private:
    std::string directory_;
    Slot* slot_ = nullptr;
};

} // namespace orvo
