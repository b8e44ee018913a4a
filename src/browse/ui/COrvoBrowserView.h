#pragma once

#include "browse/BrowseHistory.h"
#include "browse/DirectoryListing.h"
#include "browse/RowDrawing.h"
#include "browse/RowMarks.h"
#include "store/QTable.h"

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAbstractItemView;
class QColor;
class QImage;
class QComboBox;
class QListView;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace orvo {

class BackgroundLoader;
class BrowseItemDelegate;
class CETip;
class DriveComboBox;
class RasterImage;
class SizeCountRunner;
class ViewTableModel;

// A browse window: one directory (or the drive list) shown as a list in one
// of five view modes, with a drive box, a path box and Back, Forward, Up and
// Up2. It owns its listing, its view table and its history.
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
    void OpenItem(int row);
    void Back();
    void Forward();
    void Up();
    void Up2();
    // A header click: ascending unless the column was the last sorted one.
    void SortByColumn(int column);
    // Renames a row's entry; the comment moves along. False when refused.
    bool RenameRow(int row, const QString& newName);
    void EditComment();
    void StartQuickSearch(const QString& typed);
    void ShowHeaderMenu(int column, const QPoint& globalPos);

    const std::string& CurrentPath() const { return currentPath_; }
    const std::string& CurrentComment() const { return currentComment_; }
    QString DocumentTitle() const { return title_; }
    // The short name the window chooser shows (a list window's title).
    QString WindowName() const;
    const BrowseHistory& History() const { return history_; }

    std::vector<std::string> SelectedPaths() const;
    std::string FirstSelectedPath() const;
    std::vector<int> SelectedRows() const;
    int SelectionMark() const;
    void SelectRow(int row, bool clearOthers = true);
    bool SelectPath(const std::string& path);
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
    bool IsCounting() const { return counting_; }
    bool IsListMode() const { return listMode_; }
    std::string ListDocumentPath() const { return listDocumentPath_; }

    QTable& ViewTable() { return viewTable_; }
    DirectoryListing& Listing() { return listing_; }
    ViewTableModel* Model() const { return model_; }
    QAbstractItemView* CurrentList() const;
    QTableView* DetailsList() const { return details_; }
    QComboBox* PathBox() const;
    QComboBox* DriveBox() const;
    const std::string& BackgroundPicture() const { return backgroundPicture_; }
    const std::vector<int>& MarkedRows() const { return marks_.MarkedRows(); }
    const RowMarks& Marks() const { return marks_; }
    // List mode (BrowseViewListMode.cpp): the window shows a file list
    // instead of a directory. EnterListMode empties it and titles it
    // "LIST OF FILES"; there is no way back to a directory.
    void EnterListMode();
    // Appends rows for the paths and reads their information.
    void AddListPaths(const std::vector<std::string>& paths);
    // Reads the information of every row anew.
    void RefreshListRows();
    // Drops the rows whose entries no longer exist.
    void RemoveDeadRows();
    // "Remove from the list": the selected rows go, the files stay.
    void RemoveFromList();
    // "Go there": the first selected entry in a browse window of its
    // directory.
    void GoThere();
    // The list document the window's rows were read from or written to:
    // the window then carries its name. With rowsChanged the rows are shown
    // anew from the listing (the document was read into Listing()).
    void SetListDocument(const std::string& path, bool rowsChanged);
    // The quick access bar's current list: while no favorite target is
    // marked, rows with these paths are drawn marked.
    void SetQuickAccessPaths(const std::vector<std::string>& paths);
    // What the directory's background picture tells the drawing.
    const BackgroundTone& Tone() const { return tone_; }
    // The listing's total size in bytes from a size count (0: not counted);
    // the Size cells then show their share as a bar.
    void SetListingTotal(uint64_t bytes);
    uint64_t ListingTotal() const { return listingTotal_; }
    BackgroundLoader* Loader() const { return loader_; }
    // The drive type of a drive-list row's path (DRIVE_UNKNOWN otherwise).
    int DriveTypeOf(const std::string& path) const;
    // The information tip and its text for a row (what the tip shows).
    CETip* Tip() const { return tip_; }
    QString HoverText(int row) const;

