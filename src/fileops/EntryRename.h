#pragma once

#include <string>

namespace orvo {

// Renames an entry within its directory, its comment going along to the
// new name. Never replaces another entry (rename(2) would, silently); a
// new name that differs only in letter case is allowed where the file
// system takes it for the same entry. False, with errno set, when nothing
// was renamed.
bool RenameWithComment(const std::string& oldPath, const std::string& newPath);

} // namespace orvo
