#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace orvo {

class AutoViewController;
class BackgroundArea;
class CChildFrame;
class CQuickAccessBar;
class COrvoBrowserView;
class CSearchDlg;

// The main window: menus, tool bar, status bar and the area that holds the
// browse windows. Commands go to the active browse window first and to the
// frame when no window takes them.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens a browse window on a directory; null when it cannot be shown.
    COrvoBrowserView* OpenBrowseWindow(const std::string& path);
    COrvoBrowserView* ActiveView() const;
    // Every browse window, the active one first, then towards the back.
    QList<COrvoBrowserView*> ViewsInStackingOrder() const;
    CChildFrame* FrameOf(COrvoBrowserView* view) const;
    BackgroundArea* Area() const { return area_; }

    // Start-up after construction: the windows of the last run (or two
    // side by side on the home directory), a file-list document named on
    // the command line, the tip of the day.
    void Startup(const QStringList& arguments);
    void RestoreWindows();
    // Writes the window layout into "Browse windows".
    void RecordLayout();
    void ApplyBackground();

    // Menus later features add their commands to.
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* EditMenu() const { return editMenu_; }
    QMenu* ViewMenu() const { return viewMenu_; }
    QMenu* ToolsMenu() const { return toolsMenu_; }
    QMenu* WindowMenu() const { return windowMenu_; }
    QMenu* OptionsMenu() const { return optionsMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }
    QToolBar* MainToolBar() const { return toolBar_; }

    // The commands, public so tests and other windows can run them.
    void NewWindow();
    void TileWindows();
    void ToggleMaximize();
    void GoToWindow();
    void GoToDirectory();
    void EditComment();
    void ShowKeyboardMap();
    void ShowAbout();
    void RereadOptions();
    void ShowGeneralOptions();
    void ShowFileColors();
    void ShowSpecialFileTypes();
    void ShowTipOfTheDay();
    // F5 and F6: the selection of the active window into another window's
    // directory, or (Ctrl held) into a directory chosen in a folder dialog.
    void CopyTo(bool pickFolder = false);
    void MoveTo(bool pickFolder = false);
    // Re-reads every browse window that shows one of the directories.
    void RefreshDirectories(const QStringList& directories);
    // Alt+F7: a new search window for the active browse window.
    void SearchFiles();
    // A search window for a browse window (or none), with the search typed
    // into its path box ("?names \"text\"") when there is one.
    CSearchDlg* OpenSearchWindowFor(COrvoBrowserView* view, const QString& quickForm);
    // Shows the file's directory in the active browse window (a new one
    // when there is none) with the file selected.
    void GoToFile(const QString& path);
    // A new list-mode window holding the paths.
    void MakeListWindow(const QStringList& paths);
    // File lists (MainFrameLists.cpp). A new list window with the paths.
    COrvoBrowserView* CreateListWindow(const std::vector<std::string>& paths);
    // F9: a list window with the active window's selection.
    void NewListWindow();
    // A list document in a new list window (asked for when path is empty);
    // null when nothing was opened.
    COrvoBrowserView* OpenListDocument(const QString& path = QString());
    void SaveListAs();
    void ExportList();
    void ShowListStatus();
    void RefreshList();
    // "Go there": a browse window on the entry's directory, the entry selected.
    void GoThere(const QString& path);
    // The active window when it is a list window.
    COrvoBrowserView* ActiveListView() const;
    QMenu* ListMenu() const { return listMenu_; }
    // Alt+1: the quick access bar shown or hidden (MainFrameQuickAccess.cpp).
    void ToggleQuickAccessBar();
    CQuickAccessBar* QuickAccessBar() const { return quickAccess_; }
    // F3 (Alt+F3 as text): the first selected item in its viewer.
    void QuickView(bool asText = false);
    // Ctrl+F3: a viewer that follows the selection, on or off.
    void ToggleAutoView();
    // Thumbnails on the left, the auto-view window beside them.
    void ArrangeThumbnailsAutoview();
    AutoViewController* AutoView() const { return autoView_; }
    // Asks for one of the open windows (or any directory); "" when cancelled.
    QString ChooseWindowPath(bool* isWindow = nullptr, COrvoBrowserView** chosen = nullptr);
    // Favorites, temporary directories and the size-counting mode
    // (MainFrameFavorites.cpp).
    void ShowFavoritesMenu();
    void ShowSystemFavoritesMenu();
    void AddCurrentToFavorites();
    void EditFavoritesDirectory();
    void OpenFavorite(const std::string& path);
    void CreateTemporaryDirectory();
    void ListTemporaryDirectories();
    void EditTemporaryDirectories();
    void DeleteTemporaryDirectories();
    void SetCountingMode(bool on);

signals:
    void ActiveViewChanged(COrvoBrowserView* view);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildActions();
    void BuildFileOperationActions();
    void BuildFileCommandActions();
    void BuildFavoritesActions();
    // The directory in the active browse window, or in a new one.
    void ShowDirectory(const std::string& directory);
    void BuildViewerActions();
    void OnViewSelectionChanged();
    void TransferSelection(int kind, bool pickFolder);
    void BuildSearchActions();
    void BuildListActions();
    void BuildQuickAccessBar();
    // After a file operation a list window reads its rows again and lets go
    // of the entries that left the directories the operation touched.
    void RefreshListAfterOperation(COrvoBrowserView* view, const QStringList& directories);
    // Puts a new browse window into the area, wired to the frame.
    CChildFrame* AddViewWindow(COrvoBrowserView* view);
    void ConnectSearch(COrvoBrowserView* view);
    void BuildMenus();
    void UpdateTitle();
    void UpdateViewModeChecks();
    void FillWindowMenu();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void SaveOptionsNow();

    BackgroundArea* area_;
    QLabel* statusPath_;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* listMenu_ = nullptr;
    CQuickAccessBar* quickAccess_ = nullptr;
    QAction* quickAccessAction_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QActionGroup* viewModes_ = nullptr;
    QList<QAction*> viewModeActions_;
    QPointer<COrvoBrowserView> lastActive_;
    bool optionsSaved_ = false;
    AutoViewController* autoView_ = nullptr;
    QAction* autoViewAction_ = nullptr;
    QString desiredTitle_;
};

} // namespace orvo
