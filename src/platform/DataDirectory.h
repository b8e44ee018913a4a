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
// else the source tree's data folder of a build tree, else
// <prefix>/share/orvo-browser beside the installed program. Empty when
// none of them exists.
std::string ShippedDataDirectory();

// The data directory, created and seeded from the shipped data at first
// use (when it is missing or empty; the user's own changes are never
// overwritten later). Throws FileError when it cannot be created.
std::string EnsureDataDirectory();

// A path inside the data directory ("images/bkgnd.jpg").
std::string DataFilePath(std::string_view relative);

} // namespace orvo
