#pragma once

#include "browse/DirectoryListing.h"
#include "store/QTable.h"

#include <string>
#include <vector>

namespace orvo {

// What a browse window shows: its view table rebuilt from its listing.
// The window collects the inputs (options, its selection, the favorites),
// calls Rebuild, and applies the result to its list; everything that is
// not drawing lives here, so it can be tested without a display.
class ViewRebuilder {
public:
    struct Input {
        // The directory being shown (the parent entry's Path); the listing's
        // own path when empty.
        std::string currentDirectory;
        // The "Dont show DirInfo" option: leave the comment file out.
        bool hideCommentFile = false;
        // A list window: its rows in the list's order, no parent entry, the
        // comments the list recorded, and no background picture.
        bool listMode = false;
        // The Paths of the rows selected before the rebuild, the parent
        // entry left out (see SelectedPaths), and the selection mark.
        std::vector<std::string> selectedPaths;
        int selectionMark = -1;
        // Paths that favorites point at; their rows are marked.
        std::vector<std::string> favoriteTargets;
    };

    struct Result {
        // The row to select and focus; with selectedByPath it is the row of
        // the first remembered path, to be scrolled into view.
        int selectRow = -1;
        bool selectedByPath = false;
        // The directory's background picture, empty for none.
        std::string backgroundPicture;
        // The current directory's own comment.
        std::string directoryComment;
        // The favorite targets among the entries, drawn marked.
        std::vector<std::string> markedPaths;
    };

    // A table with the view table's columns (variant B), for a window to own.
    static void UseViewColumns(QTable& view);

    // Empties view and fills it from listing: the comment file left out if
    // asked (it is removed from the listing too), comments merged ("-"
    // where there is none, line breaks shown as blanks), sorted by name
    // with directories first, and the parent entry ".." on row 0.
    static Result Rebuild(DirectoryListing& listing, QTable& view, const Input& input);

    // The view takes the rows of a table rebuilt elsewhere (emptying it) and
    // keeps its own name.
    static void AdoptRows(QTable& view, QTable& fresh);

    // The Paths of the given rows, the parent entry left out: what a window
    // remembers before a rebuild.
    static std::vector<std::string> SelectedPaths(const QTable& view,
                                                  const std::vector<int>& selectedRows);

    // The picture named orvoimage with the last of the extensions jpg, bmp,
    // gif, tif, ico, png that exists in the directory; empty when none.
    static std::string BackgroundPictureOf(const std::string& directory);

    // A comment as one line: carriage returns and line feeds become blanks,
    // and an empty comment shows as "-".
    static std::string CommentCell(std::string comment);

private:
    // The row to select after a rebuild and the rows of favorite targets
    // (from firstEntry on: the parent entry is never marked).
    static void FindSelectionAndMarks(const QTable& view, const Input& input, int firstEntry,
                                      Result& result);
};

} // namespace orvo
