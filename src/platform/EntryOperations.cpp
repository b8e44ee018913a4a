#include "platform/EntryOperations.h"

#include "platform/EntryChecks.h"
#include "platform/FileCopy.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

thread_local int tLastError = 0;

bool Fail(int error) {
    tLastError = error;
    return false;
}

bool IsHiddenName(std::string_view name) {
    return !name.empty() && name.front() == '.';
}

bool IsSpecial(mode_t mode) {
    return !S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode);
}

bool IsProtected(const std::string& path, const struct stat& st) {
    bool readOnly = !S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR);
    return readOnly || IsSpecial(st.st_mode) || IsHiddenName(FileNameOf(path));
}

// The directory part of a copy or a move: dst becomes a directory that
// keeps src's permission bits, writable by its owner so the contents can
// follow.
bool MakeDirectoryLike(const struct stat& st, const std::string& dst) {
    mode_t mode = (st.st_mode & 07777) | S_IRWXU;
    int r = ::mkdir(dst.c_str(), mode);
    if (r != 0 && errno == ENOENT) {
        if (!CreateDirChain(ParentDirectoryOf(dst)))
            return false;
        r = ::mkdir(dst.c_str(), mode);
    }
    int e = r == 0 ? 0 : errno;
    // An existing directory is fine; an existing file or link is not.
    if (IsRealDirectory(dst))
        return true;
    return Fail(e == 0 || e == EEXIST ? ENOTDIR : e);
}

// Refusals common to copy and move when dst is there already.
bool MayReplace(const std::string& dst, bool failIfExists, bool keepProtected) {
    if (!failIfExists && !keepProtected)
        return true;
    struct stat st {};
    if (::lstat(dst.c_str(), &st) != 0)
        return true;
    if (failIfExists)
        return Fail(EEXIST);
    return !IsProtected(dst, st) || Fail(EACCES);
}

} // namespace

int LastEntryError() {
    return tLastError;
}
void SetLastEntryError(int error) {
    tLastError = error;
}

bool IsProtectedEntry(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && IsProtected(path, st);
}

bool CreateDirChain(const std::string& path) {
    std::string p = StripTrailingSlash(path);
    if (p.empty() || p == "/" || p == ".")
        return true;
    if (::mkdir(p.c_str(), 0777) == 0)
        return true;
    int e = errno;
    if (e == ENOENT) {
        if (!CreateDirChain(ParentDirectoryOf(p)))
            return false;
        if (::mkdir(p.c_str(), 0777) == 0)
            return true;
        e = errno;
    }
    struct stat st {};
    if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return true; // there already (or made by someone else meanwhile)
    return Fail(e == EEXIST ? ENOTDIR : e);
}

namespace {

enum class Start { Done, Failed, Go };

// What copy and move share: a directory only makes its target, and an
// existing target may refuse.
Start Prepare(const std::string& src, const std::string& dst, bool failIfExists, bool keepProtected,
              struct stat& st) {
    if (::lstat(src.c_str(), &st) != 0) {
        Fail(errno);
        return Start::Failed;
    }
    if (S_ISDIR(st.st_mode))
        return MakeDirectoryLike(st, dst) ? Start::Done : Start::Failed;
    return MayReplace(dst, failIfExists, keepProtected) ? Start::Go : Start::Failed;
}

} // namespace

bool CopyEntry(const std::string& src, const std::string& dst, bool failIfExists,
               bool keepProtected) {
    struct stat st {};
    if (Start s = Prepare(src, dst, failIfExists, keepProtected, st); s != Start::Go)
        return s == Start::Done;
    int e = CopyNonDirectory(src, st, dst, !failIfExists);
    return e == 0 || Fail(e);
}

namespace {

// rename replaces dst in one step, so a failure leaves it unharmed; across
// file systems the source goes only once its copy is in place.
bool RenameEntry(const std::string& src, const struct stat& st, const std::string& dst,
                 bool failIfExists, bool* sourceLeft) {
    auto attempt = [&] {
        return failIfExists
                   ? ::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE)
                   : ::rename(src.c_str(), dst.c_str());
    };
    int r = attempt();
    if (r != 0 && errno == ENOENT && PathExists(src) && CreateDirChain(ParentDirectoryOf(dst)))
        r = attempt();
    if (r == 0)
        return true;
    if (errno != EXDEV)
        return Fail(errno);
    if (int e = CopyNonDirectory(src, st, dst, !failIfExists))
        return Fail(e);
    if (sourceLeft) {
        *sourceLeft = true;
        return true;
    }
    return ::unlink(src.c_str()) == 0 || Fail(errno);
}

} // namespace

bool MoveEntry(const std::string& src, const std::string& dst, bool failIfExists,
               bool keepProtected, bool* sourceLeft) {
    struct stat st {};
    if (Start s = Prepare(src, dst, failIfExists, keepProtected, st); s != Start::Go)
        return s == Start::Done;
    return RenameEntry(src, st, dst, failIfExists, sourceLeft);
}

int MakeDirectoryAt(int targetDirectory, const char* name, const struct stat& source, bool& made) {
    made = ::mkdirat(targetDirectory, name, (source.st_mode & 07777) | S_IRWXU) == 0;
    int e = made ? 0 : errno;
    if (!made && e != EEXIST) {
        Fail(e);
        return -1;
    }
    // O_NOFOLLOW: a link in the directory's place (there before, or swapped
    // in since) is never written through.
    int fd = ::openat(targetDirectory, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == EACCES && !made)
        fd = ::openat(targetDirectory, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        Fail(errno == ELOOP ? ENOTDIR : errno);
    return fd;
}

void SetDirectoryAttributes(int directory, const struct stat& source) {
    struct timespec times[2] = {source.st_atim, source.st_mtim};
    // Where the file system cannot keep them, the directory is still whole.
    ::fchmod(directory, source.st_mode & 07777);
    ::futimens(directory, times);
}

bool MoveEntryAt(int sourceDirectory, const char* sourceName, int targetDirectory,
                 const char* targetName, uint64_t& size, bool& sourceLeft) {
    sourceLeft = false;
    struct stat st {};
    if (::fstatat(sourceDirectory, sourceName, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Fail(errno);
    size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    if (S_ISDIR(st.st_mode))
        return Fail(EISDIR);
    if (::renameat(sourceDirectory, sourceName, targetDirectory, targetName) == 0)
        return true;
    if (errno != EXDEV)
        return Fail(errno);
    if (int e = CopyEntryAt(sourceDirectory, sourceName, targetDirectory, targetName, true, size))
        return Fail(e);
    sourceLeft = true;
    return true;
}

bool DeleteEntry(const std::string& path, bool allowReadOnly, bool allowSystem, bool allowHidden) {
    // Everything allowed: unlink itself refuses a directory (EISDIR), and
    // nothing needs to be looked at first.
    if (allowReadOnly && allowSystem && allowHidden)
        return ::unlink(path.c_str()) == 0 || Fail(errno);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return Fail(errno);
    if (S_ISDIR(st.st_mode))
        return Fail(EISDIR);
    if (!allowReadOnly && !S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        return Fail(EACCES);
    if (!allowSystem && IsSpecial(st.st_mode))
        return Fail(EACCES);
    if (!allowHidden && IsHiddenName(FileNameOf(path)))
        return Fail(EACCES);
    // Removing an entry needs the directory's write permission only, so the
    // entry's own bits are left as they are.
    return ::unlink(path.c_str()) == 0 || Fail(errno);
}

} // namespace orvo
