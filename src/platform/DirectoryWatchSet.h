#pragma once

#include <map>
#include <string>
#include <vector>

namespace orvo {

// Directories watched for changes to their entries (created, deleted,
// renamed, written to, attributes changed) through one inotify descriptor.
// Several users may watch one directory: each Add needs its Remove. Two
// paths of one directory (a link and its target) share the kernel's watch
// and both are reported.
class DirectoryWatchSet {
public:
    DirectoryWatchSet();
    ~DirectoryWatchSet();
    DirectoryWatchSet(const DirectoryWatchSet&) = delete;
    DirectoryWatchSet& operator=(const DirectoryWatchSet&) = delete;

    // The descriptor to wait on for ReadChanges; -1 when the system gave
    // none (then nothing is ever reported).
    int Descriptor() const { return fd_; }

    // False, with errno set, when the directory cannot be watched (gone,
    // not a directory, the system's watch limit reached); it is counted
    // all the same, so Remove stays paired.
    bool Add(const std::string& directory);
    void Remove(const std::string& directory);
    bool IsWatched(const std::string& directory) const;

    // Reads what is pending without waiting and returns each changed
    // directory once. A directory that was deleted or moved away is
    // reported and no longer watched by the kernel; a lost queue (the
    // kernel's overflow) reports every directory.
    std::vector<std::string> ReadChanges();
    // The same, with the directories whose file system was unmounted put
    // in unmounted instead (they are no longer watched either).
    std::vector<std::string> ReadChanges(std::vector<std::string>& unmounted);

private:
    struct Entry {
        int users = 0;
        int wd = -1;
    };
    void Forget(int wd);

    int fd_ = -1;
    std::map<std::string, Entry> directories_;
    std::multimap<int, std::string> paths_; // kernel watch -> paths
};

} // namespace orvo
