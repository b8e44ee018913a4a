#include "fileops/OpenDirectory.h"

#include <fcntl.h>
#include <unistd.h>

namespace orvo {

int OpenDirectory::Of(std::string_view directory) {
    if (tried_ && directory == path_)
        return fd_;
    Close();
    path_.assign(directory);
    tried_ = true;
    fd_ = ::open(path_.empty() ? "/" : path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd_;
}

int OpenDirectory::ParentOf(const std::string& path, const char** name) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        *name = path.c_str();
        return -1;
    }
    *name = path.c_str() + slash + 1;
    return Of(std::string_view(path.data(), slash));
}

void OpenDirectory::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    tried_ = false;
}

} // namespace orvo
