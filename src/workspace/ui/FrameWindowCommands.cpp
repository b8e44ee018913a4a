#include "workspace/ui/FrameWindowCommands.h"

#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/WindowChooserDialog.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <algorithm>

namespace orvo {

FrameWindowCommands::FrameWindowCommands(CMainFrame& frame) : frame_(frame) {}

void FrameWindowCommands::FillMenu() {
    QMenu* windowMenu = frame_.WindowMenu();
    BackgroundArea* area = frame_.Area();
    windowMenu->clear();
    auto add = [this, windowMenu](const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = windowMenu->addAction(text);
        a->setShortcut(key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(QStringLiteral("Go to window..."), QKeySequence(Qt::ALT | Qt::Key_G),
        &FrameWindowCommands::GoToWindow);
    add(QStringLiteral("Go to a directory..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_G),
        &FrameWindowCommands::GoToDirectory);
    windowMenu->addSeparator();
    add(tr("&Tile"), QKeySequence(Qt::ALT | Qt::Key_S), &FrameWindowCommands::TileWindows);
    add(tr("&Cascade"), QKeySequence(), [area] { area->cascadeSubWindows(); });
    add(tr("&Maximize/Restore"), QKeySequence(Qt::ALT | Qt::Key_Q),
        &FrameWindowCommands::ToggleMaximize);
    QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (!windows.isEmpty())
        windowMenu->addSeparator();
    int n = 1;
    for (QMdiSubWindow* w : windows) {
        QAction* a = windowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == area->activeSubWindow());
        connect(a, &QAction::triggered, this, [area, w] { area->setActiveSubWindow(w); });
    }
}

void FrameWindowCommands::NewWindow() {
    COrvoBrowserView* view = frame_.ActiveView();
    std::string path =
        view && !view->CurrentPath().empty() ? view->CurrentPath() : QDir::homePath().toStdString();
    frame_.OpenBrowseWindow(path);
}

void FrameWindowCommands::TileWindows() {
    // Side by side, like the two windows of a first start.
    BackgroundArea* area = frame_.Area();
    QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    int n = static_cast<int>(windows.size());
    int w = area->viewport()->width() / n;
    int h = area->viewport()->height();
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(i * w, 0, w, h);
    }
}

void FrameWindowCommands::ToggleMaximize() {
    QMdiSubWindow* w = frame_.Area()->activeSubWindow();
    if (!w)
        return;
    if (w->isMaximized())
        w->showNormal();
    else
        w->showMaximized();
}

QString FrameWindowCommands::ChooseWindowPath(bool* isWindow, COrvoBrowserView** chosen) {
    QList<COrvoBrowserView*> views = frame_.ViewsInStackingOrder();
    QStringList names, paths;
    // A list window has no directory to copy into or go to.
    views.erase(std::remove_if(views.begin(), views.end(),
                               [](COrvoBrowserView* v) { return v->ListMode().IsListMode(); }),
                views.end());
    for (COrvoBrowserView* v : views) {
        names << v->WindowName();
        paths << PathToQ(v->CurrentPath());
    }
    WindowChooserDialog dialog(names, paths, &frame_);
    if (dialog.Run() != QDialog::Accepted)
        return QString();
    if (isWindow)
        *isWindow = dialog.ChosenWindow() >= 0;
    if (chosen)
        *chosen = dialog.ChosenWindow() >= 0 ? views.value(dialog.ChosenWindow()) : nullptr;
    return dialog.ChosenPath();
}

void FrameWindowCommands::GoToWindow() {
    COrvoBrowserView* chosen = nullptr;
    bool isWindow = false;
    QString path = ChooseWindowPath(&isWindow, &chosen);
    if (path.isEmpty())
        return;
    if (isWindow && chosen) {
        if (CChildFrame* frame = frame_.FrameOf(chosen))
            frame_.Area()->setActiveSubWindow(frame);
        chosen->FocusList(-1);
    } else if (COrvoBrowserView* view = frame_.ActiveView()) {
        view->Navigate(QToPath(path), true, true, false);
    } else {
        frame_.OpenBrowseWindow(QToPath(path));
    }
}

void FrameWindowCommands::GoToDirectory() {
    QString path = ChooseWindowPath();
    if (path.isEmpty())
        return;
    if (COrvoBrowserView* view = frame_.ActiveView())
        view->Navigate(QToPath(path), true, true, false);
    else
        frame_.OpenBrowseWindow(QToPath(path));
}

void FrameWindowCommands::GoToFile(const QString& path) {
    std::string file = QToPath(path);
    std::string directory = ParentDirectoryOf(file);
    COrvoBrowserView* view = frame_.ActiveView();
    if (view && !view->ListMode().IsListMode()) {
        view->Navigate(directory, true, true, false);
    } else {
        view = frame_.OpenBrowseWindow(directory);
        if (!view)
            return;
    }
    if (CChildFrame* frame = frame_.FrameOf(view))
        frame_.Area()->setActiveSubWindow(frame);
    view->SelectPath(file);
    view->FocusList(-1);
    frame_.raise();
    frame_.activateWindow();
}

} // namespace orvo
