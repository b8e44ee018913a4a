#include "workspace/ui/FrameSession.h"

#include "assist/ui/TipCommands.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/ui/CFileOperationDlg.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "workspace/AppState.h"
#include "workspace/WindowLayout.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/CQuickAccessBar.h"
#include "workspace/ui/FrameListCommands.h"
#include "workspace/ui/FrameQuickAccess.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/MainFrameOptions.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>

namespace orvo {

namespace {

QTable* BrowseWindowsTable() {
    QDataBase& db = GetOptionsDatabase();
    QTable* table = db.GetTable(kBrowseWindowsTable);
    if (!table)
        table = db.AddTable(MakeOptionTable(kBrowseWindowsTable));
    return table;
}

} // namespace

FrameSession::FrameSession(CMainFrame& frame) : frame_(frame) {}

void FrameSession::LoadOptions() {
    LoadMainFrameOptions(&frame_);
}

void FrameSession::SaveOptions() {
    if (optionsSaved_)
        return;
    optionsSaved_ = true;
    SaveMainFrameOptions(&frame_);
}

void FrameSession::Startup(const QStringList& arguments) {
    AppState& state = GetAppState();
    state.startupFinished = false;
    RestoreWindows();
    // Each file-list document named on the command line opens in a list
    // window: the desktop passes every list the user opened together. A
    // directory opens a browse window, as "Open with" in another file
    // manager means.
    for (const QString& argument : arguments) {
        const std::string path = QToPath(argument);
        if (GetFileStatus(path).isDirectory)
            frame_.OpenBrowseWindow(path);
        else
            frame_.Lists().OpenListDocument(argument);
    }
    RunTipOfDay(&frame_, GetOptionsDatabase(), false);
    state.startupFinished = true;
}

QStringList FrameSession::CommandLinePaths(int argc, const char* const* argv) {
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths << PathToQ(AbsolutePath(argv[i]));
    return paths;
}

void FrameSession::RestoreWindows() {
    std::vector<SavedWindow> saved = ReadSavedWindows(*BrowseWindowsTable());
    std::vector<SavedWindow> order = WindowsToRestore(saved);
    if (!saved.empty() && !order.empty())
        frame_.Area()->closeAllSubWindows();
    for (const SavedWindow& w : order) {
        // The saved path's bytes decide: a name need not be UTF-8.
        const FileStatus status = GetFileStatus(w.path);
        const QString shown = PathToQ(w.path);
        COrvoBrowserView* view = nullptr;
        if (shown.endsWith(QStringLiteral(".orl"), Qt::CaseInsensitive) && status.isRegular)
            view = frame_.Lists().OpenListDocument(shown);
        else if (status.isDirectory)
            view = frame_.OpenBrowseWindow(w.path);
        CChildFrame* frame = view ? frame_.FrameOf(view) : nullptr;
        if (!frame)
            continue;
        if (w.maximized) {
            frame->showMaximized();
        } else {
            frame->showNormal();
            frame->setGeometry(QRect(QPoint(w.x1, w.y1), QPoint(w.x2 - 1, w.y2 - 1)));
        }
        if (!w.selectedPath.empty())
            view->SelectPath(w.selectedPath);
    }
    if (frame_.Area()->subWindowList().isEmpty()) {
        std::string home = QDir::homePath().toStdString();
        frame_.OpenBrowseWindow(home);
        frame_.OpenBrowseWindow(home);
        frame_.Windows().TileWindows();
    }
}

void FrameSession::RecordLayout() {
    std::vector<SavedWindow> windows;
    for (COrvoBrowserView* view : frame_.ViewsInStackingOrder()) {
        CChildFrame* frame = frame_.FrameOf(view);
        if (!frame)
            continue;
        SavedWindow w;
        // A maximised window keeps its normal rectangle for when it is
        // restored; the flag brings it back maximised.
        QRect r = frame->isMaximized() ? frame->normalGeometry() : frame->geometry();
        if (!r.isValid())
            r = frame->geometry();
        w.x1 = r.left();
        w.y1 = r.top();
        w.x2 = r.right() + 1;
        w.y2 = r.bottom() + 1;
        w.maximized = frame->isMaximized();
        w.path = view->ListMode().IsListMode() ? view->ListMode().ListDocumentPath()
                                               : view->CurrentPath();
        w.selectedPath = view->FirstSelectedPath();
        windows.push_back(std::move(w));
    }
    WriteSavedWindows(*BrowseWindowsTable(), windows);
}

bool FrameSession::Shutdown() {
    AppState& state = GetAppState();
    for (COrvoBrowserView* view : frame_.ViewsInStackingOrder()) {
        if (view->Counting().IsCounting()) {
            // The same refusal a single counting window gives.
            if (CChildFrame* frame = frame_.FrameOf(view))
                frame->close();
            return false;
        }
    }
    // Quitting stops running copies and deletes between two entries (nothing
    // is left half written), but the user should know before it happens.
    int working = 0;
    for (CFileOperationDlg* operation : frame_.findChildren<CFileOperationDlg*>())
        working += operation->IsWorking();
    if (working > 0 &&
        !UserPrompt::AskYesNo(
            &frame_,
            tr("%n file operation(s) are still running. Stop them and quit?", nullptr, working)))
        return false;
    state.closing = true;
    RecordLayout();
    CQuickAccessBar* bar = frame_.QuickAccess().Bar();
    SetBoolOption(kShowQuickAccessBarKey, bar && !bar->isHidden());
    RunShutdownHooks(&frame_);
    // Close the browse windows before the frame goes, so none of them
    // outlives the options it reads.
    frame_.Area()->closeAllSubWindows();
    SaveOptions();
    return true;
}

} // namespace orvo
