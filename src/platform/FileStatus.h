#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace orvo {

// What the program knows of one file-system entry. A symbolic link reports
// what it points to (a link to a directory is a directory), with isSymlink
// telling that the entry itself is a link; a dangling link exists but is
// neither file nor directory.
struct FileStatus {
    bool exists = false;
    bool isDirectory = false;
    bool isRegular = false;
    bool isSymlink = false;
    uint64_t size = 0;
    mode_t mode = 0;       // of the entry the path leads to (0 for a dangling link)
    double modified = 0.0; // local OLE Automation dates
    double created = 0.0;  // the birth time where the file system keeps one, else modified
    double accessed = 0.0;
    std::string attributes; // the four letters "rahs", see AttributeText
};

// One lstat (and a stat when the entry is a link); exists is false when the
// path cannot be examined at all.
FileStatus GetFileStatus(const std::string& path);

// Cheaper checks for callers that need one fact.
bool PathExists(const std::string& path);  // a dangling link exists too
bool IsDirectory(const std::string& path); // follows links

// The attribute text of an entry: "rahs" with each absent letter replaced
// by "-". r: the owner may not write; a: a regular file; h: the name begins
// with a dot; s: a device, socket or FIFO. mode is what the entry leads to,
// 0 when it is a link that leads nowhere.
std::string AttributeText(std::string_view name, mode_t mode);
// The same into four bytes, for the directory reader's hot loop.
void WriteAttributeText(std::string_view name, mode_t mode, char out[4]);

// Only the read-only letter is backed by anything on this system: setting
// it takes every write bit away, clearing it gives the owner write access.
// The other letters describe what an entry is and cannot be changed.
bool SetReadOnly(const std::string& path, bool readOnly);
// Clears every attribute that stands in the way of overwriting or deleting.
bool ClearAttributes(const std::string& path);

} // namespace orvo
