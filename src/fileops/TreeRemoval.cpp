#include "fileops/TreeRemoval.h"

#include "platform/PathText.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvo {

namespace {

// The names in an open directory; the directory stays open on fd.
bool ReadNames(int fd, std::vector<std::string>& names) {
    int copy = ::dup(fd);
    if (copy < 0)
        return false;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return false;
    }
    while (dirent* e = ::readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    ::closedir(dir);
    return true;
}

bool RemoveAt(int parent, const std::string& name) {
    struct stat st {};
    if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(parent, name.c_str(), 0) == 0 || errno == ENOENT;
    int fd = ::openat(parent, name.c_str(),
                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        // Replaced by a link (or a file) since the look: that is removed
        // as it is now, never entered.
        if (errno == ELOOP || errno == ENOTDIR)
            return ::unlinkat(parent, name.c_str(), 0) == 0;
        return false;
    }
    std::vector<std::string> names;
    bool ok = ReadNames(fd, names);
    for (const std::string& child : names)
        ok = RemoveAt(fd, child) && ok;
    ::close(fd);
    return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

} // namespace

bool RemoveEntryTree(const std::string& root) {
    std::string path = StripTrailingSlash(root);
    std::string name(FileNameOf(path));
    if (name.empty() || name == "." || name == "..")
        return false;
    std::string parentPath = ParentDirectoryOf(path);
    int parent = ::open(parentPath.empty() ? "." : parentPath.c_str(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return false;
    bool ok = RemoveAt(parent, name);
    ::close(parent);
    return ok;
}

} // namespace orvo
