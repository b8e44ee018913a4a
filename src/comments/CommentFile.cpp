#include "comments/CommentFile.h"

#include "platform/FileIO.h"
#include "platform/PathText.h"
#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

enum class ReadResult { Missing, Complete, Partial };

// Reads at most kMaxFileSize bytes. O_NONBLOCK keeps a FIFO that someone
// named dir_info.orb from blocking the listing forever.
ReadResult ReadCommentBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Partial;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Partial;
    }
    size_t want = static_cast<size_t>(st.st_size) < CommentFile::kMaxFileSize
                      ? static_cast<size_t>(st.st_size)
                      : CommentFile::kMaxFileSize;
    bytes.resize(want);
    size_t got = 0;
    bool failed = false;
    while (got < want) {
        ssize_t n = ::read(fd, bytes.data() + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    if (failed || static_cast<uint64_t>(st.st_size) > CommentFile::kMaxFileSize)
        return ReadResult::Partial;
    return ReadResult::Complete;
}

} // namespace

std::string CommentFile::PathFor(const std::string& directory) {
    return JoinPath(StripTrailingSlash(directory), kCommentFileName);
}

bool CommentFile::ParseEntries(std::string_view bytes, std::vector<CommentEntry>& entries) {
    entries.clear();
    // A file of no bytes is an empty one: Create makes exactly that.
    if (bytes.empty())
        return true;
    ArchiveReader in(bytes);
    try {
        uint32_t count = in.U32();
        for (uint32_t i = 0; i < count; ++i) {
            CommentEntry entry;
            entry.key = in.Text();
            entry.comment = in.Text();
            entries.push_back(std::move(entry));
        }
    } catch (const ArchiveError&) {
        return false;
    }
    return true;
}

std::string CommentFile::Serialize(const std::vector<CommentEntry>& entries) {
    ArchiveWriter out;
    out.U32(static_cast<uint32_t>(entries.size()));
    for (const CommentEntry& e : entries) {
        out.Text(e.key);
        out.Text(e.comment);
    }
    return out.Take();
}

void CommentFile::Forget() {
    entries_.clear();
    open_ = damaged_ = modified_ = readOnly_ = false;
    lookup_.Invalidate();
    names_.reset();
}

int CommentFile::LoadEntries(const std::string& directory) {
    directory_ = StripTrailingSlash(directory);
    std::string bytes;
    ReadResult result = ReadCommentBytes(PathFor(directory_), bytes);
    if (result == ReadResult::Missing)
        return -1;
    bool complete = ParseEntries(bytes, entries_);
    damaged_ = result == ReadResult::Partial || !complete;
    open_ = true;
    return static_cast<int>(entries_.size());
}

int CommentFile::Load(const std::string& directory) {
    if (open_)
        Close(true);
    Forget();
    // Held even when there is no file yet: a Create that follows must not
    // race another writer's.
    lock_.Acquire(StripTrailingSlash(directory));
    return LoadEntries(directory);
}

int CommentFile::Read(const std::string& directory) {
    if (open_)
        Close(true);
    Forget();
    lock_.Release();
    int count = LoadEntries(directory);
    readOnly_ = true;
    return count;
}

int CommentFile::Create(const std::string& directory) {
    if (open_)
        Close(true);
    std::string dir = StripTrailingSlash(directory);
    lock_.Acquire(dir);
    try {
        WriteFileAtomically(PathFor(dir), {}, false);
    } catch (const FileError&) {
        return -1;
    }
    Forget();
    directory_ = dir;
    open_ = true;
    return 0;
}

bool CommentFile::Save(const std::string& directory) {
    if (!open_ || damaged_ || readOnly_)
        return false;
    std::string dir = StripTrailingSlash(directory);
    CommentFileLock otherDirectory;
    if (dir != lock_.Directory())
        otherDirectory.Acquire(dir);
    std::string path = PathFor(dir);
    if (entries_.empty()) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            return false;
    } else {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
            return false;
        try {
            // Flushed before the rename: without it a power loss may leave
            // the new name on data that never reached the disk, an empty
            // file where every comment of the directory was.
            WriteFileAtomically(path, Serialize(entries_), true);
        } catch (const FileError&) {
            return false;
        }
    }
    if (dir == directory_)
        modified_ = false;
    return true;
}

void CommentFile::Close(bool save) {
    if (save && open_ && modified_)
        Save(directory_);
    Forget();
    lock_.Release();
}

std::string CommentFile::GetComment(std::string_view name) const {
    if (entries_.empty())
        return {};
    if (!names_)
        names_ = std::make_unique<DirectoryNames>(directory_);
    return GetComment(name, *names_);
}

std::string CommentFile::GetComment(std::string_view name, DirectoryNames& names) const {
    int i = lookup_.ForName(entries_, name, names);
    return i < 0 ? std::string() : entries_[static_cast<size_t>(i)].comment;
}

std::string CommentFile::OwnComment() const {
    int i = lookup_.Exact(entries_, kThisDirKey);
    return i < 0 ? std::string() : entries_[static_cast<size_t>(i)].comment;
}

bool CommentFile::SetComment(std::string_view key, std::string_view comment) {
    int i = lookup_.Exact(entries_, key);
    if (i < 0) {
        if (comment.empty())
            return false;
        entries_.push_back({std::string(key), std::string(comment)});
        // Appending moves no other entry: the indexes grow instead of being
        // rebuilt, or filling a large file would take n² steps.
        lookup_.Appended(entries_);
        modified_ = true;
        return true;
    } else if (comment.empty()) {
        entries_.erase(entries_.begin() + i);
    } else if (entries_[static_cast<size_t>(i)].comment == comment) {
        return false;
    } else {
        entries_[static_cast<size_t>(i)].comment = std::string(comment);
        modified_ = true;
        return true; // keys unchanged: the indexes stay valid
    }
    modified_ = true;
    lookup_.Invalidate();
    return true;
}

std::string CommentFile::TakeComment(std::string_view key) {
    int i = lookup_.Exact(entries_, key);
    if (i < 0)
        return {};
    std::string comment = std::move(entries_[static_cast<size_t>(i)].comment);
    entries_.erase(entries_.begin() + i);
    modified_ = true;
    lookup_.Invalidate();
    return comment;
}

} // namespace orvo
