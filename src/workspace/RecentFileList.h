#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvo {

// The documents used last, the latest first, each once. Paths are compared
// byte for byte: two names differing in case are two files.
class RecentFileList {
public:
    static constexpr size_t kCapacity = 5;

    // Puts the path first; the oldest entry goes when the list is full.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    // Replaces the entries (as read back from disk), keeping the rules.
    void Assign(const std::vector<std::string>& paths);
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

} // namespace orvo
