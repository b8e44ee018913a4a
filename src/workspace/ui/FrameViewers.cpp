#include "workspace/ui/FrameViewers.h"

#include "assist/ui/TipCommands.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/COrvoBrowserView.h"
#include "viewers/ui/AutoViewController.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/OpenViewerList.h"
#include "viewers/ui/QuickView.h"
#include "viewers/ui/ViewerHost.h"
#include "workspace/AppState.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/MainFrameOptions.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTimer>

namespace orvo {

FrameViewers::FrameViewers(CMainFrame& frame) : frame_(frame) {}

void FrameViewers::BuildActions() {
    // Search windows find the host among the frame's children.
    auto* host = new ViewerHost(&frame_);
    host->chooseDestination = [this](QWidget*) { return frame_.Windows().ChooseWindowPath(); };
    // The notice may come while the frame is being destroyed: it touches
    // nothing but the list.
    connect(host, &ViewerHost::ViewerClosed, host,
            [](const QWidget* window) { OpenViewerList::Instance().Remove(window); });
    autoView_ = new AutoViewController(host, &frame_);
    autoView_->SetSelectionSource([this] {
        AutoViewController::Selection selection;
        COrvoBrowserView* view = frame_.ActiveView();
        if (GetAppState().closing || !view)
            return selection;
        selection.valid = true;
        selection.path = view->FirstSelectedPath();
        selection.directory = view->CurrentPath();
        selection.focusBack = view->CurrentList();
        return selection;
    });

    QMenu* viewMenu = frame_.ViewMenu();
    viewMenu->addSeparator();
    QAction* quick = viewMenu->addAction(QStringLiteral("Quick view"));
    quick->setShortcut(QKeySequence(Qt::Key_F3));
    connect(quick, &QAction::triggered, this, [this] { QuickView(false); });
    // Alt+F3 is the same command with Alt held; its own key as well, since
    // not every desktop tells a program which keys are down.
    QAction* asText = viewMenu->addAction(QStringLiteral("Quick view as text"));
    asText->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F3));
    connect(asText, &QAction::triggered, this, [this] { QuickView(true); });
    autoViewAction_ = viewMenu->addAction(QStringLiteral("Auto View"));
    autoViewAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F3));
    autoViewAction_->setCheckable(true);
    connect(autoViewAction_, &QAction::triggered, this, &FrameViewers::ToggleAutoView);
    connect(autoView_, &AutoViewController::Toggled, autoViewAction_, &QAction::setChecked);
    QAction* arrange = viewMenu->addAction(QStringLiteral("Arrange : Thumbnails && Autoview"));
    arrange->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_5));
    connect(arrange, &QAction::triggered, this, &FrameViewers::ArrangeThumbnailsAutoview);
    for (QAction* a : {quick, asText, autoViewAction_, arrange})
        a->setShortcutContext(Qt::ApplicationShortcut);

    connect(&frame_, &CMainFrame::ActiveViewChanged, this, [this](COrvoBrowserView* view) {
        if (!view)
            return;
        connect(view, &COrvoBrowserView::SelectionChanged, this,
                &FrameViewers::OnViewSelectionChanged, Qt::UniqueConnection);
        autoView_->ScheduleSelectionChange();
    });

    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        AddShutdownHook([](CMainFrame*) { OpenViewerList::Instance().CloseAll(); });
    }
}

void FrameViewers::OnViewSelectionChanged() {
    if (GetAppState().closing || sender() != frame_.ActiveView())
        return;
    autoView_->ScheduleSelectionChange();
}

void FrameViewers::QuickView(bool asText) {
    const bool alt = asText || AltHeldNow();
    ShowOnActionTip(&frame_, kQuickViewTip);
    COrvoBrowserView* view = frame_.ActiveView();
    if (!view)
        return;
    // Shows which of the selected rows the viewer was opened on.
    view->FileCommands().FlashSelection(5, Qt::yellow);
    QWidget* window = OpenQuickViewer(view->FirstSelectedPath(), view->CurrentPath(), true, nullptr,
                                      frame_.findChild<ViewerHost*>(), alt);
    if (window)
        OpenViewerList::Instance().Append(window);
}

void FrameViewers::ToggleAutoView() {
    autoView_->Toggle();
}

void FrameViewers::ArrangeThumbnailsAutoview() {
    autoView_->TurnOn();
    QWidget* viewer = autoView_->Window();
    if (!viewer)
        return;
    COrvoBrowserView* view = frame_.ActiveView();
    if (!view)
        view = frame_.OpenBrowseWindow(QDir::homePath().toStdString());
    CChildFrame* frame = view ? frame_.FrameOf(view) : nullptr;
    if (!frame)
        return;
    QWidget* viewport = frame_.Area()->viewport();
    const QRect client = viewport->rect();
    frame->showNormal();
    frame->setGeometry(
        QRect(0, 0, view->ThumbnailSize() + 60, client.height()).adjusted(2, 2, -2, -2));
    const QRect rest(QPoint(frame->geometry().right() + 1, 0), client.bottomRight());
    const QRect inside = rest.adjusted(2, 2, -2, -2);
    viewer->setGeometry(QRect(viewport->mapToGlobal(inside.topLeft()), inside.size()));
    // The picture takes the new room at once.
    if (auto* picture = qobject_cast<ImageViewerWindow*>(viewer))
        QTimer::singleShot(0, &picture->ViewControl(), &ImageViewControl::BestFit);
    if (view->GetViewMode() != COrvoBrowserView::ViewMode::Thumbnails)
        view->SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
    frame_.UpdateViewModeChecks();
}

} // namespace orvo
