#include "platform/FileCopy.h"

#include "platform/EntryOperations.h"
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

// Whether linkat may name an unnamed file by its descriptor alone (it
// needs a capability, or a recent kernel); else it goes through /proc.
std::atomic<int> gEmptyPathLink{-1}; // -1 unknown, 0 no, 1 yes

// The process's umask as the kernel reports it, -1 when it cannot tell.
// Reading it with umask() would change it for other threads meanwhile.
int ProcessUmask() {
    static const int mask = [] {
        std::FILE* f = std::fopen("/proc/self/status", "r");
        if (!f)
            return -1;
        char line[256];
        int value = -1;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "Umask: %o", &value) == 1)
                break;
        std::fclose(f);
        return value;
    }();
    return mask;
}

// Whether a file created with these bits still needs them set.
bool NeedsChmod(mode_t mode) {
    int mask = ProcessUmask();
    return mask < 0 || (mode & 07000) || (mode & 0777 & static_cast<mode_t>(mask));
}

// Where the copy is written until it is complete: an unnamed file of the
// target's directory when the file system offers one (nothing to clean up
// even if the program dies), else a hidden name beside the target.
struct Staging {
    int fd = -1;
    std::string name; // empty for an unnamed file
};

int OpenStaging(const std::string& directory, mode_t mode, Staging& staging) {
#ifdef O_TMPFILE
    if (ProcFdUsable() || gEmptyPathLink == 1) {
        int fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
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
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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
        struct stat st {};
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

// Gives an unnamed staged file the name path.
int LinkStaging(const Staging& staging, const std::string& path) {
    if (gEmptyPathLink != 0) {
        if (::linkat(staging.fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) {
            gEmptyPathLink = 1;
            return 0;
        }
        int e = errno;
        if (gEmptyPathLink == 1 || !(e == ENOENT || e == EPERM || e == EINVAL))
            return e;
        gEmptyPathLink = 0; // not allowed here: through /proc from now on
    }
    std::string self = "/proc/self/fd/" + std::to_string(staging.fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                            : errno;
}

int PublishStaging(Staging& staging, const std::string& dst, bool replace) {
    if (!staging.name.empty())
        return PublishNamed(staging.name, dst, replace);
    int e = LinkStaging(staging, dst);
    if (e != EEXIST || !replace)
        return e;
    // Replacing: give the copy a name first, then rename it over the old.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryNameIn(ParentDirectoryOf(dst));
        e = LinkStaging(staging, temp);
        if (e == 0)
            return PublishNamed(temp, dst, true);
        if (e != EEXIST)
            return e;
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
// move the data; where it cannot, plain reads and writes follow. The copy
// is of the file as large as it was when opened; a size of 0 (as files of
// the kernel's own report) reads to the end.
int CopyData(int in, int out, uint64_t size) {
    uint64_t done = 0;
    for (;;) {
        if (size > 0 && done >= size)
            return 0;
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
    const mode_t mode = job->st->st_mode & 07777;
    if (int e = OpenStaging(ParentDirectoryOf(dst), mode, staging))
        return e;
    int e = CopyData(job->in, staging.fd, static_cast<uint64_t>(job->st->st_size));
    if (e == 0 && NeedsChmod(mode) && ::fchmod(staging.fd, mode) != 0)
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

ScopedCopyObserver::~ScopedCopyObserver() {
    tObserver = previous_;
}

int CopyNonDirectory(const std::string& src, const struct stat& st, const std::string& dst,
                     bool replace) {
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode)) {
        NodeJob job{&src, &st, replace};
        return WithParent(dst, CopyNode, &job);
    }
    uint64_t size = 0;
    return CopyFileEntry(src, dst, replace, size);
}

int CopyFileEntry(const std::string& src, const std::string& dst, bool replace, uint64_t& size) {
    // Never follow a link that took the file's place since it was listed;
    // O_NONBLOCK keeps a FIFO from waiting for a writer.
    int in = ::open(src.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (in < 0 && errno != ELOOP)
        return errno;
    struct stat st {};
    if (in >= 0 && ::fstat(in, &st) == 0 && S_ISREG(st.st_mode)) {
        size = static_cast<uint64_t>(st.st_size);
        FileJob job{in, &st, replace};
        int e = WithParent(dst, CopyRegular, &job);
        ::close(in);
        return e;
    }
    if (in >= 0)
        ::close(in);
    // Not a plain file after all: a link, a node or a directory.
    if (::lstat(src.c_str(), &st) != 0)
        return errno;
    size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    NodeJob job{&src, &st, replace};
    return WithParent(dst, CopyNode, &job);
}

int CopyFileAt(int sourceDirectory, const std::string& src, int targetDirectory,
               const std::string& dst, uint64_t& size) {
#ifdef O_TMPFILE
    // Only where an unnamed file can be named by its descriptor: the rest
    // is the general way, by paths.
    if (gEmptyPathLink == 1 && sourceDirectory >= 0 && targetDirectory >= 0) {
        const char* srcName = src.c_str() + src.rfind('/') + 1;
        const char* dstName = dst.c_str() + dst.rfind('/') + 1;
        int in = ::openat(sourceDirectory, srcName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (in >= 0 && ::fstat(in, &st) == 0 && S_ISREG(st.st_mode)) {
            const mode_t mode = st.st_mode & 07777;
            Staging staging;
            staging.fd = ::openat(targetDirectory, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            if (staging.fd >= 0) {
                size = static_cast<uint64_t>(st.st_size);
                int e = CopyData(in, staging.fd, size);
                ::close(in);
                if (e == 0 && NeedsChmod(mode) && ::fchmod(staging.fd, mode) != 0)
                    e = errno;
                if (e == 0) {
                    struct timespec times[2] = {st.st_atim, st.st_mtim};
                    ::futimens(staging.fd, times);
                    if (::linkat(staging.fd, "", targetDirectory, dstName, AT_EMPTY_PATH) != 0)
                        e = errno == EEXIST ? PublishStaging(staging, dst, true) : errno;
                }
                Discard(staging);
                return e;
            }
        }
        if (in >= 0)
            ::close(in);
    }
#endif
    return CopyFileEntry(src, dst, true, size);
}

} // namespace orvo
