#pragma once

#include "store/QTable.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvo {

// The quick access bar's picks from its source table (a copy of the active
// browse window's view table, the parent entry "..", if any, on row 0).
// Each fills result (a table owning its rows, not a view), which takes the
// source's columns, anew. The parent entry (Name "..") is never picked: it
// is the window's way up, not an entry of the directory.

// Most important: the source sorted by Date (oldest first, directories not
// put first) with its first row never taken; from the newest backwards at
// most two directories, then at most two files that are not the comment
// file; then every row of the sorted source (in date order, its first row
// still left out) once per row of the catalog ("Title", "Extension"; "*"
// matches anything, otherwise equal ignoring case) that it matches.
// catalog may be null.
void PickImportant(const QTable& source, const QTable* catalog, QTable& result);

// The rows whose lower-cased name.extension matches one of the patterns of
// text (lower-cased, split at ";", blanks around a pattern dropped), sorted
// by Name with QTable::Sort (so a view table's directories come first).
// A name without an extension is tried as "name.", which "*.*" and "*."
// match and "*.txt" does not, as MatchNamePattern treats a bare name.
void PickQuickSearch(const QTable& source, const std::string& text, QTable& result);

// The rows whose Path was registered by a file operation of this run; after
// any row, once more than limit has passed, a row named
// "!!!Too many. 10 secs. time_out" ends the scan; with no row at all, one
// named "There were no registered operations in this directory.".
void PickMovedCopied(const QTable& source, QTable& result,
                     const std::function<bool(const std::string&)>& isRegistered,
                     std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

// The info text of one entry (lines joined by CR LF, the Type and Link
// target lines too). typeName comes from the caller's mime database; the
// size is the real 64-bit size in grouped digits ("1 234 567"; 0 for a
// directory, as in a listing); a symbolic link adds its target. An entry
// that does not exist gives the Name line alone.
std::string QuickAccessInfoText(const std::string& path, const std::string& typeName);
// The text for several selected entries: "N items selected" and the total
// size in grouped digits.
std::string QuickAccessSelectionText(size_t count, uint64_t totalSize);

} // namespace orvo
