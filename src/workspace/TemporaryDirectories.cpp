#include "workspace/TemporaryDirectories.h"

#include "browse/FileCommands.h"
#include "platform/DataDirectory.h"
#include "platform/EntryOperations.h"

#include <sys/stat.h>

namespace orvo {

std::string TemporaryDirectoryRoot() {
    return DataFilePath("TmpDirs");
}

std::string NextTemporaryDirectory(const std::string& root) {
    if (!CreateDirChain(root))
        return {};
    return MakeUniqueName(root, "temp", "");
}

TemporaryDirectoryList& TemporaryDirectoryList::Instance() {
    static TemporaryDirectoryList list;
    return list;
}

bool TemporaryDirectoryList::Add(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    paths_.push_back(path);
    identities_.push_back({static_cast<unsigned long long>(st.st_dev),
                           static_cast<unsigned long long>(st.st_ino)});
    return true;
}

std::vector<std::string> TemporaryDirectoryList::StillMade() const {
    std::vector<std::string> ours;
    for (size_t i = 0; i < paths_.size(); ++i) {
        struct stat st {};
        if (::lstat(paths_[i].c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
            st.st_dev == identities_[i].device && st.st_ino == identities_[i].inode)
            ours.push_back(paths_[i]);
    }
    return ours;
}

} // namespace orvo
