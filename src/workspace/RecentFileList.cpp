#include "workspace/RecentFileList.h"

#include <algorithm>

namespace orvo {

void RecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    Remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kCapacity)
        entries_.resize(kCapacity);
}

void RecentFileList::Remove(const std::string& path) {
    std::erase(entries_, path);
}

void RecentFileList::Assign(const std::vector<std::string>& paths) {
    entries_.clear();
    // Added oldest first, so the first path ends up first.
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        Add(*it);
}

} // namespace orvo
