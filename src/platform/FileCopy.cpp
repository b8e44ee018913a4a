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

std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    return ".orvo-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
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

// Everything below works by names in open directories: a name is looked up
// in the directory the caller holds, never through a path that a link
// swapped in meanwhile could send elsewhere.

// Where the copy is written until it is complete: an unnamed file of the
// target's directory when the file system offers one (nothing to clean up
// even if the program dies), else a hidden name beside the target.
struct Staging {
    int directory = -1;
    int fd = -1;
    std::string name; // empty for an unnamed file
};

int OpenStaging(int directory, mode_t mode, Staging& staging) {
    staging.directory = directory;
#ifdef O_TMPFILE
    if (ProcFdUsable() || gEmptyPathLink == 1) {
        int fd = ::openat(directory, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
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
        std::string name = TemporaryName();
        int fd = ::openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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

// Puts a complete staged entry (named temp in directory) in place of name.
int PublishNamed(int directory, const std::string& temp, const char* name, bool replace) {
    if (::renameat2(directory, temp.c_str(), directory, name, RENAME_NOREPLACE) == 0)
        return 0;
    int e = errno;
    if (e == EINVAL || e == ENOSYS) {
        // No atomic no-replace here: check, then rename.
        struct stat st {};
        e = ::fstatat(directory, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? EEXIST : 0;
        if (e == 0 && ::renameat(directory, temp.c_str(), directory, name) == 0)
            return 0;
        if (e == 0)
            e = errno;
    }
    if (e == EEXIST && replace) {
        // rename replaces an entry (a link included) without following it.
        if (::renameat(directory, temp.c_str(), directory, name) == 0)
            return 0;
        e = errno;
    }
    ::unlinkat(directory, temp.c_str(), 0);
    return e;
}

// Gives an unnamed staged file a name in its directory.
int LinkStaging(const Staging& staging, const char* name) {
    if (gEmptyPathLink != 0) {
        if (::linkat(staging.fd, "", staging.directory, name, AT_EMPTY_PATH) == 0) {
            gEmptyPathLink = 1;
            return 0;
        }
        int e = errno;
        if (gEmptyPathLink == 1 || !(e == ENOENT || e == EPERM || e == EINVAL))
            return e;
        gEmptyPathLink = 0; // not allowed here: through /proc from now on
    }
    std::string self = "/proc/self/fd/" + std::to_string(staging.fd);
    return ::linkat(AT_FDCWD, self.c_str(), staging.directory, name, AT_SYMLINK_FOLLOW) == 0
               ? 0
               : errno;
}

int PublishStaging(Staging& staging, const char* name, bool replace) {
    if (!staging.name.empty())
        return PublishNamed(staging.directory, staging.name, name, replace);
    int e = LinkStaging(staging, name);
    if (e != EEXIST || !replace)
        return e;
    // Replacing: give the copy a name first, then rename it over the old.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryName();
        e = LinkStaging(staging, temp.c_str());
        if (e == 0)
            return PublishNamed(staging.directory, temp, name, true);
        if (e != EEXIST)
            return e;
    }
    return EEXIST;
}

void Discard(Staging& staging) {
    if (staging.fd >= 0)
        ::close(staging.fd);
    if (!staging.name.empty())
        ::unlinkat(staging.directory, staging.name.c_str(), 0);
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

int CopyRegular(int in, const struct stat& st, int directory, const char* name, bool replace) {
    Staging staging;
    const mode_t mode = st.st_mode & 07777;
    if (int e = OpenStaging(directory, mode, staging))
        return e;
    int e = CopyData(in, staging.fd, static_cast<uint64_t>(st.st_size));
    if (e == 0 && NeedsChmod(mode) && ::fchmod(staging.fd, mode) != 0)
        e = errno;
    if (e == 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
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
        e = PublishStaging(staging, name, replace);
    if (e == 0 && !staging.name.empty())
        staging.name.clear(); // published: the name is the target's now
    Discard(staging);
    return e;
}

int CopyNode(int sourceDirectory, const char* sourceName, const struct stat& st, int directory,
             const char* name, bool replace) {
    std::string temp;
    int e = EEXIST;
    for (int attempt = 0; attempt < 100 && e == EEXIST; ++attempt) {
        temp = TemporaryName();
        int r;
        if (S_ISLNK(st.st_mode)) {
            std::vector<char> target(static_cast<size_t>(st.st_size) + 2);
            ssize_t n;
            // The link may change between the status and the read.
            while ((n = ::readlinkat(sourceDirectory, sourceName, target.data(), target.size())) >=
                       0 &&
                   static_cast<size_t>(n) >= target.size())
                target.resize(target.size() * 2);
            if (n < 0)
                return errno;
            r = ::symlinkat(std::string(target.data(), static_cast<size_t>(n)).c_str(), directory,
                            temp.c_str());
        } else if (S_ISFIFO(st.st_mode)) {
            r = ::mkfifoat(directory, temp.c_str(), st.st_mode & 07777);
        } else {
            r = ::mknodat(directory, temp.c_str(), st.st_mode, st.st_rdev);
        }
        e = r == 0 ? 0 : errno;
    }
    if (e != 0)
        return e;
    if (!S_ISLNK(st.st_mode))
        ::fchmodat(directory, temp.c_str(), st.st_mode & 07777, 0);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(directory, temp.c_str(), times, AT_SYMLINK_NOFOLLOW);
    return PublishNamed(directory, temp, name, replace);
}

// The directory holding path, opened for looking names up in it (an
// O_PATH descriptor needs no read permission); a missing one is made when
// create is set.
int OpenParent(const std::string& path, bool create) {
    std::string parent = ParentDirectoryOf(path);
    const char* p = parent.empty() ? "/" : parent.c_str();
    int fd = ::open(p, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && create && CreateDirChain(parent))
        fd = ::open(p, O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? -errno : fd;
}

const char* NameIn(const std::string& path) {
    size_t slash = path.rfind('/');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

// The path forms: both parents opened, then the names copied between them.
int CopyByPaths(const std::string& src, const std::string& dst, bool replace, uint64_t& size) {
    int in = OpenParent(src, false);
    if (in < 0)
        return -in;
    int out = OpenParent(dst, true);
    if (out < 0) {
        ::close(in);
        return -out;
    }
    int e = CopyEntryAt(in, NameIn(src), out, NameIn(dst), replace, size);
    ::close(in);
    ::close(out);
    return e;
}

} // namespace

ScopedCopyObserver::ScopedCopyObserver(CopyObserver* observer) : previous_(tObserver) {
    tObserver = observer;
}

ScopedCopyObserver::~ScopedCopyObserver() {
    tObserver = previous_;
}

int CopyEntryAt(int sourceDirectory, const char* sourceName, int targetDirectory,
                const char* targetName, bool replace, uint64_t& size) {
    size = 0;
    // Never follow a link that took the file's place since it was listed;
    // O_NONBLOCK keeps a FIFO from waiting for a writer.
    int in = ::openat(sourceDirectory, sourceName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (in < 0 && errno != ELOOP)
        return errno;
    struct stat st {};
    if (in >= 0 && ::fstat(in, &st) == 0 && S_ISREG(st.st_mode)) {
        size = static_cast<uint64_t>(st.st_size);
        int e = CopyRegular(in, st, targetDirectory, targetName, replace);
        ::close(in);
        return e;
    }
    if (in >= 0)
        ::close(in);
    // Not a plain file after all: a link, a node or a directory.
    if (::fstatat(sourceDirectory, sourceName, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    size = static_cast<uint64_t>(st.st_size);
    return CopyNode(sourceDirectory, sourceName, st, targetDirectory, targetName, replace);
}

int CopyNonDirectory(const std::string& src, const struct stat& st, const std::string& dst,
                     bool replace) {
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    uint64_t size = 0;
    return CopyByPaths(src, dst, replace, size);
}

int CopyFileEntry(const std::string& src, const std::string& dst, bool replace, uint64_t& size) {
    return CopyByPaths(src, dst, replace, size);
}

int CopyFileAt(int sourceDirectory, const std::string& src, int targetDirectory,
               const std::string& dst, uint64_t& size) {
    if (sourceDirectory >= 0 && targetDirectory >= 0)
        return CopyEntryAt(sourceDirectory, NameIn(src), targetDirectory, NameIn(dst), true, size);
    return CopyFileEntry(src, dst, true, size);
}

int SyncFileSystemOf(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    int e = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return e;
}

} // namespace orvo
