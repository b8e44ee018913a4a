#include "platform/SaveTarget.h"

#include "platform/PathText.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvo {

namespace {

// The same bound the kernel puts on a path's links.
constexpr int kMostLinks = 40;

bool ReadLink(const std::string& path, std::string& target) {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (static_cast<size_t>(n) < buffer.size()) {
            target.assign(buffer.data(), static_cast<size_t>(n));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

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
        std::string next;
        if (links >= kMostLinks || !ReadLink(result.path, next) || next.empty()) {
            result.error = links >= kMostLinks ? ELOOP : next.empty() ? ENOENT : errno;
            result.state = SaveTarget::State::Unreachable;
            return result;
        }
        result.throughLink = true;
        result.path = next.front() == '/' ? next : JoinPath(ParentDirectoryOf(result.path), next);
    }
}

} // namespace orvo
