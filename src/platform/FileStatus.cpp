#include "platform/FileStatus.h"

#include "platform/OleDate.h"
#include "platform/PathText.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace orvo {

void WriteAttributeText(std::string_view name, mode_t mode, char out[4]) {
    bool resolved = mode != 0;
    out[0] = resolved && !(mode & S_IWUSR) ? 'r' : '-';
    out[1] = S_ISREG(mode) ? 'a' : '-';
    out[2] = !name.empty() && name.front() == '.' ? 'h' : '-';
    out[3] = resolved && !S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode) ? 's' : '-';
}

std::string AttributeText(std::string_view name, mode_t mode) {
    char letters[4];
    WriteAttributeText(name, mode, letters);
    return std::string(letters, 4);
}

namespace {

double OleOf(const struct statx_timestamp& t) {
    return TimeToLocalOleDate(static_cast<std::time_t>(t.tv_sec));
}

} // namespace

FileStatus GetFileStatus(const std::string& path) {
    FileStatus status;
    const unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
    struct statx link {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, mask, &link) != 0)
        return status;
    status.exists = true;
    status.isSymlink = S_ISLNK(link.stx_mode);

    struct statx target = link;
    bool resolved = true;
    if (status.isSymlink)
        resolved = ::statx(AT_FDCWD, path.c_str(), 0, mask, &target) == 0;
    if (!resolved)
        target = link; // a dangling link: report the link itself
    status.mode = resolved ? target.stx_mode : 0;
    status.isDirectory = resolved && S_ISDIR(target.stx_mode);
    status.isRegular = resolved && S_ISREG(target.stx_mode);
    status.size = target.stx_size;
    status.modified = OleOf(target.stx_mtime);
    status.accessed = OleOf(target.stx_atime);
    status.created = (target.stx_mask & STATX_BTIME) ? OleOf(target.stx_btime) : status.modified;
    status.attributes = AttributeText(FileNameOf(StripTrailingSlash(path)), status.mode);
    return status;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~mode_t{S_IWUSR | S_IWGRP | S_IWOTH}) : (mode | S_IWUSR);
    return mode == (st.st_mode & 07777) || ::chmod(path.c_str(), mode) == 0;
}

bool ClearAttributes(const std::string& path) {
    // A link has no permissions of its own; clearing must not reach through
    // it and change what it points to.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return true;
    return SetReadOnly(path, false);
}

} // namespace orvo
