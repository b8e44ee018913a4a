#include "browse/ViewRebuilder.h"

#include "comments/CommentFile.h"
#include "comments/PathComments.h"
#include "platform/PathText.h"
#include "store/Collation.h"
#include "store/ListingFields.h"

#include <algorithm>
#include <sys/stat.h>
#include <unordered_set>

namespace orvo {

namespace {

std::string FullNameOf(const QRecord& row) {
    std::string name(row.GetValue("Name").AsStringView());
    std::string_view extension = row.GetValue("Extension").AsStringView();
    if (!extension.empty()) {
        name += '.';
        name += extension;
    }
    return name;
}

void RemoveCommentFileRow(DirectoryListing& listing) {
    for (int i = 0; i < listing.GetRecordCount(); ++i) {
        if (FullNameOf(*listing.GetRecord(i)) == kCommentFileName) {
            listing.DeleteRecord(i);
            return;
        }
    }
}

// A directory's own comment, read straight from its comment file: the
// caller knows it is a directory, so the path-level stat is not needed.
std::string OwnComment(const std::string& directory) {
    CommentFile file;
    if (file.Read(directory) < 0)
        return {};
    return file.OwnComment();
}

} // namespace

void ViewRebuilder::UseViewColumns(QTable& view) {
    view.SetFields(kListingFieldsB, kListingFieldCount);
}

std::string ViewRebuilder::CommentCell(std::string comment) {
    for (char& c : comment)
        if (c == '\r' || c == '\n')
            c = ' ';
    return comment.empty() ? std::string("-") : comment;
}

std::string ViewRebuilder::BackgroundPictureOf(const std::string& directory) {
    std::string picture;
    for (const char* ext : {"jpg", "bmp", "gif", "tif", "ico", "png"}) {
        std::string candidate = JoinPath(directory, std::string("orvoimage.") + ext);
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0)
            picture = candidate; // a later extension wins
    }
    return picture;
}

std::vector<std::string> ViewRebuilder::SelectedPaths(const QTable& view,
                                                      const std::vector<int>& selectedRows) {
    std::vector<std::string> paths;
    for (int row : selectedRows) {
        if (row < 0 || row >= view.GetRecordCount() ||
            view.GetValue("Name", row).AsStringView() == "..")
            continue;
        paths.emplace_back(view.GetValue("Path", row).AsStringView());
    }
    return paths;
}

namespace {

// For each view column the listing column it is copied from (-1: none).
std::vector<int> SourceColumns(const QTable& listing, const QTable& fresh) {
    const int columns = fresh.GetFieldCount();
    std::vector<int> source(static_cast<size_t>(columns), -1);
    for (int c = 0; c < columns; ++c) {
        int i = listing.FieldIndex(fresh.Columns()[c].GetName());
        if (i >= 0 && listing.Columns()[i].GetType() == fresh.Columns()[c].GetType())
            source[static_cast<size_t>(c)] = i;
    }
    return source;
}

QRecord* AppendCopy(QTable& fresh, const QRecord& from, const std::vector<int>& source) {
    const int columns = fresh.GetFieldCount();
    QRecord* row = fresh.AppendArenaRecord(static_cast<uint32_t>(columns));
    for (int c = 0; c < columns; ++c) {
        int i = source[static_cast<size_t>(c)];
        if (i < 0) {
            row->ValueRef(static_cast<uint32_t>(c)) = QValue::Default(fresh.Columns()[c].GetType());
            continue;
        }
        const QValue& v = from.GetValueAt(i);
        row->ValueRef(static_cast<uint32_t>(c)) =
            v.Type() == QVT_LPSTR ? fresh.ArenaString(v.AsStringView()) : v;
    }
    return row;
}

// The view takes the new rows (their memory with them) and keeps its name.
void ReplaceRows(QTable& view, QTable& fresh) {
    std::string name = view.GetName();
    std::string secondText = view.GetSecondText();
    uint32_t created = view.GetCreated();
    view.TakeContentsFrom(fresh);
    view.SetName(std::move(name));
    view.SetSecondText(std::move(secondText));
    view.SetCreated(created);
}

} // namespace

void ViewRebuilder::AdoptRows(QTable& view, QTable& fresh) {
    ReplaceRows(view, fresh);
}

namespace {

// A list window's rows stay in the list's own order, with no parent entry;
// their comments are the ones the list recorded, as it holds entries of
// many directories.
void RebuildList(const DirectoryListing& listing, QTable& view) {
    QTable fresh;
    fresh.MutableColumns() = view.Columns();
    const std::vector<int> source = SourceColumns(listing, fresh);
    const int commentColumn = fresh.FieldIndex("Comment");
    fresh.Reserve(static_cast<size_t>(listing.GetRecordCount()));
    for (int r = 0; r < listing.GetRecordCount(); ++r) {
        const QRecord& from = *listing.GetRecord(r);
        QRecord* row = AppendCopy(fresh, from, source);
        if (commentColumn >= 0)
            row->ValueRef(static_cast<uint32_t>(commentColumn)) =
                fresh.ArenaString(ViewRebuilder::CommentCell(
                    std::string(row->GetValueAt(commentColumn).AsStringView())));
    }
    ReplaceRows(view, fresh);
}

} // namespace

