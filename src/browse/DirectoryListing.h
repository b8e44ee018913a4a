#pragma once

#include "platform/MountTable.h"
#include "store/QTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvo {

// The pseudo-path of the drive list (compared exactly).
inline constexpr std::string_view kComputerPath = "Computer/";

// The entries of one directory as rows of the listing columns (variant A),
// in the order the file system returns them. Directory is a precedence key
// so that sorting the listing itself also puts directories first.
class DirectoryListing : public QTable {
public:
    DirectoryListing();

    // Empties the table and reads every entry of the directory (hidden ones
    // too); one trailing "/" of path is ignored. mask and flags are
    // accepted for callers that pass them and do not filter. A directory
    // that cannot be read leaves the table empty (see ReadFailed). Returns 1.
    int ReadDirectory(const std::string& path, const std::string& mask = "*", int flags = 0);

    const std::string& GetDirectoryPath() const { return directoryPath_; }
    void SetDirectoryPath(std::string path) { directoryPath_ = std::move(path); }
    // Whether the last ReadDirectory could not open its directory, and the
    // system's error number of that failure.
    bool ReadFailed() const { return readError_ != 0; }
    int ReadError() const { return readError_; }

    // The size of a row of this listing or of a table copied from it. The
    // Size cell holds 32 bits and stops at 4294967295; the real size of a
    // larger file is kept here under its Path.
    uint64_t FullSize(const QRecord& row) const;

    // The Size cell of a size: its low 32 bits would make a 4 GiB file look
    // empty, so sizes that do not fit stop at the largest value.
    static uint32_t SizeCell(uint64_t size);

    // Records the real size of the row with this Path (a row whose Size
    // cell is SizeCell(size)): kept when it does not fit the cell,
    // forgotten otherwise.
    void SetFullSize(const std::string& path, uint64_t size);

    // Replaces the rows by those of a table with the listing's columns
    // (emptied by the call), and the directory path and large sizes with
    // them. The listing keeps its name and creation time.
    void TakeRows(QTable& fresh, std::string directoryPath,
                  std::unordered_map<std::string, uint64_t> largeSizes = {});
    // Takes all of another listing (read on another thread), emptying it.
    void TakeListing(DirectoryListing& other);

    // Whether a row's path lies on a network or FUSE drive that the
    // interface must not ask anything (its own comment file included): the
    // drive list's rows of such drives.
    bool MayHang(std::string_view path) const;

private:
    std::string directoryPath_;
    std::unordered_map<std::string, uint64_t> largeSizes_;
    std::unordered_set<std::string> mayHang_;
    int readError_ = 0;

    friend void ReadComputer(DirectoryListing&, std::vector<int>&,
                             const std::vector<MountedVolume>&);
};

// Fills the listing with the drive list: one directory row per volume of
// the system, Name = mount point, a blank and the display name, Path = the
// mount point; driveTypes gets each drive's DriveType in the same order.
void ReadComputer(DirectoryListing& listing, std::vector<int>& driveTypes);
// The same from a given list of volumes.
void ReadComputer(DirectoryListing& listing, std::vector<int>& driveTypes,
                  const std::vector<MountedVolume>& volumes);

} // namespace orvo
