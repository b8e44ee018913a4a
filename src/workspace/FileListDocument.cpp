#include "workspace/FileListDocument.h"

#include "browse/DirectoryListing.h"
#include "comments/PathComments.h"
#include "fileops/ProgressFigures.h"
#include "platform/DisplayText.h"
#include "platform/FileStatus.h"
#include "store/ListingFields.h"
#include "store/StoreArchive.h"

#include <cmath>
#include <functional>

namespace orvo {

namespace {

// Refuses a table that is not a file list: exactly the nine listing columns
// by name and type, in their order, and every row a cell for each of them
// of its column's type. Empty cells become the column's default value.
void CheckListTable(const std::string& path, QTable& table) {
    const QFieldList& columns = table.Columns();
    bool fits = columns.size() == static_cast<size_t>(kListingFieldCount);
    for (size_t i = 0; fits && i < columns.size(); ++i)
        fits = columns[i].GetName() == kListingFieldsA[i].name &&
               columns[i].GetType() == kListingFieldsA[i].type;
    if (!fits)
        throw ArchiveError(path + ": not a file list (its columns are not those of a listing: "
                                  "Name, Path, Extension, Comment, Size, Date, Time, Attr, "
                                  "Directory)");
    for (int r = 0; r < table.GetRecordCount(); ++r) {
        QRecord& row = *table.GetRecord(r);
        if (row.GetValueCount() != static_cast<uint32_t>(kListingFieldCount))
            throw ArchiveError(path + ": not a file list (row " + std::to_string(r + 1) +
                               " does not have a cell for each column)");
        for (uint32_t c = 0; c < row.GetValueCount(); ++c) {
            QValue& cell = row.ValueRef(c);
            const uint16_t type = columns[c].GetType();
            if (cell.Type() == type)
                continue;
            if (cell.Type() != QVT_EMPTY)
                throw ArchiveError(path + ": not a file list (row " + std::to_string(r + 1) +
                                   ", column " + columns[c].GetName() +
                                   " holds a value of another type)");
            cell = QValue::Default(type);
        }
    }
}

// Whether the rows are numbered 0, 1, 2... as a load numbers them.
bool HasLoadedIds(const QTable& table) {
    for (int r = 0; r < table.GetRecordCount(); ++r)
        if (table.GetRecord(r)->GetId() != static_cast<uint32_t>(r))
            return false;
    return true;
}

std::string ExportText(const QTable& list, const ListExportOptions& o, int maxRows,
                       const std::function<uint64_t(const QRecord&)>& sizeOf) {
    const std::string& sep = o.separator;
    std::string text;
    if (o.fields) {
        if (o.id)
            text += "ID" + sep;
        if (o.title)
            text += "Name";
        if (o.comment)
            text += sep + "Comment";
        if (o.size)
            text += sep + "Size";
        if (o.dateTime)
            text += sep + "Date";
        if (o.attributes)
            text += sep + "Attributes";
        text += "\r\n";
    }
    const int name = list.FieldIndex("Name");
    const int extension = list.FieldIndex("Extension");
    const int comment = list.FieldIndex("Comment");
    const int date = list.FieldIndex("Date");
    const int attr = list.FieldIndex("Attr");
    const int directory = list.FieldIndex("Directory");
    int rows = list.GetRecordCount();
    if (maxRows >= 0 && maxRows < rows)
        rows = maxRows;
    for (int i = 0; i < rows; ++i) {
        const QRecord& row = *list.GetRecord(i);
        if (i > 0)
            text += "\r\n";
        if (o.id)
            text += std::to_string(i + 1) + "." + sep;
        const bool isDirectory = row.GetValueAt(directory).AsBool() != 0;
        if (o.title) {
            if (isDirectory)
                text += "[";
            text += row.GetValueAt(name).AsStringView();
        }
        if (o.extension) {
            std::string_view ext = row.GetValueAt(extension).AsStringView();
            if (o.title && !ext.empty())
                text += ".";
            text += ext;
        }
        if (o.title && isDirectory)
            text += "]";
        if (o.comment)
            text += sep + std::string(row.GetValueAt(comment).AsStringView());
        if (o.size)
            text += sep + NumberText(sizeOf(row));
        if (o.dateTime)
            text += sep + row.GetValueAt(date).ToText();
        if (o.attributes)
            text += sep + std::string(row.GetValueAt(attr).AsStringView());
    }
    return text;
}

// Whether two recorded dates name different seconds.
bool DatesDiffer(double recorded, double now) {
    if (std::isnan(recorded) || std::isnan(now))
        return std::isnan(recorded) != std::isnan(now);
    return std::fabs(recorded - now) * 86400.0 >= 0.5;
}

} // namespace

void LoadFileList(const std::string& path, DirectoryListing& list) {
    QTable fresh;
    LoadTableFile(path, fresh);
    CheckListTable(path, fresh);
    // The file's name, date and columns (flags included) are kept, so that
    // saving an unchanged list writes the same bytes again.
    std::string name = fresh.GetName();
    std::string secondText = fresh.GetSecondText();
    const uint32_t created = fresh.GetCreated();
    list.TakeRows(fresh, std::string());
    list.SetName(std::move(name));
    list.SetSecondText(std::move(secondText));
    list.SetCreated(created);
}

void SaveFileList(const std::string& path, const DirectoryListing& list, ReadOnlyFiles readOnly) {
    if (HasLoadedIds(list)) {
        SaveTableFile(path, list, readOnly);
        return;
    }
    // Rows removed or inserted leave gaps in the ids; a load numbers rows
    // afresh, so the file gets them numbered the same way and a list saved,
    // opened and saved again is the same file.
    QTable numbered(list);
    numbered.SetName(list.GetName());
    numbered.SetCreated(list.GetCreated());
    numbered.SetSecondText(list.GetSecondText());
    for (int r = 0; r < numbered.GetRecordCount(); ++r)
        numbered.GetRecord(r)->SetId(static_cast<uint32_t>(r));
    SaveTableFile(path, numbered, readOnly);
}

std::string ExportListText(const QTable& list, const ListExportOptions& options, int maxRows) {
    const int size = list.FieldIndex("Size");
    return ExportText(list, options, maxRows,
                      [size](const QRecord& row) { return row.GetValueAt(size).AsDword(); });
}

std::string ExportListText(const DirectoryListing& list, const ListExportOptions& options,
                           int maxRows) {
    return ExportText(list, options, maxRows,
                      [&list](const QRecord& row) { return list.FullSize(row); });
}

ListStatus CheckListStatus(const QTable& list) {
    ListStatus status;
    const int path = list.FieldIndex("Path");
    const int comment = list.FieldIndex("Comment");
    const int size = list.FieldIndex("Size");
    const int date = list.FieldIndex("Date");
    const int attr = list.FieldIndex("Attr");
    CommentReader comments;
    for (int r = 0; r < list.GetRecordCount(); ++r) {
        const QRecord& row = *list.GetRecord(r);
        const std::string entry(row.GetValueAt(path).AsStringView());
        const FileStatus now = GetFileStatus(entry);
        if (!now.exists) {
            status.dead.push_back(entry);
            continue;
        }
        // What RefreshListRows records for the entry now.
        const uint32_t sizeCell = DirectoryListing::SizeCell(now.isDirectory ? 0 : now.size);
        const bool changed = row.GetValueAt(size).AsDword() != sizeCell ||
                             DatesDiffer(row.GetValueAt(date).AsDouble(), now.modified) ||
                             row.GetValueAt(attr).AsStringView() != now.attributes ||
                             row.GetValueAt(comment).AsStringView() != comments.Get(entry);
        if (changed)
            status.changed.push_back(entry);
    }
    return status;
}

} // namespace orvo
