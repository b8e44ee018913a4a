#include "fileops/FileCopy.h"

#include "fileops/EntryOperations.h"
#include "platform/PathText.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace orvo {

namespace {

thread_local CopyObserver* tObserver = nullptr;

// Big enough that a small file is one call, small enough that a stop or a
// pause is noticed within a fraction of a second on a slow disk.
constexpr size_t kChunk = 16u << 20;

std::string TemporaryNameIn(const std::string& directory) {
    static std::atomic<unsigned> counter{0};
    return JoinPath(directory, ".orvo-" + std::to_string(::getpid()) + "-" +
                                   std::to_string(counter++) + ".part");
}

bool ProcFdUsable() {
    static const bool usable = ::access("/proc/self/fd", X_OK) == 0;
    return usable;
}

// Where the copy is written until it is complete: an unnamed file of the
// target's directory when the file system offers one (nothing to clean up
// even if the program dies), else a hidden name beside the target.
struct Staging {
    int fd = -1;
    std::string name; // empty for an unnamed file
};

int OpenStaging(const std::string& directory, Staging& staging) {
#ifdef O_TMPFILE
    if (ProcFdUsable()) {
        int fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            staging.fd = fd;
            return 0;
        }
        if (errno == ENOENT || errno == ENOTDIR || errno == ENOSPC || errno == EDQUOT ||
            errno == EACCES || errno == EROFS)
            return errno;
        // Otherwise the file system has no unnamed files: use a name.
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryNameIn(directory);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            staging.fd = fd;
            staging.name = std::move(name);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Puts a complete staged entry (named) in place of dst.
int PublishNamed(const std::string& temp, const std::string& dst, bool replace) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    int e = errno;
    if (e == EINVAL || e == ENOSYS) {
        // No atomic no-replace here: check, then rename.
        struct stat st{};
        e = ::lstat(dst.c_str(), &st) == 0 ? EEXIST : 0;
        if (e == 0 && ::rename(temp.c_str(), dst.c_str()) == 0)
            return 0;
        if (e == 0)
            e = errno;
    }
    if (e == EEXIST && replace) {
        if (::rename(temp.c_str(), dst.c_str()) == 0)
            return 0;
        e = errno;
    }
    ::unlink(temp.c_str());
    return e;
}

int PublishStaging(Staging& staging, const std::string& dst, bool replace) {
    if (!staging.name.empty())
        return PublishNamed(staging.name, dst, replace);
    std::string self = "/proc/self/fd/" + std::to_string(staging.fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, dst.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    int e = errno;
    if (e != EEXIST || !replace)
        return e;
    // Replacing: give the copy a name first, then rename it over the old.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryNameIn(ParentDirectoryOf(dst));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return PublishNamed(temp, dst, true);
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

void Discard(Staging& staging) {
    if (staging.fd >= 0)
        ::close(staging.fd);
    if (!staging.name.empty())
        ::unlink(staging.name.c_str());
    staging = Staging{};
}

int CopyByReadWrite(int in, int out, uint64_t done) {
    std::vector<char> buffer(1u << 17);
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        for (ssize_t written = 0; written < n;) {
            ssize_t w = ::write(out, buffer.data() + written, static_cast<size_t>(n - written));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                return errno;
            written += w;
        }
        uint64_t before = done;
        done += static_cast<uint64_t>(n);
        if (tObserver && before / kChunk != done / kChunk && !tObserver->ContinueCopy(done))
            return ECANCELED;
    }
}

// copy_file_range lets the kernel (or the file system, with a reflink)
// move the data; where it cannot, plain reads and writes follow.
int CopyData(int in, int out) {
    uint64_t done = 0;
    for (;;) {
        ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                errno == EBADF || errno == ETXTBSY)
                return CopyByReadWrite(in, out, done);
            return errno;
        }
        if (n == 0)
            return 0;
        done += static_cast<uint64_t>(n);
        if (tObserver && !tObserver->ContinueCopy(done))
            return ECANCELED;
    }
}

