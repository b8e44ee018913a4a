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

// Whether a save may replace a file marked read-only; only a user's answer
// to a question says Replace.
enum class ReadOnlyFiles { Refuse, Replace };

// Replaces (or creates) a file so that no reader ever sees it half written
// and a failure never harms the old content: the bytes go to a fresh file
// beside the target, which is renamed over it once complete. An existing
// target's permission bits are kept. A symbolic link is followed and the
// file it names written, the link staying as it was. A read-only file is
// refused unless readOnly says Replace; a directory or special file always.
// With durable set the data is flushed to the disk before the rename.
// Throws FileError.
void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable = true,
                         ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

} // namespace orvo
