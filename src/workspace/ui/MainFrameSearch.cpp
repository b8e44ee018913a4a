// The main frame's side of searching: "Search files" (Alt+F7), the search
// typed into a path box, the Selection dialog of the browse windows, and the
// requests search windows send: go to a file, make a list window.
#include "assist/ui/TipCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/PathText.h"
#include "platform/ui/UserPrompt.h"
#include "search/ui/SearchLaunch.h"
#include "viewers/ui/OpenViewerList.h"
#include "viewers/ui/QuickView.h"
#include "viewers/ui/ViewerHost.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/MainFrameOptions.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>

namespace orvo {

void CMainFrame::BuildSearchActions() {
    QAction* search = toolsMenu_->addAction(QStringLiteral("&Search files"));
    search->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F7));
    search->setShortcutContext(Qt::ApplicationShortcut);
    connect(search, &QAction::triggered, this, &CMainFrame::SearchFiles);
    // Search windows end their searches (and threads) before the frame goes.
    AddShutdownHook([](CMainFrame* frame) {
        for (CSearchDlg* window : frame->findChildren<CSearchDlg*>())
            window->close();
    });
}

void CMainFrame::ConnectSearch(COrvoBrowserView* view) {
    connect(view, &COrvoBrowserView::SearchRequested, this,
            [this, view](const QString& form) { OpenSearchWindowFor(view, form); });
    // The path box activates only texts already in its list, so a typed
    // "?..." is taken from its line as Enter is pressed.
    if (QLineEdit* line = view->PathBar().PathBox()->lineEdit()) {
        connect(line, &QLineEdit::returnPressed, this, [this, view, line] {
            QString form = line->text();
            if (!form.startsWith(QLatin1Char('?')))
                return;
            line->setText(QFile::decodeName(QByteArray::fromStdString(view->CurrentPath())));
            OpenSearchWindowFor(view, form);
        });
    }
    connect(view, &COrvoBrowserView::SelectionDialogRequested, this,
            [view](bool select, bool likeSelection, bool overList) {
                RunSelectionDialog(*view, select, likeSelection, overList);
            });
}

void CMainFrame::SearchFiles() {
    ShowOnActionTip(this, kSearchTip);
    OpenSearchWindowFor(ActiveView(), QString());
}

CSearchDlg* CMainFrame::OpenSearchWindowFor(COrvoBrowserView* view, const QString& quickForm) {
    CSearchDlg* window = OpenSearchWindow(MakeSearchWindowSetup(view, quickForm), this);
    connect(window, &CSearchDlg::GoToFileRequested, this, &CMainFrame::GoToFile);
    connect(window, &CSearchDlg::MakeListWindowRequested, this, &CMainFrame::MakeListWindow);
    connect(window, &CSearchDlg::QuickViewRequested, this, [this](const QString& path) {
        ShowOnActionTip(this, kQuickViewTip);
        std::string file = QFile::encodeName(path).toStdString();
        if (QWidget* viewer = OpenQuickViewer(file, ParentDirectoryOf(file), true, nullptr,
                                              findChild<ViewerHost*>(), AltHeldNow()))
            OpenViewerList::Instance().Append(viewer);
    });
    return window;
}

void CMainFrame::GoToFile(const QString& path) {
    std::string file = QFile::encodeName(path).toStdString();
    std::string directory = ParentDirectoryOf(file);
    COrvoBrowserView* view = ActiveView();
    if (view && !view->ListMode().IsListMode()) {
        view->Navigate(directory, true, true, false);
    } else {
        view = OpenBrowseWindow(directory);
        if (!view)
            return;
    }
    if (CChildFrame* frame = FrameOf(view))
        area_->setActiveSubWindow(frame);
    view->SelectPath(file);
    view->FocusList(-1);
    raise();
    activateWindow();
}

} // namespace orvo
