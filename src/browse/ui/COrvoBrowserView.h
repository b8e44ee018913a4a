#pragma once

#include "browse/BrowseHistory.h"
#include "browse/DirectoryListing.h"
#include "browse/ViewRebuilder.h"
#include "store/QTable.h"

#include <QWidget>
#include <string>
#include <vector>

class QAbstractItemView;
class QListView;
class QStackedWidget;
class QTableView;

namespace orvo {

class BackgroundLoader;
class BrowseBackground;
class BrowseColumnWidths;
class BrowseCounting;
class BrowseFileCommands;
class BrowseHover;
class BrowseItemDelegate;
class BrowseKeys;
class BrowseListMode;
class BrowseMarks;
class BrowseNewEntries;
class BrowsePathBar;
class BrowseNotice;
class DirectoryWatch;
class ViewTableModel;

// A browse window: one directory (or the drive list) shown as a list in one
// of five view modes, with a drive box, a path box and Back, Forward, Up and
// Up2. It owns its listing, its view table and its history; what it does
// besides showing them is done by the objects its accessors return.
class COrvoBrowserView : public QWidget {
    Q_OBJECT
public:
    enum class ViewMode { LargeIcons, SmallIcons, List, Details, Thumbnails };

    explicit COrvoBrowserView(QWidget* parent = nullptr);
    ~COrvoBrowserView() override;

    // The one way to show a directory (or "Computer/"). With allowNewWindow
    // and Ctrl held the directory opens in a new window instead.
    void Navigate(const std::string& path, bool addToHistory = true, bool rebuild = true,
                  bool allowNewWindow = false);
    // Rebuilds the view table from the listing (re-reading the directory
    // first with reread), keeping the selection.
    void RebuildView(bool rebuild, bool reread, bool clearMarks);
    // What a rebuild needs of the window: its options, selection and
    // favorites. With it a listing and view table can be rebuilt on another
    // thread; AdoptRebuilt then shows them in place of the window's own.
    ViewRebuilder::Input RebuildInput();
    void AdoptRebuilt(DirectoryListing& listing, QTable& view, const ViewRebuilder::Result& result);
    void OpenItem(int row);
    void Back();
    void Forward();
    void Up();
    void Up2();
    // A header click: ascending unless the column was the last sorted one.
    void SortByColumn(int column);
    // Puts the rows back in the order the last header click gave them (a
    // refresh sorts by name); nothing after a navigation to elsewhere.
    void ReapplyHeaderSort();

    // Empty for a list window, which has no directory of its own.
    const std::string& CurrentPath() const;
    QString DocumentTitle() const;
    // The short name the window chooser shows (a list window's title).
    QString WindowName() const;
    const BrowseHistory& History() const { return history_; }

    std::vector<std::string> SelectedPaths() const;
    std::string FirstSelectedPath() const;
    std::vector<int> SelectedRows() const;
    int SelectionMark() const;
    void SelectRow(int row, bool clearOthers = true);
    bool SelectPath(const std::string& path);
    // Selects the rows of all the paths at once, the first of them current.
    void SelectPaths(const std::vector<std::string>& paths);
    void FocusList(int row);

    void SetViewMode(ViewMode mode);
    ViewMode GetViewMode() const { return mode_; }
    // Edge of a thumbnail cell in pixels (96 at start, at least 16).
    int ThumbnailSize() const { return thumbnailSize_; }
    // Ctrl+Numpad + and -: thumbnails 16 pixels larger or smaller and the
    // list's font one step larger or smaller; loading starts again.
    void ChangeThumbnailSize(int delta);
    // The size of an item of the icon views in the current mode.
    QSize IconCellSize() const;
    // The file groups' colours or fonts changed: rows take their new
    // height and are drawn again at once.
    void ApplyRowLooks();
    // Icons (and in thumbnail mode thumbnails) are loaded again for the
    // rows; forgetIcons drops the icons already known.
    void RestartLoading(bool forgetIcons);

    QTable& ViewTable() { return viewTable_; }
    DirectoryListing& Listing() { return listing_; }
    ViewTableModel* Model() const { return model_; }
    QAbstractItemView* CurrentList() const;
    QTableView* DetailsList() const { return details_; }
    BackgroundLoader* Loader() const { return loader_; }
    // The drive type of a drive-list row's path (DRIVE_UNKNOWN otherwise).
    int DriveTypeOf(const std::string& path) const;

    BrowseFileCommands& FileCommands() const { return *fileCommands_; }
    BrowseNewEntries& NewEntries() const { return *newEntries_; }
    BrowseListMode& ListMode() const { return *listMode_; }
    BrowseCounting& Counting() const { return *counting_; }
    BrowseHover& Hover() const { return *hover_; }
    BrowseBackground& Background() const { return *background_; }
    BrowsePathBar& PathBar() const { return *pathBar_; }
    BrowseMarks& Marks() const { return *marks_; }
    // The rows follow the directory on disk; the line above them says what
    // the window cannot show.
    DirectoryWatch& Watch() const { return *watch_; }
    BrowseNotice& Notice() const { return *notice_; }

signals:
    void TitleChanged(const QString& title);
    void PathChanged(const QString& path);
    void NewWindowRequested(const QString& path);
    // The current item or the selection changed (auto view follows it).
    void SelectionChanged();
    // A search typed into the path box ("?names \"text\"").
    void SearchRequested(const QString& form);
    // The selection keys: select (else unselect), starting from the
    // selection (Shift), placed over the list (Ctrl+Numpad *).
    void SelectionDialogRequested(bool select, bool likeSelection, bool overList);
    // A list window's "Go there": the path's directory, the path selected.
    void GoThereRequested(const QString& path);
    // A file list document opened from the rows (Enter on an .orl file).
    void OpenListRequested(const QString& path);
    // The view table was rebuilt (the quick access bar follows it).
    void ListingRebuilt();

private:
    void BuildControls();
    void ShowRebuilt(const ViewRebuilder::Result& result, bool clearMarks);

    DirectoryListing listing_;
    QTable viewTable_;
    std::vector<int> driveTypes_;
    std::string currentPath_;
    QString title_;
    BrowseHistory history_;
    int sortColumn_ = -1;
    // The order the rows show: the last header click's, until the window
    // goes to another directory.
    int shownSortColumn_ = -1;
    bool shownSortAscending_ = true;
    int thumbnailSize_ = 96;
    ViewMode mode_ = ViewMode::Details;

    ViewTableModel* model_;
    BackgroundLoader* loader_;
    BrowseItemDelegate* delegate_;
    QStackedWidget* stack_;
    QTableView* details_;
    QListView* icons_;

    // The jobs are children made before the widgets (but for the
    // background, which needs the lists): they outlast the teardown of the
    // widgets, in which other windows may still ask this one about itself.
    BrowseListMode* listMode_;
    BrowseMarks* marks_;
    BrowseCounting* counting_;
    BrowseFileCommands* fileCommands_;
    BrowseNewEntries* newEntries_;
    BrowseHover* hover_;
    BrowseKeys* keys_;
    BrowsePathBar* pathBar_ = nullptr;
    BrowseBackground* background_ = nullptr;
    BrowseNotice* notice_ = nullptr;
    DirectoryWatch* watch_ = nullptr;
    BrowseColumnWidths* columnWidths_ = nullptr;
};

} // namespace orvo
