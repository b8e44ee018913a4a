#include "workspace/QuickAccess.h"

#include "browse/HoverInfo.h"
#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "fileops/ProgressFigures.h"
#include "platform/DisplayText.h"
#include "platform/FileStatus.h"
#include "platform/OleDate.h"
#include "platform/PathText.h"
#include "platform/Shortcut.h"
#include "search/NamePatterns.h"
#include "store/Collation.h"

#include <algorithm>
#include <numeric>

namespace orvo {

namespace {

constexpr const char* kTimeFormat = "%Y-%m-%d %H:%M-%S";
constexpr std::string_view kParentName = "..";

// Empties result and gives it the source's columns.
void StartResult(const QTable& source, QTable& result) {
    result.RemoveAll();
    result.MutableColumns() = source.Columns();
}

// The parent entry of a view table: the window's way up, not an entry of
// the directory, so no pick ever shows it.
bool IsParentRow(const QRecord& row, int nameColumn) {
    return row.GetValueAt(nameColumn).AsStringView() == kParentName;
}

QRecord NoticeRow(const QTable& result, std::string_view name) {
    QRecord row = result.NewRecord();
    row.SetValue("Name", QValue(name));
    return row;
}

} // namespace

void PickImportant(const QTable& source, const QTable* catalog, QTable& result) {
    StartResult(source, result);
    const int name = source.FieldIndex("Name");
    const int extension = source.FieldIndex("Extension");
    const int date = source.FieldIndex("Date");
    const int directory = source.FieldIndex("Directory");

    // The rows by Date, oldest first, equal dates in source order. Sorted
    // here rather than with QTable::Sort, which would honour the Directory
    // column's precedence flag and put directories first.
    std::vector<const QRecord*> sorted;
    sorted.reserve(static_cast<size_t>(source.GetRecordCount()));
    for (int r = 0; r < source.GetRecordCount(); ++r)
        sorted.push_back(source.GetRecord(r));
    std::stable_sort(sorted.begin(), sorted.end(), [date](const QRecord* a, const QRecord* b) {
        return a->GetValueAt(date).Compare(b->GetValueAt(date), false) < 0;
    });
    // The first row of the sorted table is never taken (in a view table the
    // parent entry, whose date is empty); neither is the parent entry
    // wherever it went.
    if (!sorted.empty())
        sorted.erase(sorted.begin());
    std::erase_if(sorted, [name](const QRecord* row) { return IsParentRow(*row, name); });

    auto isDirectory = [directory](const QRecord* row) {
        return row->GetValueAt(directory).AsBool() != 0;
    };
    int directories = 0;
    for (auto it = sorted.rbegin(); it != sorted.rend() && directories < 2; ++it) {
        if (isDirectory(*it)) {
            result.AddRecord(**it);
            ++directories;
        }
    }
    int files = 0;
    for (auto it = sorted.rbegin(); it != sorted.rend() && files < 2; ++it) {
        if (isDirectory(*it))
            continue;
        std::string fullName((*it)->GetValueAt(name).AsStringView());
        std::string_view ext = (*it)->GetValueAt(extension).AsStringView();
        if (!ext.empty())
            fullName += "." + std::string(ext);
        if (fullName == kCommentFileName)
            continue;
        result.AddRecord(**it);
        ++files;
    }

    if (!catalog)
        return;
    const int title = catalog->FieldIndex("Title");
    const int catalogExtension = catalog->FieldIndex("Extension");
    if (title < 0 || catalogExtension < 0)
        return;
    // Lower-cased once: the bar picks again at every rebuild of a window,
    // and a directory of a hundred thousand entries meets every catalog row.
    struct Wanted {
        bool anyTitle, anyExtension;
        std::string title, extension;
    };
    std::vector<Wanted> wanted;
    for (int c = 0; c < catalog->GetRecordCount(); ++c) {
        std::string_view t = catalog->GetValue(title, c).AsStringView();
        std::string_view e = catalog->GetValue(catalogExtension, c).AsStringView();
        wanted.push_back({t == "*", e == "*", LowerCaseText(t), LowerCaseText(e)});
    }
    for (const QRecord* row : sorted) {
        const std::string rowName = LowerCaseText(row->GetValueAt(name).AsStringView());
        const std::string rowExtension = LowerCaseText(row->GetValueAt(extension).AsStringView());
        for (const Wanted& w : wanted)
            if ((w.anyTitle || w.title == rowName) &&
                (w.anyExtension || w.extension == rowExtension))
                result.AddRecord(*row);
    }
}

void PickQuickSearch(const QTable& source, const std::string& text, QTable& result) {
    StartResult(source, result);
    const std::vector<std::string> patterns = SplitList(LowerCaseText(text), ';');
    if (patterns.empty())
        return;
    const int name = source.FieldIndex("Name");
    const int extension = source.FieldIndex("Extension");
    for (int r = 0; r < source.GetRecordCount(); ++r) {
        const QRecord& row = *source.GetRecord(r);
        if (IsParentRow(row, name))
            continue;
        // Name + "." + Extension even without an extension: "readme." is
        // what the patterns would see of "readme" anyway (a name without a
        // dot is given one), so "*.*" and "*." match it and "*.txt" does not.
        std::string candidate = LowerCaseText(row.GetValueAt(name).AsStringView());
        candidate += '.';
        candidate += LowerCaseText(row.GetValueAt(extension).AsStringView());
        if (MatchAnyPattern(patterns, candidate))
            result.AddRecord(row);
    }
    result.Sort("Name", true);
}

void PickMovedCopied(const QTable& source, QTable& result,
                     const std::function<bool(const std::string&)>& isRegistered,
                     std::chrono::milliseconds limit) {
    StartResult(source, result);
    const auto start = std::chrono::steady_clock::now();
    const int name = source.FieldIndex("Name");
    const int path = source.FieldIndex("Path");
    for (int r = 0; r < source.GetRecordCount(); ++r) {
        const QRecord& row = *source.GetRecord(r);
        if (!IsParentRow(row, name) &&
            isRegistered(std::string(row.GetValueAt(path).AsStringView())))
            result.AddRecord(row);
        if (std::chrono::steady_clock::now() - start > limit) {
            result.AddRecord(NoticeRow(result, "!!!Too many. 10 secs. time_out"));
            break;
        }
    }
    if (result.GetRecordCount() == 0)
        result.AddRecord(
            NoticeRow(result, "There were no registered operations in this directory."));
}

std::string QuickAccessInfoText(const std::string& path, const std::string& typeName) {
    const std::string entry = StripTrailingSlash(path);
    std::string text = "  Name : " + std::string(FileNameOf(entry));
    const FileStatus status = GetFileStatus(entry);
    if (!status.exists)
        return text;
    // A directory's own size is not its content: it shows 0, as in a listing.
    text += "\r\n  Size:" + NumberText(status.isDirectory ? 0 : status.size);
    text += "\r\n  Created:\r\n " + FormatOleDate(status.created, kTimeFormat);
    text += "\r\n  Modified:\r\n " + FormatOleDate(status.modified, kTimeFormat);
    text += "\r\n  Acessed:\r\n " + FormatOleDate(status.accessed, kTimeFormat);
    text += "\r\n  Attr      : " + AttributeWords(status.attributes);
    text += "\r\n  Type: " + typeName;
    if (status.isSymlink)
        text += "\r\n  Link target: " + ResolveShortcut(entry);
    const std::string comment = GetComment(entry);
    if (!comment.empty())
        text += "\r\n  Comment:\r\n " + comment;
    return text;
}

std::string QuickAccessSelectionText(size_t count, uint64_t totalSize) {
    return std::to_string(count) + " items selected\r\n  Total size: " + NumberText(totalSize);
}

} // namespace orvo
