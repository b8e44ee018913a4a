#include "platform/DataDirectory.h"

#include "platform/FileIO.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unistd.h>

namespace orvo {

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool IsDirectoryPath(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string ExecutableDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

} // namespace

std::string DataDirectoryPath() {
    std::string home = Env("ORVO_HOME");
    if (!home.empty())
        return StripTrailingSlash(home);
    std::string config = Env("XDG_CONFIG_HOME");
    // A relative XDG path is invalid by the XDG base-directory rules and must be ignored.
    if (config.empty() || config.front() != '/')
        config = JoinPath(Env("HOME").empty() ? "/" : Env("HOME"), ".config");
    return JoinPath(StripTrailingSlash(config), "orvo-browser");
}

std::string ShippedDataDirectory() {
    std::string fromEnv = Env("ORVO_SOURCE_DATA");
    if (IsDirectoryPath(fromEnv))
        return fromEnv;
#ifdef ORVO_SOURCE_DATA_DIR
    if (IsDirectoryPath(ORVO_SOURCE_DATA_DIR))
        return ORVO_SOURCE_DATA_DIR;
#endif
    std::string exeDir = ExecutableDirectory();
    if (!exeDir.empty()) {
        std::string installed = JoinPath(ParentDirectoryOf(exeDir), "share/orvo-browser");
        if (IsDirectoryPath(installed))
            return installed;
    }
    return {};
}

std::string EnsureDataDirectory() {
    // Two windows starting at once must not seed over each other.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::string path = DataDirectoryPath();
    std::error_code ec;
    bool fresh = !fs::exists(path, ec);
    if (fresh) {
        fs::create_directories(path, ec);
        if (ec)
            throw FileError(path, ec.value(), "create the data directory");
    } else if (!fs::is_directory(path, ec)) {
        throw FileError(path, ENOTDIR, "use as the data directory");
    } else {
        fresh = fs::is_empty(path, ec) && !ec;
    }
    if (fresh) {
        std::string shipped = ShippedDataDirectory();
        if (!shipped.empty()) {
            // A file that cannot be copied is left out rather than failing
            // the start; the program copes with missing assets.
            fs::copy(shipped, path, fs::copy_options::recursive | fs::copy_options::skip_existing,
                     ec);
        }
    }
    return path;
}

std::string DataFilePath(std::string_view relative) {
    return JoinPath(DataDirectoryPath(), relative);
}

} // namespace orvo
