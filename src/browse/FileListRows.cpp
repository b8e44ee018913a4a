#include "browse/FileListRows.h"

#include "comments/PathComments.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"

#include <algorithm>
#include <unordered_set>

namespace orvo {

namespace {

struct ListColumns {
    int name, path, extension, comment, size, date, time, attr, directory;

    explicit ListColumns(const QTable& t)
        : name(t.FieldIndex("Name")), path(t.FieldIndex("Path")),
          extension(t.FieldIndex("Extension")), comment(t.FieldIndex("Comment")),
          size(t.FieldIndex("Size")), date(t.FieldIndex("Date")), time(t.FieldIndex("Time")),
          attr(t.FieldIndex("Attr")), directory(t.FieldIndex("Directory")) {}
};

std::string RowPath(const QTable& list, int pathColumn, int row) {
    return std::string(list.GetRecord(row)->GetValueAt(pathColumn).AsStringView());
}

// Removes the rows for which gone(row) holds, keeping the others in order.
template <class Predicate> int RemoveRowsWhere(DirectoryListing& list, Predicate gone) {
    std::vector<char> remove(static_cast<size_t>(list.GetRecordCount()));
    for (int r = 0; r < list.GetRecordCount(); ++r)
        remove[static_cast<size_t>(r)] = gone(r) ? 1 : 0;
    return list.DeleteRecords(remove);
}

} // namespace

int AddListPaths(DirectoryListing& list, const std::vector<std::string>& paths) {
    const ListColumns c(list);
    const int first = list.GetRecordCount();
    for (const std::string& given : paths) {
        std::string path = StripTrailingSlash(given);
        NameParts parts = SplitExtension(FileNameOf(path));
        QRecord row = list.NewRecord();
        row.SetValueAt(c.path, QValue(std::string_view(path)));
        row.SetValueAt(c.name, QValue(parts.stem));
        row.SetValueAt(c.extension, QValue(parts.extension));
        row.SetValueAt(c.directory, QValue(IsDirectory(path), QVT_BOOL));
        list.AddRecord(row);
    }
    if (list.GetRecordCount() > first)
        RefreshListRows(list, first, list.GetRecordCount() - 1);
    return first;
}

void RefreshListRows(DirectoryListing& list, int first, int last) {
    const int count = list.GetRecordCount();
    if (first < 0)
        first = 0;
    if (last < 0 || last >= count)
        last = count - 1;
    const ListColumns c(list);
    CommentReader comments;
    for (int r = first; r <= last; ++r) {
        QRecord& row = *list.GetRecord(r);
        const std::string path = RowPath(list, c.path, r);
        const FileStatus status = GetFileStatus(path);
        if (!status.exists) {
            // Gone: nothing recorded of it stays, so no stale size or date
            // is shown as if it were current. Directory keeps what the row
            // was, so a vanished directory still shows as one.
            row.SetValueAt(c.size, QValue(uint32_t{0}, QVT_DWORD));
            row.SetValueAt(c.date, QValue::Default(QVT_DATE));
            row.SetValueAt(c.time, QValue::Default(QVT_DATE));
            row.SetValueAt(c.attr, QValue(std::string_view("----")));
            row.SetValueAt(c.comment, QValue(std::string_view()));
            list.SetFullSize(path, 0);
            continue;
        }
        // A directory's size is its counted content, as in a listing, not
        // the size of its entry table.
        const uint64_t size = status.isDirectory ? 0 : status.size;
        row.SetValueAt(c.size, QValue(DirectoryListing::SizeCell(size), QVT_DWORD));
        list.SetFullSize(path, size);
        row.SetValueAt(c.date, QValue(status.modified, QVT_DATE));
        row.SetValueAt(c.time, QValue(status.modified, QVT_DATE));
        row.SetValueAt(c.attr, QValue(std::string_view(status.attributes)));
        row.SetValueAt(c.directory, QValue(status.isDirectory, QVT_BOOL));
        row.SetValueAt(c.comment, QValue(std::string_view(comments.Get(path))));
    }
}

int RemoveDeadRows(DirectoryListing& list) {
    const int pathColumn = list.FieldIndex("Path");
    return RemoveRowsWhere(list, [&](int r) {
        const std::string path = RowPath(list, pathColumn, r);
        if (PathExists(path))
            return false;
        list.SetFullSize(path, 0);
        return true;
    });
}

int RemoveLeftEntries(DirectoryListing& list, const std::vector<std::string>& directories) {
    std::unordered_set<std::string> changed;
    for (const std::string& d : directories)
        changed.insert(StripTrailingSlash(d));
    const int pathColumn = list.FieldIndex("Path");
    return RemoveRowsWhere(list, [&](int r) {
        const std::string path = RowPath(list, pathColumn, r);
        return changed.count(ParentDirectoryOf(path)) != 0 && !PathExists(path);
    });
}

void RenameListPath(DirectoryListing& list, const std::string& oldPath,
                    const std::string& newPath) {
    RemoveListPaths(list, {newPath});
    const ListColumns c(list);
    const NameParts parts = SplitExtension(FileNameOf(newPath));
    for (int r = 0; r < list.GetRecordCount(); ++r) {
        if (RowPath(list, c.path, r) != oldPath)
            continue;
        list.SetValue(c.path, r, QValue(std::string_view(newPath)));
        list.SetValue(c.name, r, QValue(parts.stem));
        list.SetValue(c.extension, r, QValue(parts.extension));
    }
}

void SetListComment(DirectoryListing& list, const std::string& path, const std::string& comment) {
    const int pathColumn = list.FieldIndex("Path");
    const int commentColumn = list.FieldIndex("Comment");
    for (int r = 0; r < list.GetRecordCount(); ++r)
        if (RowPath(list, pathColumn, r) == path)
            list.SetValue(commentColumn, r, QValue(std::string_view(comment)));
}

int RemoveListPaths(DirectoryListing& list, const std::vector<std::string>& paths) {
    const std::unordered_set<std::string> doomed(paths.begin(), paths.end());
    const int pathColumn = list.FieldIndex("Path");
    return RemoveRowsWhere(list,
                           [&](int r) { return doomed.count(RowPath(list, pathColumn, r)) != 0; });
}

} // namespace orvo
