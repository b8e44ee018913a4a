#pragma once

#include "platform/FileIO.h"
#include "store/QTable.h"

#include <string>
#include <vector>

namespace orvo {

class DirectoryListing;

// File-list documents (".orl"): one listing table written alone as a
// record-store archive, and the text export and status check of a list.

// Reads a list document into the listing (rows, in their saved order; the
// file's table name, date and column flags come along, the directory path
// is empty). Throws FileError or ArchiveError as LoadTableFile does; on
// failure the listing is unchanged. A table whose columns are not the
// nine listing columns (names and types, in order), or with a row whose
// cells do not fit them, is refused with an ArchiveError.
void LoadFileList(const std::string& path, DirectoryListing& list);
// Writes the listing's table as a list document (through a temporary file
// renamed into place). Rows are numbered in the file as a load numbers
// them, so saving, opening and saving again writes the same bytes. Throws
// FileError when it cannot be written.
void SaveFileList(const std::string& path, const DirectoryListing& list,
                  ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

// The export dialog's check boxes and separator; the defaults are its
// initial state.
struct ListExportOptions {
    bool id = false;         // a running number, "1." before each row
    bool fields = false;     // a first line naming the columns
    bool title = true;       // the name, directories in brackets
    bool extension = true;
    bool comment = true;
    bool size = false;       // grouped by three with blanks
    bool dateTime = false;   // the Date column's text
    bool attributes = false; // the Attr column
    std::string separator = "\t";
};

// The export text: rows joined by CR LF, none after the last (the "Fields"
// line always ends with CR LF). maxRows < 0 exports every row (the preview
// passes 101). Size is the Size cell, which stops at 4294967295.
std::string ExportListText(const QTable& list, const ListExportOptions& options,
                           int maxRows = -1);
// The same for a listing, whose sizes of 4 GiB and more are exported whole
// (DirectoryListing::FullSize). Chosen over the form above whenever the
// argument is a DirectoryListing.
std::string ExportListText(const DirectoryListing& list, const ListExportOptions& options,
                           int maxRows = -1);

// What the status check finds, as Paths in row order: rows whose path no
// longer exists (a dangling link still exists), and rows whose recorded
// Size, Date, Attr or Comment differ from what RefreshListRows would record
// now (the Size cell against the cell of the real size, so a file of 4 GiB
// or more is not changed for ever; the Comment raw, line breaks kept).
struct ListStatus {
    std::vector<std::string> changed;
    std::vector<std::string> dead;
};
ListStatus CheckListStatus(const QTable& list);

} // namespace orvo
