#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvo {

// What a size count found below one directory: bytes are those of the
// files (a symbolic link counts as a file of its own length, never as what
// it leads to).
struct SizeCountFigures {
    uint64_t bytes = 0;
    uint64_t directories = 0;
    uint64_t files = 0;
    // Directories below that belong to another file system (mount points,
    // /proc under "/"): neither entered nor counted, as du -x does.
    uint64_t otherFileSystems = 0;
};

// The directory's share of its drive as the counting mode has always shown
// it: drive total div (bytes + 1), then 100 div that. A directory larger
// than its drive shows 100 rather than dividing by zero; a drive of unknown
// size (0) gives 0.
int SizeCountPercentage(uint64_t driveTotal, uint64_t bytes);
// "*1 234 (2 dirs, 10 files, 0% of total disk space)": a count under way.
std::string SizeCountProgressText(const SizeCountFigures& figures, int percentage);
// "1 234     (2 dirs, 10 files, 0% of total disk space)", after "User
// stopped." when Escape ended the walk early. Both texts end with a note
// when directories on other file systems were left out, so a total that
// looks small is not taken for the whole tree.
std::string SizeCountFinalText(const SizeCountFigures& figures, int percentage, bool stopped);

// Flags the window sets while a count runs on another thread.
struct SizeCountControl {
    // The window goes away: the whole count ends at the next check.
    std::atomic<bool> cancel{false};
    // Escape: the directory being walked ends early; the flag is taken
    // back when the walk notices it.
    std::atomic<bool> stopCurrent{false};
};

// Walks every entry below a directory without following symbolic links and
// without leaving the directory's file system. Directories that cannot be
// read are left out silently. progress is
// called now and then (every 500 entries at most, and not more often than
// the interval) with the figures so far.
class SizeCounter {
public:
    struct Result {
        SizeCountFigures figures;
        bool stopped = false;   // Escape ended this walk
        bool cancelled = false; // the whole count was cancelled
    };

    using Progress = std::function<void(const SizeCountFigures&)>;

    static Result CountTree(const std::string& directory, SizeCountControl& control,
                            const Progress& progress = {}, int progressIntervalMs = 40);
};

// One row of a listing to count.
struct SizeCountRow {
    int row = 0;
    std::string path;
};

// Where a count of several rows reports, from the counting thread.
class SizeCountSink {
public:
    virtual ~SizeCountSink() = default;
    virtual void RowProgress(int row, const std::string& path, const std::string& text) = 0;
    // sizeKilobytes is the Size cell: bytes / 1024, stopping at the largest
    // 32-bit value.
    virtual void RowCounted(int row, const std::string& path, const std::string& text,
                            uint32_t sizeKilobytes) = 0;
    // The bytes counted in the listing so far (files of the top level too).
    virtual void TotalChanged(uint64_t total) = 0;
    virtual void Finished(uint64_t total, bool cancelled) = 0;
};

// The count of a browse window, row after row: a directory is walked and
// gets its texts; anything else (a link to a directory included) only adds
// its own size to the total. driveTotal gives the size of the volume that
// holds a path (GetVolumeSpace of its mount point when not given). With a
// home directory given, a row that is on another file system than home
// (/proc in a listing of "/") is not walked: it gets kOtherFileSystemText.
void CountDirectories(const std::vector<SizeCountRow>& rows, SizeCountControl& control,
                      SizeCountSink& sink,
                      const std::function<uint64_t(const std::string&)>& driveTotal = {},
                      int progressIntervalMs = 40, const std::string& home = {});

inline constexpr const char* kOtherFileSystemText = "Other file system: not counted.";

} // namespace orvo
