#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

class CTreeFinder;

// A tree's entries as one walk found them, every directory before its
// contents, kept compactly: each entry is its name and the directory it
// is in, so a tree of a million entries costs no million full paths.
class WalkedTree {
public:
    struct Entry {
        uint32_t directory; // index into the directories: where it is
        uint32_t contents;  // a directory's own index
        bool isDirectory;
        bool gone = false; // removed by this run
        uint64_t size;
        std::string name;
    };

    // Starts afresh for the tree under root (directory 0).
    void Reset(const std::string& root);
    // Adds the walk's current entry.
    void Add(const CTreeFinder& finder, uint64_t size);

    std::vector<Entry>& Entries() { return entries_; }
    const std::string& DirectoryPath(uint32_t directory) const { return directories_[directory]; }
    size_t DirectoryCount() const { return directories_.size(); }
    std::string PathOf(const Entry& e) const;
    // The names of the entries directly in a directory that are gone.
    std::vector<std::string> GoneNamesIn(uint32_t directory) const;

private:
    std::vector<std::string> directories_;
    std::vector<uint32_t> levels_; // directory index by walk depth
    std::vector<Entry> entries_;
};

} // namespace orvo
