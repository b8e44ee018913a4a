#include "fileops/WalkedTree.h"

#include "fileops/CTreeFinder.h"
#include "platform/PathText.h"

namespace orvo {

void WalkedTree::Reset(const std::string& root) {
    directories_.assign(1, root);
    levels_.assign(2, 0);
    entries_.clear();
}

void WalkedTree::Add(const CTreeFinder& finder, uint64_t size) {
    size_t depth = static_cast<size_t>(finder.Depth());
    uint32_t directory = depth < levels_.size() ? levels_[depth] : 0;
    bool isDirectory = finder.IsDirectory();
    uint32_t contents = static_cast<uint32_t>(directories_.size());
    entries_.push_back(
        {directory, isDirectory ? contents : 0, isDirectory, false, size, finder.GetFileName()});
    if (isDirectory) {
        // Its contents follow at the next depth.
        levels_.resize(depth + 2);
        levels_[depth + 1] = contents;
        directories_.push_back(JoinPath(directories_[directory], finder.GetFileName()));
    }
}

std::string WalkedTree::PathOf(const Entry& e) const {
    return JoinPath(directories_[e.directory], e.name);
}

std::vector<std::string> WalkedTree::GoneNamesIn(uint32_t directory) const {
    std::vector<std::string> names;
    for (const Entry& e : entries_)
        if (e.gone && e.directory == directory)
            names.push_back(e.name);
    return names;
}

} // namespace orvo