int WithParent(const std::string& dst, int (*attempt)(const std::string&, void*), void* context) {
    int e = attempt(dst, context);
    if (e == ENOENT && CreateDirChain(ParentDirectoryOf(dst)))
        e = attempt(dst, context);
    return e;
}

struct FileJob {
    int in;
    const struct stat* st;
    bool replace;
};

int CopyRegular(const std::string& dst, void* context) {
    auto* job = static_cast<FileJob*>(context);
    Staging staging;
    if (int e = OpenStaging(ParentDirectoryOf(dst), staging))
        return e;
    int e = CopyData(job->in, staging.fd);
    if (e == 0 && ::fchmod(staging.fd, job->st->st_mode & 07777) != 0)
        e = errno;
    if (e == 0) {
        struct timespec times[2] = {job->st->st_atim, job->st->st_mtim};
        ::futimens(staging.fd, times); // times are kept where the file system can
    }
    if (e == 0 && !staging.name.empty()) {
        // A named copy is closed first: some file systems report a failed
        // write only then.
        int fd = staging.fd;
        staging.fd = -1;
        if (::close(fd) != 0)
            e = errno;
    }
    if (e == 0)
        e = PublishStaging(staging, dst, job->replace);
    if (e == 0 && !staging.name.empty())
        staging.name.clear(); // published: the name is the target's now
    Discard(staging);
    return e;
}

struct NodeJob {
    const std::string* src;
    const struct stat* st;
    bool replace;
};

int CopyNode(const std::string& dst, void* context) {
    auto* job = static_cast<NodeJob*>(context);
    const struct stat& st = *job->st;
    std::string temp;
    int e = EEXIST;
    for (int attempt = 0; attempt < 100 && e == EEXIST; ++attempt) {
        temp = TemporaryNameIn(ParentDirectoryOf(dst));
        int r;
        if (S_ISLNK(st.st_mode)) {
            std::vector<char> target(static_cast<size_t>(st.st_size) + 2);
            ssize_t n;
            // The link may change between the status and the read.
            while ((n = ::readlink(job->src->c_str(), target.data(), target.size())) >= 0 &&
                   static_cast<size_t>(n) >= target.size())
                target.resize(target.size() * 2);
            if (n < 0)
                return errno;
            r = ::symlink(std::string(target.data(), static_cast<size_t>(n)).c_str(), temp.c_str());
        } else if (S_ISFIFO(st.st_mode)) {
            r = ::mkfifo(temp.c_str(), st.st_mode & 07777);
        } else {
            r = ::mknod(temp.c_str(), st.st_mode, st.st_rdev);
        }
        e = r == 0 ? 0 : errno;
    }
    if (e != 0)
        return e;
    if (!S_ISLNK(st.st_mode))
        ::chmod(temp.c_str(), st.st_mode & 07777);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, temp.c_str(), times, AT_SYMLINK_NOFOLLOW);
    return PublishNamed(temp, dst, job->replace);
}

} // namespace

ScopedCopyObserver::ScopedCopyObserver(CopyObserver* observer) : previous_(tObserver) {
    tObserver = observer;
}

ScopedCopyObserver::~ScopedCopyObserver() { tObserver = previous_; }

int CopyNonDirectory(const std::string& src, const struct stat& st, const std::string& dst,
                     bool replace) {
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode)) {
        NodeJob job{&src, &st, replace};
        return WithParent(dst, CopyNode, &job);
    }
    // Never follow a link that took the file's place since it was listed.
    int in = ::open(src.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat now{};
    int e = ::fstat(in, &now) != 0 ? errno : S_ISREG(now.st_mode) ? 0 : EINVAL;
    if (e != 0) {
        ::close(in);
        return e;
    }
    FileJob job{in, &now, replace};
    e = WithParent(dst, CopyRegular, &job);
    ::close(in);
    return e;
}

} // namespace orvo
