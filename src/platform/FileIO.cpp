#include "platform/FileIO.h"

#include "platform/PathText.h"
#include "platform/SaveTarget.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

FileError::FileError(const std::string& path, int error, const std::string& action)
    : std::runtime_error("Cannot " + action + " \"" + path + "\": " + std::strerror(error)),
      path_(path), error_(error) {}

std::string ReadWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(path, errno, "open");
    std::string data;
    struct stat st{};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        data.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int e = errno;
            ::close(fd);
            throw FileError(path, e, "read");
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
}

namespace {

std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".orvo-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

namespace {

// An unnamed file in path's directory, or -1 where the file system has no
// O_TMPFILE. Written unnamed, a save killed half-way leaves nothing behind.
int OpenUnnamedBeside(const std::string& path) {
    std::string directory = ParentDirectoryOf(path);
    return ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the unnamed file fd a temporary name beside path; false when the
// kernel refuses (then the caller writes a named file instead).
bool NameUnnamed(int fd, const std::string& path, std::string& temp) {
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryNameFor(path);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

int OpenNamed(const std::string& path, std::string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryNameFor(path);
        // 0666 lets the umask decide, as for any new file the user makes.
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            throw FileError(path, errno, "write");
    }
    throw FileError(path, EEXIST, "write");
}

} // namespace

void WriteFileAtomically(const std::string& named, std::string_view bytes, bool durable,
                         ReadOnlyFiles readOnly) {
    const SaveTarget target = ResolveSaveTarget(named);
    switch (target.state) {
    case SaveTarget::State::Unreachable:
        throw FileError(named, target.error, "write");
    case SaveTarget::State::NotAFile: {
        struct stat st{};
        const bool directory = ::stat(target.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        throw FileError(named, directory ? EISDIR : EINVAL, "write");
    }
    case SaveTarget::State::ReadOnly:
        if (readOnly == ReadOnlyFiles::Refuse)
            throw FileError(named, EACCES, "replace the read-only file");
        break;
    case SaveTarget::State::New:
    case SaveTarget::State::Writable:
        break;
    }
    const std::string& path = target.path;
    std::string temp;
    int fd = OpenUnnamedBeside(path);
    bool unnamed = fd >= 0;
    if (!unnamed)
        fd = OpenNamed(path, temp);

    struct stat old{};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);

    bool ok = WriteAll(fd, bytes) && (!durable || ::fdatasync(fd) == 0);
    int e = errno;
    if (ok && unnamed && !NameUnnamed(fd, path, temp)) {
        // No /proc, or a file system that cannot link an unnamed file:
        // write it again the plain way.
        ::close(fd);
        fd = OpenNamed(path, temp);
        ok = WriteAll(fd, bytes) && (!durable || ::fdatasync(fd) == 0);
        e = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        e = errno;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        e = errno;
    }
    if (!ok) {
        if (!temp.empty())
            ::unlink(temp.c_str());
        throw FileError(named, e, "write");
    }
}

} // namespace orvo
