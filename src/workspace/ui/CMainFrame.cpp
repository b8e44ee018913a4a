#include "workspace/ui/CMainFrame.h"

#include "browse/ui/COrvoBrowserView.h"
#include "platform/DataDirectory.h"
#include "platform/ui/QtText.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/FrameDialogCommands.h"
#include "workspace/ui/FrameFavorites.h"
#include "workspace/ui/FrameFileCommands.h"
#include "workspace/ui/FrameListCommands.h"
#include "workspace/ui/FrameQuickAccess.h"
#include "workspace/ui/FrameRecentFiles.h"
#include "workspace/ui/FrameSearch.h"
#include "workspace/ui/FrameSession.h"
#include "workspace/ui/FrameTransfers.h"
#include "workspace/ui/FrameViewers.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/ProgramIcon.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace orvo {

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), session_(std::make_unique<FrameSession>(*this)),
      windows_(std::make_unique<FrameWindowCommands>(*this)),
      lists_(std::make_unique<FrameListCommands>(*this)),
      favorites_(std::make_unique<FrameFavorites>(*this)),
      viewers_(std::make_unique<FrameViewers>(*this)),
      transfers_(std::make_unique<FrameTransfers>(*this)),
      search_(std::make_unique<FrameSearch>(*this)),
      fileCommands_(std::make_unique<FrameFileCommands>(*this)),
      quickAccess_(std::make_unique<FrameQuickAccess>(*this)),
      dialogs_(std::make_unique<FrameDialogCommands>(*this)) {
    // Every window and message box of the program, the ones the options
    // may raise below included, carries the program's own icon.
    QApplication::setWindowIcon(ProgramIcon());
    setWindowTitle(QStringLiteral("Orvo Browser"));
    // The options are the first thing the frame needs: colours, bars and
    // the window layout all come from them.
    session_->LoadOptions();
    recentFiles_ = std::make_unique<FrameRecentFiles>(*this);

    area_ = new BackgroundArea(this);
    area_->setViewMode(QMdiArea::SubWindowView);
    area_->setActivationOrder(QMdiArea::StackingOrder);
    setCentralWidget(area_);
    statusPath_ = new QLabel(this);
    statusBar()->addWidget(statusPath_, 1);

    BuildActions();
    connect(area_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    connect(area_, &BackgroundArea::PictureDropped, this, [this](const QString& path) {
        SetStringOption(kBackgroundImagePathKey, QToPath(path));
        ApplyBackground();
    });
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
    session_->SaveOptions();
}

void CMainFrame::BuildActions() {
    auto add = [](QMenu* menu, const QString& text, const QKeySequence& key, auto* receiver,
                  auto slot) {
        QAction* a = menu->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, receiver, slot);
        return a;
    };

    fileMenu_ = menuBar()->addMenu(tr("&File"));
    QAction* newAction = add(fileMenu_, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
                             windows_.get(), &FrameWindowCommands::NewWindow);
    newAction->setIcon(QIcon::fromTheme(QStringLiteral("window-new"),
                                        style()->standardIcon(QStyle::SP_FileDialogNewFolder)));
    fileMenu_->addSeparator();
    QAction* exit =
        add(fileMenu_, tr("E&xit"), QKeySequence(Qt::ALT | Qt::Key_F4), this, &QWidget::close);

    editMenu_ = menuBar()->addMenu(tr("&Edit"));
    QAction* comment =
        add(editMenu_, QStringLiteral("&Edit comment"), QKeySequence(Qt::ALT | Qt::Key_C),
            fileCommands_.get(), &FrameFileCommands::EditComment);
    comment->setIcon(QIcon::fromTheme(QStringLiteral("document-edit"),
                                      style()->standardIcon(QStyle::SP_FileDialogInfoView)));

    viewMenu_ = menuBar()->addMenu(tr("&View"));
    viewModes_ = new QActionGroup(this);
    struct Mode {
        const char* text;
        QKeySequence key;
        COrvoBrowserView::ViewMode mode;
        const char* icon;
        QStyle::StandardPixmap fallback;
    } modes[] = {
        {"L&arge icons", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_1),
         COrvoBrowserView::ViewMode::LargeIcons, "view-list-icons",
         QStyle::SP_FileDialogContentsView},
        {"S&mall icons", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_2),
         COrvoBrowserView::ViewMode::SmallIcons, "view-list-compact",
         QStyle::SP_FileDialogListView},
        {"L&ist", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_3), COrvoBrowserView::ViewMode::List,
         "view-list-text", QStyle::SP_FileDialogListView},
        {"D&etails", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_4),
         COrvoBrowserView::ViewMode::Details, "view-list-details",
         QStyle::SP_FileDialogDetailedView},
        {"T&humbnails", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_0),
         COrvoBrowserView::ViewMode::Thumbnails, "view-preview", QStyle::SP_DesktopIcon},
    };
    for (const Mode& m : modes) {
        QAction* a = viewMenu_->addAction(QString::fromLatin1(m.text));
        a->setShortcut(m.key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        a->setCheckable(true);
        a->setIcon(
            QIcon::fromTheme(QString::fromLatin1(m.icon), style()->standardIcon(m.fallback)));
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
        QAction* a = viewMenu_->addAction(
            delta > 0 ? QStringLiteral("Increase font/thumbnail  size (CTRL+Numpad +)")
                      : QStringLiteral("Decrease font/thumbnail size (CTRL+Numpad -)"));
        connect(a, &QAction::triggered, this, [this, delta] {
            if (COrvoBrowserView* v = ActiveView())
                v->ChangeThumbnailSize(delta);
        });
    }
    viewMenu_->addSeparator();

    toolsMenu_ = menuBar()->addMenu(tr("&Tools"));

    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    connect(windowMenu_, &QMenu::aboutToShow, windows_.get(), &FrameWindowCommands::FillMenu);

    optionsMenu_ = menuBar()->addMenu(tr("&Options"));
    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    dialogs_->BuildActions();

    toolBar_ = addToolBar(tr("Main"));
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->addAction(newAction);
    toolBar_->addSeparator();
    for (QAction* a : viewModeActions_)
        toolBar_->addAction(a);
    toolBar_->addSeparator();
    toolBar_->addAction(comment);
    // They add to the same menus, so this order is the order of their items.
    transfers_->BuildActions();
    viewers_->BuildActions();
    search_->BuildActions();
    lists_->BuildActions();
    quickAccess_->BuildActions();
    fileCommands_->BuildActions();
    favorites_->BuildActions();
    // Last, so the recent lists stand just above Exit, as file menus have them.
    recentFiles_->BuildActions(fileMenu_, exit);
    connect(lists_.get(), &FrameListCommands::ListDocumentUsed, recentFiles_.get(),
            &FrameRecentFiles::Add);
    windows_->FillMenu();
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
        if (COrvoBrowserView* v = OpenBrowseWindow(QToPath(p)))
            v->FocusList(0);
    });
    connect(view, &COrvoBrowserView::GoThereRequested, lists_.get(), &FrameListCommands::GoThere);
    connect(view, &COrvoBrowserView::OpenListRequested, lists_.get(),
            [this](const QString& p) { lists_->OpenListDocument(p); });
    search_->ConnectSearch(view);
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

void CMainFrame::ApplyBackground() {
    std::string path = GetStringOption(kBackgroundImagePathKey);
    if (path == kDefaultBackgroundValue)
        path = DataFilePath("images/bkgnd.jpg");
    QString help = QString::fromStdString(DataFilePath("help/index.html"));
    area_->SetBackground(
        PathToQ(path),
        QStringLiteral("Orvo Browser: every file can tell its story\r\nRead the guide"),
        QUrl::fromLocalFile(help).toString());
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

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (session_->Shutdown())
        event->accept();
    else
        event->ignore();
}

} // namespace orvo
