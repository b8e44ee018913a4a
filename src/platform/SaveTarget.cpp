#include "platform/SaveTarget.h"

#include "platform/Shortcut.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvo {

namespace {

// The same bound the kernel puts on a path's links.
constexpr int kMostLinks = 40;

bool IsReadOnly(const std::string& path, const struct stat& st) {
    // The superuser may write anything, so access() alone would never call a
    // file read-only for them; the missing write bits still say what its
    // owner meant.
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

} // namespace

SaveTarget ResolveSaveTarget(const std::string& path) {
    SaveTarget result;
    result.path = path;
    for (int links = 0;; ++links) {
        struct stat st{};
        if (::lstat(result.path.c_str(), &st) != 0) {
            result.error = errno;
            result.state = errno == ENOENT ? SaveTarget::State::New
                                           : SaveTarget::State::Unreachable;
            return result;
        }
        if (!S_ISLNK(st.st_mode)) {
            if (!S_ISREG(st.st_mode))
                result.state = SaveTarget::State::NotAFile;
            else if (IsReadOnly(result.path, st))
                result.state = SaveTarget::State::ReadOnly;
            else
                result.state = SaveTarget::State::Writable;
            return result;
        }
        errno = 0;
        std::string next = links < kMostLinks ? ResolveShortcut(result.path) : std::string();
        if (next.empty()) {
            result.error = links >= kMostLinks ? ELOOP : errno != 0 ? errno : ENOENT;
            result.state = SaveTarget::State::Unreachable;
            return result;
        }
        result.throughLink = true;
        result.path = std::move(next);
    }
}

} // namespace orvo
