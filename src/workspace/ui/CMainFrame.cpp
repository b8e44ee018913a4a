#include "workspace/ui/CMainFrame.h"

#include "assist/ui/TipCommands.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/ui/CFileOperationDlg.h"
#include "platform/DataDirectory.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionsStore.h"
#include "workspace/AppState.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CQuickAccessBar.h"
#include "workspace/ui/MainFrameOptions.h"
#include "workspace/ui/WindowChooserDialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace orvo {

namespace {

QString ToQ(const std::string& s) { return QString::fromStdString(s); }

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Orvo Browser"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("system-file-manager")));
    // The options are the first thing the frame needs: colours, bars and
    // the window layout all come from them.
    LoadMainFrameOptions(this);

    area_ = new BackgroundArea(this);
    area_->setViewMode(QMdiArea::SubWindowView);
    area_->setActivationOrder(QMdiArea::StackingOrder);
    setCentralWidget(area_);
    statusPath_ = new QLabel(this);
    statusBar()->addWidget(statusPath_, 1);

    BuildActions();
    connect(area_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    ApplyBackground();
    resize(1200, 800);
}

CMainFrame::~CMainFrame() {
    // The windows go with the base class, after this object stopped being a
    // CMainFrame; none of their signals may reach it then.
    area_->disconnect(this);
    for (QMdiSubWindow* w : area_->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            frame->View()->disconnect(this);
    SaveOptionsNow();
}

void CMainFrame::SaveOptionsNow() {
    if (optionsSaved_)
        return;
    optionsSaved_ = true;
    SaveMainFrameOptions(this);
}

void CMainFrame::BuildActions() {
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    fileMenu_ = menuBar()->addMenu(tr("&File"));
    QAction* newAction = add(fileMenu_, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), &CMainFrame::NewWindow);
    newAction->setIcon(QIcon::fromTheme(QStringLiteral("window-new"), style()->standardIcon(QStyle::SP_FileDialogNewFolder)));
    fileMenu_->addSeparator();
    add(fileMenu_, tr("E&xit"), QKeySequence(Qt::ALT | Qt::Key_F4), &QWidget::close);

    editMenu_ = menuBar()->addMenu(tr("&Edit"));
    QAction* comment = add(editMenu_, QStringLiteral("&Edit comment"), QKeySequence(Qt::ALT | Qt::Key_C), &CMainFrame::EditComment);
    comment->setIcon(QIcon::fromTheme(QStringLiteral("document-edit"), style()->standardIcon(QStyle::SP_FileDialogInfoView)));

    viewMenu_ = menuBar()->addMenu(tr("&View"));
    viewModes_ = new QActionGroup(this);
    struct Mode {
        const char* text;
        QKeySequence key;
        COrvoBrowserView::ViewMode mode;
        const char* icon;
        QStyle::StandardPixmap fallback;
    } modes[] = {
        {"L&arge icons", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_1), COrvoBrowserView::ViewMode::LargeIcons, "view-list-icons", QStyle::SP_FileDialogContentsView},
        {"S&mall icons", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_2), COrvoBrowserView::ViewMode::SmallIcons, "view-list-compact", QStyle::SP_FileDialogListView},
        {"L&ist", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_3), COrvoBrowserView::ViewMode::List, "view-list-text", QStyle::SP_FileDialogListView},
        {"D&etails", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_4), COrvoBrowserView::ViewMode::Details, "view-list-details", QStyle::SP_FileDialogDetailedView},
        {"T&humbnails", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_0), COrvoBrowserView::ViewMode::Thumbnails, "view-preview", QStyle::SP_DesktopIcon},
    };
    for (const Mode& m : modes) {
        QAction* a = viewMenu_->addAction(QString::fromLatin1(m.text));
        a->setShortcut(m.key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        a->setCheckable(true);
        a->setIcon(QIcon::fromTheme(QString::fromLatin1(m.icon), style()->standardIcon(m.fallback)));
        a->setData(static_cast<int>(m.mode));
        viewModes_->addAction(a);
        viewModeActions_ << a;
        connect(a, &QAction::triggered, this, [this, mode = m.mode] {
            if (COrvoBrowserView* v = ActiveView())
                v->SetViewMode(mode);
            UpdateViewModeChecks();
        });
    }
    viewMenu_->addSeparator();
    // The keys themselves are the list's own (Ctrl with the keypad's + and
    // -); the menu shows them and works with the mouse.
    for (int delta : {16, -16}) {
        QAction* a = viewMenu_->addAction(delta > 0 ? QStringLiteral("Increase font/thumbnail  size (CTRL+Numpad +)")
                                                    : QStringLiteral("Decrease font/thumbnail size (CTRL+Numpad -)"));
        connect(a, &QAction::triggered, this, [this, delta] {
            if (COrvoBrowserView* v = ActiveView())
                v->ChangeThumbnailSize(delta);
        });
    }
    viewMenu_->addSeparator();

    toolsMenu_ = menuBar()->addMenu(tr("&Tools"));

    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::FillWindowMenu);

    optionsMenu_ = menuBar()->addMenu(tr("&Options"));
    add(optionsMenu_, QStringLiteral("General options"), QKeySequence(), &CMainFrame::ShowGeneralOptions);
    add(optionsMenu_, QStringLiteral("Files colors"), QKeySequence(), &CMainFrame::ShowFileColors);
    add(optionsMenu_, QStringLiteral("Special file types"), QKeySequence(), &CMainFrame::ShowSpecialFileTypes);
    optionsMenu_->addSeparator();
    add(optionsMenu_, QStringLiteral("Re-read otpions"), QKeySequence(), &CMainFrame::RereadOptions);

    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    add(helpMenu_, QStringLiteral("Tip of the day..."), QKeySequence(), &CMainFrame::ShowTipOfTheDay);
    add(helpMenu_, QStringLiteral("&Keyboard map"), QKeySequence(Qt::Key_F1), &CMainFrame::ShowKeyboardMap);
    helpMenu_->addSeparator();
    add(helpMenu_, QStringLiteral("About"), QKeySequence(), &CMainFrame::ShowAbout);

    toolBar_ = addToolBar(tr("Main"));
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->addAction(newAction);
    toolBar_->addSeparator();
    for (QAction* a : viewModeActions_)
        toolBar_->addAction(a);
    toolBar_->addSeparator();
    toolBar_->addAction(comment);
    BuildFileOperationActions();
    BuildViewerActions();
    BuildSearchActions();
    BuildListActions();
    BuildQuickAccessBar();
    BuildFileCommandActions();
    BuildFavoritesActions();
    FillWindowMenu();
}

