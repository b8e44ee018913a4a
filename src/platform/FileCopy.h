#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace orvo {

// Lets a long copy report its progress and be stopped between chunks. The
// transfer installs one on its thread for the time of a copy.
class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    // Called after each chunk of a file; false stops the copy (it then
    // fails with ECANCELED and leaves no target behind).
    virtual bool ContinueCopy(uint64_t bytesDone) = 0;
};

class ScopedCopyObserver {
public:
    explicit ScopedCopyObserver(CopyObserver* observer);
    ~ScopedCopyObserver();
    ScopedCopyObserver(const ScopedCopyObserver&) = delete;
    ScopedCopyObserver& operator=(const ScopedCopyObserver&) = delete;

private:
    CopyObserver* previous_;
};

// Copies what src is (a file's data with its permission bits and times, a
// symbolic link as a link, a FIFO or device node as such; st is src's own
// status) to dst. The copy is made under a name nobody sees and put in
// place when complete, so a failed or stopped copy never leaves a partial
// target and never harms an existing one. With replace an existing dst
// (not a directory) is replaced, otherwise it is left and EEXIST returned.
// A missing parent of dst is created. Returns 0 or an errno value.
int CopyNonDirectory(const std::string& src, const struct stat& st, const std::string& dst,
                     bool replace);
// The same for an entry taken to be a file (as a tree walk lists it), not
// looked at first; size gets its length.
int CopyFileEntry(const std::string& src, const std::string& dst, bool replace, uint64_t& size);
// CopyFileEntry (replacing) for a walk that holds the source's and the
// target's directories open: the names are looked up there rather than
// from the root again for every file. A descriptor below 0 means "not at
// hand".
int CopyFileAt(int sourceDirectory, const std::string& src, int targetDirectory,
               const std::string& dst, uint64_t& size);
// The core of all of these: the entry sourceName of one open directory is
// copied as targetName into another (O_PATH descriptors do). Only names
// are looked up, in the directories given: a link is copied as a link and
// never followed, on either side.
int CopyEntryAt(int sourceDirectory, const char* sourceName, int targetDirectory,
                const char* targetName, bool replace, uint64_t& size);

// Writes everything of the file system holding path to its disk (one
// syncfs), so what was copied there survives a power loss; 0 or an errno
// value.
int SyncFileSystemOf(const std::string& path);

} // namespace orvo
