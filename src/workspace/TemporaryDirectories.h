#pragma once

#include <string>
#include <vector>

namespace orvo {

// Scratch directories under the data directory's "TmpDirs": temp, temp00,
// temp01 ... The ones made in this run are remembered so that they can be
// listed and deleted together, and offered for deletion at exit.

std::string TemporaryDirectoryRoot();
// The next free name under the root (made first when missing); empty when
// the root cannot be made or every name is taken.
std::string NextTemporaryDirectory(const std::string& root);

class TemporaryDirectoryList {
public:
    static TemporaryDirectoryList& Instance();

    void Add(const std::string& path) { paths_.push_back(path); }
    const std::vector<std::string>& Paths() const { return paths_; }
    bool Empty() const { return paths_.empty(); }
    void Clear() { paths_.clear(); }

private:
    std::vector<std::string> paths_;
};

inline constexpr const char* kDeleteTemporaryQuestion =
    "Are you sure you wanna delete all the temporary directories created in this session ?";
inline constexpr const char* kShutdownTemporaryQuestion =
    "You have created temporary directories in this session. Do you want to delete all of them ?";

} // namespace orvo
