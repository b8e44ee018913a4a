#include "platform/DirectoryReader.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

mode_t ModeOfType(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return S_IFDIR;
    case DT_REG:
        return S_IFREG;
    case DT_LNK:
        return S_IFLNK;
    case DT_FIFO:
        return S_IFIFO;
    case DT_SOCK:
        return S_IFSOCK;
    case DT_CHR:
        return S_IFCHR;
    case DT_BLK:
        return S_IFBLK;
    default:
        return 0;
    }
}

} // namespace

bool ForEachDirectoryEntry(const std::string& directory,
                           const std::function<void(const DirectoryEntry&)>& visit) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    while (struct dirent* d = ::readdir(dir)) {
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        DirectoryEntry entry;
        entry.name = name;
        struct stat st {};
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue;
            entry.mode = ModeOfType(d->d_type);
            entry.isLink = entry.mode == S_IFLNK;
            if (entry.isLink)
                entry.mode = 0;
            visit(entry);
            continue;
        }
        if (S_ISLNK(st.st_mode)) {
            entry.isLink = true;
            struct stat target {};
            if (::fstatat(fd, name, &target, 0) == 0) {
                st = target;
            } else {
                st.st_mode = 0;
            }
        }
        entry.mode = st.st_mode;
        entry.size = static_cast<uint64_t>(st.st_size);
        entry.modified = st.st_mtime;
        visit(entry);
    }
    ::closedir(dir);
    return true;
}

} // namespace orvo
