#pragma once

#include <string>
#include <string_view>

namespace orvo {

// One directory held open while a walk works in it, opened again only when
// the walk moves to another: names are then looked up in it instead of
// walking every full path from the root again.
class OpenDirectory {
public:
    OpenDirectory() = default;
    OpenDirectory(const OpenDirectory&) = delete;
    OpenDirectory& operator=(const OpenDirectory&) = delete;
    ~OpenDirectory() { Close(); }

    // The descriptor of directory, or -1 when it cannot be opened.
    int Of(std::string_view directory);
    // The descriptor of the directory holding path, and the name in it.
    int ParentOf(const std::string& path, const char** name);
    void Close();

private:
    std::string path_;
    int fd_ = -1;
    bool tried_ = false;
};

} // namespace orvo
