#include "workspace/ui/FrameSearch.h"

#include "assist/ui/TipCommands.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "search/ui/SearchLaunch.h"
#include "viewers/ui/OpenViewerList.h"
#include "viewers/ui/QuickView.h"
#include "viewers/ui/ViewerHost.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameListCommands.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/MainFrameOptions.h"

#include <QAction>
#include <QMenu>

namespace orvo {

FrameSearch::FrameSearch(CMainFrame& frame) : frame_(frame) {}

void FrameSearch::BuildActions() {
    QAction* search = frame_.ToolsMenu()->addAction(QStringLiteral("&Search files"));
    search->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F7));
    search->setShortcutContext(Qt::ApplicationShortcut);
    connect(search, &QAction::triggered, this, &FrameSearch::SearchFiles);
    // Search windows end their searches (and threads) before the frame goes.
    AddShutdownHook([](CMainFrame* frame) {
        for (CSearchDlg* window : frame->findChildren<CSearchDlg*>())
            window->close();
    });
}

void FrameSearch::ConnectSearch(COrvoBrowserView* view) {
    connect(view, &COrvoBrowserView::SearchRequested, this,
            [this, view](const QString& form) { OpenSearchWindowFor(view, form); });
    connect(view, &COrvoBrowserView::SelectionDialogRequested, this,
            [view](bool select, bool likeSelection, bool overList) {
                RunSelectionDialog(*view, select, likeSelection, overList);
            });
}

void FrameSearch::SearchFiles() {
    ShowOnActionTip(&frame_, kSearchTip);
    OpenSearchWindowFor(frame_.ActiveView(), QString());
}

CSearchDlg* FrameSearch::OpenSearchWindowFor(COrvoBrowserView* view, const QString& quickForm) {
    CSearchDlg* window = OpenSearchWindow(MakeSearchWindowSetup(view, quickForm), &frame_);
    connect(window, &CSearchDlg::GoToFileRequested, &frame_.Windows(),
            &FrameWindowCommands::GoToFile);
    connect(window, &CSearchDlg::MakeListWindowRequested, &frame_.Lists(),
            &FrameListCommands::MakeListWindow);
    connect(window, &CSearchDlg::QuickViewRequested, this, [this](const QString& path) {
        ShowOnActionTip(&frame_, kQuickViewTip);
        std::string file = QToPath(path);
        if (QWidget* viewer = OpenQuickViewer(file, ParentDirectoryOf(file), true, nullptr,
                                              frame_.findChild<ViewerHost*>(), AltHeldNow()))
            OpenViewerList::Instance().Append(viewer);
    });
    return window;
}

} // namespace orvo
