#include "workspace/TemporaryDirectories.h"

#include "browse/FileCommands.h"
#include "platform/DataDirectory.h"
#include "platform/EntryOperations.h"

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

} // namespace orvo
