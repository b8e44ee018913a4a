#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo {

// An I/O failure with the path and the system's reason in its message.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, int error, const std::string& action);
    int Error() const { return error_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int error_;
};

// The whole content of a file; throws FileError.
std::string ReadWholeFile(const std::string& path);

// Replaces (or creates) a file so that no reader ever sees it half written
// and a failure never harms the old content: the bytes go to a fresh file
// beside the target, which is renamed over it once complete. An existing
// target's permission bits are kept. With durable set the data is flushed
// to the disk before the rename. Throws FileError.
void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable = true);

} // namespace orvo
