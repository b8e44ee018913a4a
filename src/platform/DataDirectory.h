#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Where the program keeps its own files (options, favorites, temporary
// directory records, new-file templates, help, images): $ORVO_HOME, else
// $XDG_CONFIG_HOME/orvo-browser, else ~/.config/orvo-browser. Only the
// text; nothing is created.
std::string DataDirectoryPath();

// The shipped data folder that seeds a new data directory: $ORVO_SOURCE_DATA,
// else <prefix>/share/orvo-browser beside the installed program, else the
// source tree's data folder of a build tree. Empty when none of them exists.
std::string ShippedDataDirectory();

// The data directory, created when missing, with whatever of the shipped
// data it lacks added (SeedDataDirectory). Throws FileError when it cannot
// be created.
std::string EnsureDataDirectory();

// The record, inside the data directory, of the shipped files it was
// offered; one relative path a line.
inline constexpr const char* kShippedManifestName = ".shipped-files";

// Copies each shipped file of images/, help/ and "File types/" the target
// has never been offered and does not hold. A file already there is never replaced, and one the
// user deleted after it was offered stays deleted; files the program ships later still arrive.
// Returns how many files were copied.
int SeedDataDirectory(const std::string& shipped, const std::string& target);

// A path inside the data directory ("images/bkgnd.jpg").
std::string DataFilePath(std::string_view relative);

} // namespace orvo