    // Size counting: while the mode is on, every rebuilt listing counts
    // its directories (BrowseViewCounting.cpp).
    static void SetCountingMode(bool on);
    static bool CountingMode();
    void CountDirectories(bool selectedOnly);
    void StopCountingDirectory();
    // File commands on the selection, the clipboard and dropped files
    // (BrowseViewFileCommands.cpp, BrowseViewNewEntries.cpp).
    void CreateShortcuts();
    // Del: in a list window removes from the list, otherwise deletes.
    void RemoveSelection();
    // Alt+Del: deletes from the disk, in a list window too.
    void DeleteSelection();
    void OpenWithExplorer();
    void OpenShellHere();
    void GoToLinkTarget();
    void CopyToClipboard();
    void AddToClipboard();
    void Paste();
    void PasteShortcut();
    void NamesToClipboard();
    void PathsToClipboard();
    void FlashSelection(int milliseconds, const QColor& color);
    // Files dropped on a row (-1: beside the rows) with the keys held.
    void DropFiles(const std::vector<std::string>& paths, int row, Qt::KeyboardModifiers modifiers);
    bool SaveDroppedImage(const QImage& picture);
    void SelectPaths(const std::vector<std::string>& paths);
    // F7 (Ctrl: copy the selection into it, Shift: move) and Shift+F4.
    void NewDirectory(bool copySelection, bool moveSelection);
    void NewFile();
    // The dialog that may convert a dropped picture first ("Run conversion
    // when image dropped"): false when cancelled; extension is the format.
    static void SetDroppedImageConverter(
        std::function<bool(QWidget*, RasterImage&, std::string&)> converter);
    // Where the paths favorites point at come from; their rows are marked.
    static void SetFavoriteTargetsSource(std::function<std::vector<std::string>(QWidget*)> source);

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
    // Every 50 ms, for the hover information.
    void HoverTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ApplyListFont();
    void StartBackgroundPicture();
    void ShowBackgroundPicture();
    void RestartLoading(bool forgetIcons);
    void OnHoverTick();
    void HideTip();
    bool HandleListKey(QKeyEvent* key);
    void OnPathEntered(const QString& text);
    void OnDriveChosen(int index);
    void UpdateButtons();
    void ShowListTitle();
    void ShowHistoryEntry(const BrowseHistory::Entry* entry);
    void RunOrOpen(const std::string& path, bool inShell, const std::string& workingDirectory);
    int RowOfPath(const std::string& path) const;
    void SelectMatchingRows(const QString& pattern);
    void InvertSelection();
    void InstallFileCommands();
    std::vector<std::string> FavoriteTargets();
    void ShowCountText(int row, const QString& path, const QString& text, qint64 kilobytes);
    void SelectionToClipboard(bool fullPaths);
    static std::string LowerExtension(const std::string& extension);

    DirectoryListing listing_;
    QTable viewTable_;
    std::vector<int> driveTypes_;
    std::string currentPath_;
    std::string currentComment_;
    std::string backgroundPicture_;
    std::string listDocumentPath_;
    RowMarks marks_;
    BackgroundTone tone_;
    QPixmap backgroundPixmap_;
    uint64_t backgroundGeneration_ = 0;
    uint64_t listingTotal_ = 0;
    int thumbnailSize_ = 96;
    QString title_;
    BrowseHistory history_;
    int sortColumn_ = -1;
    bool listMode_ = false;
    bool counting_ = false;
    SizeCountRunner* sizeCounter_ = nullptr;
    ViewMode mode_ = ViewMode::Details;

    ViewTableModel* model_;
    DriveComboBox* driveBox_;
    QComboBox* pathBox_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* up_;
    QToolButton* up2_;
    QStackedWidget* stack_;
    QTableView* details_;
    QListView* icons_;
    QTimer hoverTimer_;
    BackgroundLoader* loader_;
    BrowseItemDelegate* delegate_;
    CETip* tip_;
    // The hover tip: the row under the pointer, how many ticks it stayed,
    // and the row whose text is being gathered or shown.
    int hoverRow_ = -1;
    int hoverTicks_ = 0;
    int tipRow_ = -1;
    uint64_t hoverGeneration_ = 0;
    bool tipPlays_ = false; // the tip's file is playing quietly
};

} // namespace orvo
