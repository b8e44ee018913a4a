#pragma once

#include <string>

namespace orvo {

// Deletes an entry and, when it is a directory, everything in it, deepest
// entries first. Nothing is followed: a symbolic link, at the root or
// anywhere below it, is removed as the link it is, and every directory is
// opened relative to the one already open, so a directory swapped for a
// link halfway through cannot lead the removal elsewhere. False when
// anything stayed (the rest is still removed).
bool RemoveEntryTree(const std::string& root);

} // namespace orvo
