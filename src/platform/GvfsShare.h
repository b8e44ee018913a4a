#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// A network place or device that the desktop's virtual file system shows
// as one folder of its FUSE mount, named like "sftp:host=example.org,user=me".
struct GvfsShare {
    std::string label;   // "me on example.org"
    std::string kind;    // "sftp", "smb", "mtp" ...
    bool device = false; // a phone or camera plugged in, not a network place
};

// What a folder name of the FUSE mount stands for; false for a name that
// has no "scheme:key=value" form.
bool DescribeGvfsShare(std::string_view folderName, GvfsShare& share);

// The entry names of a directory; nothing when it does not answer within
// timeoutMs (see CallWithin).
std::optional<std::vector<std::string>> EntryNamesWithin(const std::string& directory,
                                                         int timeoutMs);

} // namespace orvo
