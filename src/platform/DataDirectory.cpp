#include "platform/DataDirectory.h"

#include "platform/DisplayText.h"
#include "platform/FileIO.h"
#include "platform/PathText.h"
#include "platform/XdgDirectories.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
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
    return JoinPath(XdgConfigHome(), "orvo-browser");
}

std::string ShippedDataDirectory() {
    std::string fromEnv = Env("ORVO_SOURCE_DATA");
    if (IsDirectoryPath(fromEnv))
        return fromEnv;
    // An installed program uses its own prefix's copy, found from where the
    // executable is, so a tree installed under DESTDIR or moved elsewhere
    // works too, even while the source tree it was built from still exists.
#ifdef ORVO_INSTALLED_DATA_DIR
    std::string exeDir = ExecutableDirectory();
    if (!exeDir.empty()) {
        std::string installed =
            (fs::path(exeDir) / ORVO_INSTALLED_DATA_DIR).lexically_normal().string();
        if (IsDirectoryPath(installed))
            return installed;
    }
#endif
#ifdef ORVO_SOURCE_DATA_DIR
    if (IsDirectoryPath(ORVO_SOURCE_DATA_DIR))
        return ORVO_SOURCE_DATA_DIR;
#endif
    return {};
}

std::string EnsureDataDirectory() {
    // Two windows starting at once must not seed over each other.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::string path = DataDirectoryPath();
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        fs::create_directories(path, ec);
        if (ec)
            throw FileError(path, ec.value(), "create the data directory");
    } else if (!fs::is_directory(path, ec)) {
        throw FileError(path, ENOTDIR, "use as the data directory");
    }
    std::string shipped = ShippedDataDirectory();
    if (!shipped.empty())
        SeedDataDirectory(shipped, path);
    return path;
}

namespace {

std::set<std::string> ReadManifest(const std::string& path) {
    std::set<std::string> names;
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const FileError&) {
        return names;
    }
    for (std::string_view line : SplitLines(bytes))
        if (!line.empty())
            names.emplace(line);
    return names;
}

} // namespace

int SeedDataDirectory(const std::string& shipped, const std::string& target) {
    const std::string manifestPath = JoinPath(target, kShippedManifestName);
    std::set<std::string> known = ReadManifest(manifestPath);
    const size_t knownBefore = known.size();
    int added = 0;
    // The program's own files (its icon) stay with the program.
    for (const char* folder : {"images", "help", "File types"}) {
        std::error_code ec;
        fs::recursive_directory_iterator it(fs::path(shipped) / folder, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            // Only plain files are assets; a link in the shipped folder could
            // point anywhere.
            if (it->is_symlink(ec) || !it->is_regular_file(ec))
                continue;
            std::string relative = fs::relative(it->path(), shipped, ec).string();
            if (ec || relative.empty() || relative.find('\n') != std::string::npos)
                continue;
            // Once offered, a file is the user's: deleting it is a choice,
            // and one already there (the user's own) is never replaced.
            if (!known.insert(relative).second)
                continue;
            const fs::path destination = fs::path(target) / relative;
            std::error_code failed;
            if (fs::symlink_status(destination, failed).type() != fs::file_type::not_found)
                continue;
            fs::create_directories(destination.parent_path(), failed);
            // A file that cannot be copied is left out rather than failing
            // the start (the program copes with missing assets); the next
            // start tries again.
            if (!failed && fs::copy_file(it->path(), destination, failed) && !failed)
                ++added;
            else
                known.erase(relative);
        }
    }
    if (known.size() != knownBefore) {
        std::string bytes;
        for (const std::string& name : known)
            bytes += name + '\n';
        try {
            WriteFileAtomically(manifestPath, bytes, false);
        } catch (const FileError&) {
            // Without the record the next start offers the same files again.
        }
    }
    return added;
}

std::string DataFilePath(std::string_view relative) {
    return JoinPath(DataDirectoryPath(), relative);
}

} // namespace orvo
