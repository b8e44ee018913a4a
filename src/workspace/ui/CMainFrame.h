#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace orvo {

class BackgroundArea;
class CChildFrame;
class COrvoBrowserView;
class FrameDialogCommands;
class FrameFavorites;
class FrameFileCommands;
class FrameListCommands;
class FrameQuickAccess;
class FrameRecentFiles;
class FrameSearch;
class FrameSession;
class FrameTransfers;
class FrameViewers;
class FrameWindowCommands;

// The main window: menus, tool bar, status bar and the area that holds the
// browse windows. Commands go to the active browse window first and to the
// frame when no window takes them; the frame's own commands live in the
// command objects it owns, one for each kind of work.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens a browse window on a directory; null when it cannot be shown.
    COrvoBrowserView* OpenBrowseWindow(const std::string& path);
    // Puts a new browse window into the area, wired to the frame.
    CChildFrame* AddViewWindow(COrvoBrowserView* view);
    COrvoBrowserView* ActiveView() const;
    // Every browse window, the active one first, then towards the back.
    QList<COrvoBrowserView*> ViewsInStackingOrder() const;
    CChildFrame* FrameOf(COrvoBrowserView* view) const;
    BackgroundArea* Area() const { return area_; }
    void ApplyBackground();
    // The view-mode buttons follow the active window; a command that
    // changes its mode behind their back calls this.
    void UpdateViewModeChecks();

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
    FrameWindowCommands& Windows() const { return *windows_; }
    FrameListCommands& Lists() const { return *lists_; }
    FrameFavorites& Favorites() const { return *favorites_; }
    FrameViewers& Viewers() const { return *viewers_; }
    FrameTransfers& Transfers() const { return *transfers_; }
    FrameSearch& Search() const { return *search_; }
    FrameFileCommands& FileCommands() const { return *fileCommands_; }
    FrameQuickAccess& QuickAccess() const { return *quickAccess_; }
    FrameDialogCommands& Dialogs() const { return *dialogs_; }
    FrameSession& Session() const { return *session_; }
    FrameRecentFiles& RecentFiles() const { return *recentFiles_; }

signals:
    void ActiveViewChanged(COrvoBrowserView* view);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildActions();
    void UpdateTitle();
    void OnSubWindowActivated(QMdiSubWindow* window);

    // The command objects go before the base class takes the windows down,
    // so no browse window's last signals reach them.
    std::unique_ptr<FrameSession> session_;
    std::unique_ptr<FrameWindowCommands> windows_;
    std::unique_ptr<FrameListCommands> lists_;
    std::unique_ptr<FrameFavorites> favorites_;
    std::unique_ptr<FrameViewers> viewers_;
    std::unique_ptr<FrameTransfers> transfers_;
    std::unique_ptr<FrameSearch> search_;
    std::unique_ptr<FrameFileCommands> fileCommands_;
    std::unique_ptr<FrameQuickAccess> quickAccess_;
    std::unique_ptr<FrameDialogCommands> dialogs_;
    std::unique_ptr<FrameRecentFiles> recentFiles_;
    BackgroundArea* area_;
    QLabel* statusPath_;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QActionGroup* viewModes_ = nullptr;
    QList<QAction*> viewModeActions_;
    QPointer<COrvoBrowserView> lastActive_;
    QString desiredTitle_;
};

} // namespace orvo
