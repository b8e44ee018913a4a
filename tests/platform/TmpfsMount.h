#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace orvo::test {

// A small tmpfs of its own, for a full disk and for a second file system;
// only root may mount, elsewhere the test is skipped.
class TmpfsMount {
public:
    // at: an existing empty directory to mount on, inside a test's tree;
    // without it a fresh one under the temporary directory.
    explicit TmpfsMount(const char* size, const std::string& at = {}) {
        if (::geteuid() != 0)
            return;
        std::string pattern =
            at.empty() ? (std::filesystem::temp_directory_path() / "orvo-tmpfs-XXXXXX").string()
                       : at;
        if (at.empty() && !::mkdtemp(pattern.data()))
            return;
        std::string options = std::string("size=") + size;
        if (::mount("tmpfs", pattern.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            ::rmdir(pattern.c_str());
            return;
        }
        path_ = pattern;
    }
    ~TmpfsMount() {
        if (path_.empty())
            return;
        ::umount2(path_.c_str(), MNT_DETACH);
        ::rmdir(path_.c_str());
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Mounted() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace orvo::test
