#include "fileops/EntryRename.h"

#include "comments/PathComments.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace orvo {

namespace {

bool SameEntry(const std::string& a, const std::string& b) {
    struct stat sa {}, sb{};
    return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 &&
           sa.st_ino == sb.st_ino && sa.st_dev == sb.st_dev;
}

bool RenameNoReplace(const std::string& oldPath, const std::string& newPath) {
    // Checked and renamed in one step, so an entry that appears meanwhile
    // is not overwritten either.
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST && !SameEntry(oldPath, newPath))
        return false;
    if (errno != EEXIST && errno != EINVAL && errno != ENOSYS)
        return false;
    // The same entry under another letter case, or a file system without
    // the flag: an ordinary rename after the check.
    struct stat st {};
    if (::lstat(newPath.c_str(), &st) == 0 && !SameEntry(oldPath, newPath)) {
        errno = EEXIST;
        return false;
    }
    return std::rename(oldPath.c_str(), newPath.c_str()) == 0;
}

} // namespace

bool RenameWithComment(const std::string& oldPath, const std::string& newPath) {
    if (oldPath == newPath) {
        errno = EEXIST;
        return false;
    }
    std::string comment = GetComment(oldPath);
    if (!RenameNoReplace(oldPath, newPath))
        return false;
    // Stored under the new name before the old entry goes, so a comment
    // file that cannot be written keeps it where it was.
    if (!comment.empty() && SetComment(newPath, comment))
        TakeComment(oldPath);
    return true;
}

} // namespace orvo