void CMainFrame::FillWindowMenu() {
    windowMenu_->clear();
    auto add = [this](const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = windowMenu_->addAction(text);
        a->setShortcut(key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(QStringLiteral("Go to window..."), QKeySequence(Qt::ALT | Qt::Key_G), &CMainFrame::GoToWindow);
    add(QStringLiteral("Go to a directory..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_G), &CMainFrame::GoToDirectory);
    windowMenu_->addSeparator();
    add(tr("&Tile"), QKeySequence(Qt::ALT | Qt::Key_S), &CMainFrame::TileWindows);
    add(tr("&Cascade"), QKeySequence(), [this] { area_->cascadeSubWindows(); });
    add(tr("&Maximize/Restore"), QKeySequence(Qt::ALT | Qt::Key_Q), &CMainFrame::ToggleMaximize);
    QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::CreationOrder);
    if (!windows.isEmpty())
        windowMenu_->addSeparator();
    int n = 1;
    for (QMdiSubWindow* w : windows) {
        QAction* a = windowMenu_->addAction(QStringLiteral("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == area_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { area_->setActiveSubWindow(w); });
    }
}

COrvoBrowserView* CMainFrame::OpenBrowseWindow(const std::string& path) {
    auto* view = new COrvoBrowserView;
    CChildFrame* frame = AddViewWindow(view);
    view->Navigate(path, true, true, false);
    area_->setActiveSubWindow(frame);
    return view;
}

CChildFrame* CMainFrame::AddViewWindow(COrvoBrowserView* view) {
    auto* frame = new CChildFrame(view);
    area_->addSubWindow(frame);
    connect(view, &COrvoBrowserView::TitleChanged, this, [this] { UpdateTitle(); });
    connect(view, &COrvoBrowserView::PathChanged, this, [this](const QString& p) {
        if (sender() == ActiveView())
            statusPath_->setText(p);
    });
    connect(view, &COrvoBrowserView::NewWindowRequested, this, [this](const QString& p) {
        if (COrvoBrowserView* v = OpenBrowseWindow(p.toStdString()))
            v->FocusList(0);
    });
    connect(view, &COrvoBrowserView::GoThereRequested, this, &CMainFrame::GoThere);
    connect(view, &COrvoBrowserView::OpenListRequested, this,
            [this](const QString& p) { OpenListDocument(p); });
    ConnectSearch(view);
    frame->resize(area_->width() / 2, area_->height());
    frame->show();
    return frame;
}

COrvoBrowserView* CMainFrame::ActiveView() const {
    QMdiSubWindow* w = area_->activeSubWindow();
    if (!w) {
        // The area forgets its active window while the frame has no focus
        // (a dialog is up); the last one activated still counts.
        return lastActive_.data();
    }
    auto* frame = qobject_cast<CChildFrame*>(w);
    return frame ? frame->View() : nullptr;
}

QList<COrvoBrowserView*> CMainFrame::ViewsInStackingOrder() const {
    QList<COrvoBrowserView*> views;
    QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (auto* frame = qobject_cast<CChildFrame*>(*it))
            views << frame->View();
    // The active window leads even when the stacking order says otherwise.
    if (COrvoBrowserView* active = ActiveView()) {
        views.removeAll(active);
        views.prepend(active);
    }
    return views;
}

CChildFrame* CMainFrame::FrameOf(COrvoBrowserView* view) const {
    for (QMdiSubWindow* w : area_->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w); frame && frame->View() == view)
            return frame;
    return nullptr;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    if (auto* frame = qobject_cast<CChildFrame*>(window)) {
        lastActive_ = frame->View();
        statusPath_->setText(ToQ(frame->View()->CurrentPath()));
    }
    UpdateTitle();
    UpdateViewModeChecks();
    emit ActiveViewChanged(ActiveView());
}

void CMainFrame::UpdateTitle() {
    COrvoBrowserView* view = ActiveView();
    QString title = QStringLiteral("Orvo Browser");
    if (view && !view->DocumentTitle().isEmpty())
        title += QStringLiteral(" - ") + view->DocumentTitle();
    desiredTitle_ = title;
    setWindowTitle(title);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximised browse window appends its own title to ours; the title
    // stays "Orvo Browser - " and the active window's title all the same.
    if (event->type() == QEvent::WindowTitleChange && !desiredTitle_.isEmpty() &&
        windowTitle() != desiredTitle_)
        setWindowTitle(desiredTitle_);
}

void CMainFrame::UpdateViewModeChecks() {
    COrvoBrowserView* view = ActiveView();
    for (QAction* a : viewModeActions_) {
        a->setEnabled(view != nullptr);
        a->setChecked(view && static_cast<int>(view->GetViewMode()) == a->data().toInt());
    }
}

void CMainFrame::NewWindow() {
    COrvoBrowserView* view = ActiveView();
    std::string path = view && !view->CurrentPath().empty() ? view->CurrentPath() : QDir::homePath().toStdString();
    OpenBrowseWindow(path);
}

void CMainFrame::TileWindows() {
    // Side by side, like the two windows of a first start.
    QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    int n = static_cast<int>(windows.size());
    int w = area_->viewport()->width() / n;
    int h = area_->viewport()->height();
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(i * w, 0, w, h);
    }
}

void CMainFrame::ToggleMaximize() {
    QMdiSubWindow* w = area_->activeSubWindow();
    if (!w)
        return;
    if (w->isMaximized())
        w->showNormal();
    else
        w->showMaximized();
}

QString CMainFrame::ChooseWindowPath(bool* isWindow, COrvoBrowserView** chosen) {
    QList<COrvoBrowserView*> views = ViewsInStackingOrder();
    QStringList names, paths;
    // A list window has no directory to copy into or go to.
    views.erase(std::remove_if(views.begin(), views.end(),
                               [](COrvoBrowserView* v) { return v->ListMode().IsListMode(); }),
                views.end());
    for (COrvoBrowserView* v : views) {
        names << v->WindowName();
        paths << ToQ(v->CurrentPath());
    }
    WindowChooserDialog dialog(names, paths, this);
    if (dialog.Run() != QDialog::Accepted)
        return QString();
    if (isWindow)
        *isWindow = dialog.ChosenWindow() >= 0;
    if (chosen)
        *chosen = dialog.ChosenWindow() >= 0 ? views.value(dialog.ChosenWindow()) : nullptr;
    return dialog.ChosenPath();
}

void CMainFrame::GoToWindow() {
    COrvoBrowserView* chosen = nullptr;
    bool isWindow = false;
    QString path = ChooseWindowPath(&isWindow, &chosen);
    if (path.isEmpty())
        return;
    if (isWindow && chosen) {
        if (CChildFrame* frame = FrameOf(chosen))
            area_->setActiveSubWindow(frame);
        chosen->FocusList(-1);
    } else if (COrvoBrowserView* view = ActiveView()) {
        view->Navigate(path.toStdString(), true, true, false);
    } else {
        OpenBrowseWindow(path.toStdString());
    }
}

void CMainFrame::GoToDirectory() {
    QString path = ChooseWindowPath();
    if (path.isEmpty())
        return;
    if (COrvoBrowserView* view = ActiveView())
        view->Navigate(path.toStdString(), true, true, false);
    else
        OpenBrowseWindow(path.toStdString());
}

void CMainFrame::EditComment() {
    if (COrvoBrowserView* view = ActiveView())
        view->FileCommands().EditComment();
}

void CMainFrame::ShowKeyboardMap() {
    QString path = ToQ(DataFilePath("help/keymap.txt"));
    if (!QFile::exists(path)) {
        UserPrompt::Message(this, tr("The keyboard map is missing: %1").arg(path), UserPrompt::Icon::Warning);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CMainFrame::ShowAbout() {
    UserPrompt::Message(this,
                        tr("Orvo Browser %1\n\nA file manager whose files and directories carry "
                           "their own comments.\nBuilt with Qt %2.")
                            .arg(QApplication::applicationVersion(), QString::fromLatin1(qVersion())),
                        UserPrompt::Icon::Information, tr("About Orvo Browser"));
}

void CMainFrame::ShowTipOfTheDay() { RunTipOfDay(this, GetOptionsDatabase(), true); }

void CMainFrame::closeEvent(QCloseEvent* event) {
    AppState& state = GetAppState();
    for (COrvoBrowserView* view : ViewsInStackingOrder()) {
        if (view->Counting().IsCounting()) {
            // The same refusal a single counting window gives.
            if (CChildFrame* frame = FrameOf(view))
                frame->close();
            event->ignore();
            return;
        }
    }
    // Quitting stops running copies and deletes between two entries (nothing
    // is left half written), but the user should know before it happens.
    int working = 0;
    for (CFileOperationDlg* operation : findChildren<CFileOperationDlg*>())
        working += operation->IsWorking();
    if (working > 0 &&
        !UserPrompt::AskYesNo(this, tr("%n file operation(s) are still running. Stop them and quit?",
                                       nullptr, working))) {
        event->ignore();
        return;
    }
    state.closing = true;
    RecordLayout();
    SetBoolOption(kShowQuickAccessBarKey, quickAccess_ && !quickAccess_->isHidden());
    RunShutdownHooks(this);
    // Close the browse windows before the frame goes, so none of them
    // outlives the options it reads.
    area_->closeAllSubWindows();
    SaveOptionsNow();
    event->accept();
}

} // namespace orvo
