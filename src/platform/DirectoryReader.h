#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace orvo {

// One entry as the directory reader reports it. Like FileStatus, a link
// reports what it points to; mode is 0 for a link that leads nowhere.
struct DirectoryEntry {
    std::string_view name; // valid during the callback only
    mode_t mode = 0;
    bool isLink = false;
    uint64_t size = 0;
    std::time_t modified = 0;

    bool IsDirectory() const { return (mode & S_IFMT) == S_IFDIR; }
};

// Calls visit for every entry of the directory except "." and "..", in the
// order the file system returns them. Returns false (without calling
// visit) when the directory cannot be opened. An entry that vanishes while
// it is read is left out; one whose details cannot be read (a directory we
// may list but not enter) is still reported, with what its name tells.
bool ForEachDirectoryEntry(const std::string& directory,
                           const std::function<void(const DirectoryEntry&)>& visit);

} // namespace orvo
