#pragma once

#include "browse/DirectoryListing.h"

#include <string>
#include <vector>

namespace orvo {

// The rows of a list-mode window: entries gathered from anywhere, kept in
// a listing table (the listing columns, variant A) whose Path is each row's
// identity. The listing's directory path stays empty.

// Appends one row per path, in the given order: Path = the path,
// Directory = whether it is an existing directory, Name and Extension
// split from its file name; then refreshes the new rows. Paths that do not
// exist are added too (as non-directories with empty information).
// Returns the index of the first new row.
int AddListPaths(DirectoryListing& list, const std::vector<std::string>& paths);

// Reads each row's entry anew (rows first..last, -1, -1 for all): Size
// (the real size kept for files of 4 GiB and more), Date and Time (the
// modification time), Attr ("rahs" with "-" for absent ones), Directory,
// and Comment (the path's comment, as stored: line breaks kept). A row
// whose entry is gone gets Size 0, no dates and Attr "----".
void RefreshListRows(DirectoryListing& list, int first = -1, int last = -1);

// Removes every row whose path no longer exists; returns how many went.
int RemoveDeadRows(DirectoryListing& list);

// Removes the rows with these Paths (each once); the files are not touched.
int RemoveListPaths(DirectoryListing& list, const std::vector<std::string>& paths);

// After a file operation: removes the rows whose entries lay in one of the
// directories it changed and are gone (moved or deleted). Rows of paths
// elsewhere that never existed stay. Returns how many went.
int RemoveLeftEntries(DirectoryListing& list, const std::vector<std::string>& directories);

// A listed entry renamed: its rows take the new Path, Name and Extension;
// rows that already listed the new path go, so it is listed once.
void RenameListPath(DirectoryListing& list, const std::string& oldPath, const std::string& newPath);

// A comment edited in a list window: the rows of the path record it.
void SetListComment(DirectoryListing& list, const std::string& path, const std::string& comment);

} // namespace orvo
