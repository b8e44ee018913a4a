#pragma once

#include <string>
#include <sys/stat.h>

namespace orvo {

// A directory itself, not a link to one: what a tree walk enters.
inline bool IsRealDirectory(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace orvo