ViewRebuilder::Result ViewRebuilder::Rebuild(DirectoryListing& listing, QTable& view,
                                             const Input& input) {
    Result result;
    if (input.listMode) {
        RebuildList(listing, view);
        FindSelectionAndMarks(view, input, 0, result);
        return result;
    }
    const std::string current =
        input.currentDirectory.empty() ? listing.GetDirectoryPath() : input.currentDirectory;
    // The drive list is no directory: it has no comment file or picture, and
    // its text must not be taken for a relative path.
    const bool isComputer = current == kComputerPath;

    if (input.hideCommentFile)
        RemoveCommentFileRow(listing);

    CommentFile comments;
    const bool haveComments = !isComputer && comments.Read(current) > 0;
    const int pathColumn = listing.FieldIndex("Path");
    // The listing holds every name of the directory: a lookup that needs
    // them (a key that matches a name only ignoring case) asks it instead
    // of the disk.
    DirectoryNames names([&listing, pathColumn](std::unordered_set<std::string>& into) {
        into.emplace(kCommentFileName); // its row may be hidden
        for (int r = 0; r < listing.GetRecordCount(); ++r)
            into.emplace(FileNameOf(listing.GetRecord(r)->GetValueAt(pathColumn).AsStringView()));
    });

    // Built in a new table that then replaces the view's rows, so the old
    // rows' memory goes with them (see DirectoryListing::TakeRows).
    QTable fresh;
    fresh.MutableColumns() = view.Columns();
    const std::vector<int> source = SourceColumns(listing, fresh);
    const int commentColumn = fresh.FieldIndex("Comment");
    const int nameColumn = listing.FieldIndex("Name");
    const int directoryColumn = listing.FieldIndex("Directory");

    // The rows go into the view already in the order of Sort("Name",
    // ascending): directories first, then names by collation ignoring case,
    // equal rows in listing order. Ordering the listing's rows by keys made
    // once is several times faster than sorting the finished table, whose
    // general comparison re-reads every row's cells at each step.
    // The keys share one buffer: a hundred thousand small strings would
    // cost more in heap overhead than in text.
    struct Position {
        size_t keyStart;
        size_t keyLength;
        int row;
        bool directory;
    };
    std::vector<Position> order;
    std::wstring keys;
    order.reserve(static_cast<size_t>(listing.GetRecordCount()));
    for (int r = 0; r < listing.GetRecordCount(); ++r) {
        const QRecord& from = *listing.GetRecord(r);
        std::string_view name = from.GetValueAt(nameColumn).AsStringView();
        if (name == "..")
            continue;
        std::wstring key = CollationKey(name, false);
        order.push_back(
            {keys.size(), key.size(), r, from.GetValueAt(directoryColumn).AsBool() != 0});
        keys += key;
    }
    auto keyOf = [&keys](const Position& p) {
        return std::wstring_view(keys.data() + p.keyStart, p.keyLength);
    };
    std::stable_sort(order.begin(), order.end(), [&](const Position& a, const Position& b) {
        if (a.directory != b.directory)
            return a.directory;
        return keyOf(a) < keyOf(b);
    });
    std::wstring().swap(keys); // before the view's rows take their memory

    fresh.Reserve(order.size() + 1);
    for (const Position& position : order) {
        const QRecord& from = *listing.GetRecord(position.row);
        QRecord* row = AppendCopy(fresh, from, source);
        if (commentColumn < 0)
            continue;
        std::string comment;
        std::string_view path = from.GetValueAt(pathColumn).AsStringView();
        const bool directory = from.GetValueAt(directoryColumn).AsBool();
        if (directory && !listing.MayHang(path))
            comment = OwnComment(std::string(path));
        else if (!directory && haveComments)
            comment = comments.GetComment(FileNameOf(path), names);
        row->ValueRef(static_cast<uint32_t>(commentColumn)) =
            fresh.ArenaString(CommentCell(std::move(comment)));
    }

    QRecord parent = fresh.NewRecord();
    parent.SetValue("Name", QValue(std::string_view("..")));
    parent.SetValue("Path", QValue(std::string_view(current)));
    fresh.InsertRecord(0, parent);

    ReplaceRows(view, fresh);

    if (!isComputer) {
        if (!input.listMode)
            result.backgroundPicture = BackgroundPictureOf(current);
        result.directoryComment = GetComment(current);
    }

    FindSelectionAndMarks(view, input, 1, result);
    return result;
}

void ViewRebuilder::FindSelectionAndMarks(const QTable& view, const Input& input, int firstEntry,
                                          Result& result) {
    const int rows = view.GetRecordCount();
    if (!input.selectedPaths.empty()) {
        int path = view.FieldIndex("Path");
        for (int r = 0; r < rows && result.selectRow < 0; ++r) {
            if (view.GetValue(path, r).AsStringView() == input.selectedPaths.front()) {
                result.selectRow = r;
                result.selectedByPath = true;
            }
        }
        if (result.selectRow < 0 && input.selectionMark >= 0 && input.selectionMark < rows)
            result.selectRow = input.selectionMark;
    } else {
        result.selectRow = 0;
    }

    if (!input.favoriteTargets.empty()) {
        // Exact comparison: on a case-sensitive file system two paths that
        // differ in case are two different entries.
        std::unordered_set<std::string_view> targets(input.favoriteTargets.begin(),
                                                     input.favoriteTargets.end());
        int path = view.FieldIndex("Path");
        for (int r = firstEntry; r < rows; ++r)
            if (targets.count(view.GetValue(path, r).AsStringView()))
                result.markedPaths.push_back(view.GetText(path, r));
    }
}

} // namespace orvo
