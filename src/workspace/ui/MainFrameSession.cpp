// Start-up, shutdown and the saved window layout of the main frame.
#include "assist/ui/TipCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/DataDirectory.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "settings/ui/OptionsCommands.h"
#include "workspace/AppState.h"
#include "workspace/WindowLayout.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/MainFrameOptions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QUrl>

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

void CMainFrame::Startup(const QStringList& arguments) {
    AppState& state = GetAppState();
    state.startupFinished = false;
    RestoreWindows();
    // A file-list document named on the command line opens in a list window.
    if (!arguments.isEmpty())
        OpenListDocument(QFileInfo(arguments.first()).absoluteFilePath());
    RunTipOfDay(this, GetOptionsDatabase(), false);
    state.startupFinished = true;
}

void CMainFrame::RestoreWindows() {
    std::vector<SavedWindow> saved = ReadSavedWindows(*BrowseWindowsTable());
    std::vector<SavedWindow> order = WindowsToRestore(saved);
    if (!saved.empty() && !order.empty())
        area_->closeAllSubWindows();
    for (const SavedWindow& w : order) {
        QFileInfo info(QString::fromStdString(w.path));
        COrvoBrowserView* view = nullptr;
        if (info.suffix().compare(QStringLiteral("orl"), Qt::CaseInsensitive) == 0 && info.isFile())
            view = OpenListDocument(info.filePath());
        else if (info.isDir())
            view = OpenBrowseWindow(w.path);
        CChildFrame* frame = view ? FrameOf(view) : nullptr;
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
    if (area_->subWindowList().isEmpty()) {
        std::string home = QDir::homePath().toStdString();
        OpenBrowseWindow(home);
        OpenBrowseWindow(home);
        TileWindows();
    }
}

void CMainFrame::RecordLayout() {
    std::vector<SavedWindow> windows;
    for (COrvoBrowserView* view : ViewsInStackingOrder()) {
        CChildFrame* frame = FrameOf(view);
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

void CMainFrame::ApplyBackground() {
    std::string path = GetStringOption(kBackgroundImagePathKey);
    if (path == kDefaultBackgroundValue)
        path = DataFilePath("images/bkgnd.jpg");
    QString help = QString::fromStdString(DataFilePath("help/index.html"));
    area_->SetBackground(QString::fromStdString(path),
                         QStringLiteral("Orvo Browser: every file can tell its story\r\nRead the guide"),
                         QUrl::fromLocalFile(help).toString());
}

void CMainFrame::RereadOptions() {
    orvo::RereadOptions(this);
    ApplyBackground();
    for (COrvoBrowserView* view : ViewsInStackingOrder())
        view->RebuildView(true, true, true);
}

} // namespace orvo
