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

// Only what this run made belongs here: deleting them all must never reach
// a directory that was there before (an older "temp" typed again), nor one
// that took a listed name since (removed and made again, or replaced by a
// link), so each is remembered with the identity it had when it was made.
class TemporaryDirectoryList {
public:
    static TemporaryDirectoryList& Instance();

    // Remembers a directory this run has just made; false (nothing kept)
    // when the path is not a directory of its own (a link is not).
    bool Add(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }
    bool Empty() const { return paths_.empty(); }
    void Clear() {
        paths_.clear();
        identities_.clear();
    }
    // The listed paths that are still the directories that were made.
    std::vector<std::string> StillMade() const;

private:
    struct Identity {
        unsigned long long device;
        unsigned long long inode;
    };
    std::vector<std::string> paths_;
    std::vector<Identity> identities_;
};

inline constexpr const char* kDeleteTemporaryQuestion =
    "Are you sure you wanna delete all the temporary directories created in this session ?";
inline constexpr const char* kShutdownTemporaryQuestion =
    "You have created temporary directories in this session. Do you want to delete all of them ?";

} // namespace orvo
