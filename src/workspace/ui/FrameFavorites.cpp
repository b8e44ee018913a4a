#include "workspace/ui/FrameFavorites.h"

#include "assist/ui/TipCommands.h"
#include "browse/DirectoryListing.h"
#include "browse/FileCommands.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseMarks.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/NewEntries.h"
#include "fileops/TreeRemoval.h"
#include "fileops/ui/FileOperationService.h"
#include "fileops/ui/NewEntryCommands.h"
#include "platform/DesktopPrograms.h"
#include "platform/EntryOperations.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shortcut.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/Favorites.h"
#include "workspace/TemporaryDirectories.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FavoritesMenu.h"
#include "workspace/ui/MainFrameOptions.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace orvo {

namespace {

// At exit the program is about to end: a delete handed to an operation
// window would be cut short, so the directories go here and now.
void OfferTemporaryDirectoriesAtExit(CMainFrame* frame) {
    TemporaryDirectoryList& list = TemporaryDirectoryList::Instance();
    if (list.Empty() ||
        !UserPrompt::AskYesNo(frame, QString::fromLatin1(kShutdownTemporaryQuestion)))
        return;
    QStringList left;
    for (const std::string& path : list.StillMade())
        if (!RemoveEntryTree(path))
            left << ToQ(path);
    list.Clear();
    if (!left.isEmpty())
        UserPrompt::Message(frame,
                            QStringLiteral("These could not be deleted completely:\n") +
                                left.join(QLatin1Char('\n')),
                            UserPrompt::Icon::Warning);
}

} // namespace

FrameFavorites::FrameFavorites(CMainFrame& frame) : frame_(frame) {}

void FrameFavorites::BuildActions() {
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* toolsMenu = frame_.ToolsMenu();
    QMenu* viewMenu = frame_.ViewMenu();
    toolsMenu->addSeparator();
    add(toolsMenu, QStringLiteral("F&avorites\tAlt+A"), QKeySequence(Qt::ALT | Qt::Key_A),
        &FrameFavorites::ShowFavoritesMenu);
    add(toolsMenu, QStringLiteral("&Internet Explorer Favorites\tCtrl+I"),
        QKeySequence(Qt::CTRL | Qt::Key_I), &FrameFavorites::ShowSystemFavoritesMenu);
    QMenu* temporary = toolsMenu->addMenu(QStringLiteral("&Temporary directories"));
    add(temporary, QStringLiteral("&Create new (F8)"), QKeySequence(Qt::Key_F8),
        &FrameFavorites::CreateTemporaryDirectory);
    add(temporary, QStringLiteral("&List"), QKeySequence(),
        &FrameFavorites::ListTemporaryDirectories);
    add(temporary, QStringLiteral("&Edit"), QKeySequence(),
        &FrameFavorites::EditTemporaryDirectories);
    add(temporary, QStringLiteral("&Delete all of this session"), QKeySequence(),
        &FrameFavorites::DeleteTemporaryDirectories);

    viewMenu->addSeparator();
    QAction* counting = viewMenu->addAction(QStringLiteral("&Counting directories size mode"));
    counting->setCheckable(true);
    counting->setChecked(BrowseCounting::CountingMode());
    counting->setStatusTip(QStringLiteral("Enters the mode of counting directory size"));
    counting->setToolTip(counting->statusTip());
    counting->setIcon(QIcon::fromTheme(QStringLiteral("drive-harddisk"),
                                       frame_.style()->standardIcon(QStyle::SP_DriveHDIcon)));
    counting->setObjectName(QStringLiteral("CountingMode"));
    connect(counting, &QAction::toggled, this, &FrameFavorites::SetCountingMode);
    frame_.MainToolBar()->addAction(counting);
    add(viewMenu, QStringLiteral("Count the selected directories"), QKeySequence(), [this] {
        if (COrvoBrowserView* view = frame_.ActiveView())
            view->Counting().CountDirectories(true);
    });

    // Favorites point somewhere: rows of those places are marked, and a
    // broken favorite is told once.
    BrowseMarks::SetFavoriteTargetsSource([](QWidget* window) {
        std::string problem;
        std::vector<std::string> targets = CheckFavorites(false, &problem);
        if (!problem.empty())
            UserPrompt::Message(window, ToQ(problem), UserPrompt::Icon::Warning);
        return targets;
    });
    static bool hookAdded = false;
    if (!hookAdded) {
        hookAdded = true;
        AddShutdownHook(&OfferTemporaryDirectoriesAtExit);
    }
}

void FrameFavorites::SetCountingMode(bool on) {
    BrowseCounting::SetCountingMode(on);
    if (on)
        if (COrvoBrowserView* view = frame_.ActiveView())
            view->Counting().CountDirectories(false);
}

void FrameFavorites::ShowDirectory(const std::string& directory) {
    if (COrvoBrowserView* view = frame_.ActiveView()) {
        view->Navigate(directory, true, true, false);
        view->FocusList(0);
    } else {
        frame_.OpenBrowseWindow(directory);
    }
}

void FrameFavorites::ShowFavoritesMenu() {
    ShowOnActionTip(&frame_, kFavoritesTip);
    QMenu menu(&frame_);
    QAction* addCurrent = menu.addAction(QStringLiteral("Add current to favorites"));
    QAction* edit = menu.addAction(QStringLiteral("Edit favorites directory"));
    menu.addSeparator();
    BuildFavoritesMenu(&menu, ReadFavoritesTree(FavoritesDirectory()));
    QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen)
        return;
    if (chosen == addCurrent)
        AddCurrentToFavorites();
    else if (chosen == edit)
        EditFavoritesDirectory();
    else
        OpenFavorite(FavoritePathOf(chosen));
}

void FrameFavorites::ShowSystemFavoritesMenu() {
    QMenu menu(&frame_);
    BuildFavoritesMenu(&menu, ReadSystemFavorites());
    if (QAction* chosen = menu.exec(QCursor::pos()))
        OpenFavorite(FavoritePathOf(chosen));
}

void FrameFavorites::AddCurrentToFavorites() {
    COrvoBrowserView* view = frame_.ActiveView();
    if (!view || view->CurrentPath() == std::string(kComputerPath))
        return;
    std::string favorites = FavoritesDirectory();
    std::string link = FavoriteShortcutPath(favorites, view->CurrentPath());
    if (!CreateDirChain(favorites) || !CreateShortcut(view->CurrentPath(), link)) {
        UserPrompt::Message(&frame_, ToQ("Couldn't create " + link), UserPrompt::Icon::Warning);
        return;
    }
    CheckFavorites(true);
}

void FrameFavorites::EditFavoritesDirectory() {
    std::string favorites = FavoritesDirectory();
    CreateDirChain(favorites);
    ShowDirectory(favorites);
}

void FrameFavorites::OpenFavorite(const std::string& path) {
    if (path.empty())
        return;
    FavoriteAction action = ResolveFavorite(path);
    std::vector<std::string> argv;
    std::string where;
    switch (action.kind) {
    case FavoriteAction::Kind::Nothing:
        return;
    case FavoriteAction::Kind::Navigate:
        ShowDirectory(action.target);
        return;
    case FavoriteAction::Kind::OpenFile:
        argv = DefaultOpenerArgv(action.target);
        where = ParentDirectoryOf(action.target);
        break;
    case FavoriteAction::Kind::OpenUrl:
        argv = DefaultOpenerArgv(action.target);
        break;
    case FavoriteAction::Kind::RunCommand:
        argv = action.argv;
        where = QDir::homePath().toStdString();
        break;
    }
    std::string error;
    if (argv.empty() || !StartProgram(argv, where, &error))
        UserPrompt::Message(&frame_,
                            tr("Cannot open \"%1\": %2")
                                .arg(ToQ(action.target.empty() ? path : action.target), ToQ(error)),
                            UserPrompt::Icon::Warning);
}

void FrameFavorites::CreateTemporaryDirectory() {
    COrvoBrowserView* view = frame_.ActiveView();
    std::vector<std::string> selection = view ? view->SelectedPaths() : std::vector<std::string>{};
    std::string root = TemporaryDirectoryRoot();
    std::string next = NextTemporaryDirectory(root);
    if (next.empty()) {
        UserPrompt::Message(&frame_, ToQ("Couldn't create " + root), UserPrompt::Icon::Warning);
        return;
    }
    std::vector<std::string> made;
    std::vector<std::string> there =
        RunNewDirectoryCommand(&frame_, root, selection, CNewDirectoryDlg::Form::Directory,
                               ToQ(std::string(FileNameOf(next))), &made);
    if (there.empty())
        return;
    // A typed name that was there already is shown but not listed: deleting
    // this run's directories must not take it.
    for (const std::string& path : made)
        TemporaryDirectoryList::Instance().Add(path);
    if (COrvoBrowserView* opened = frame_.OpenBrowseWindow(there.front()))
        if (CChildFrame* frame = frame_.FrameOf(opened))
            frame->showNormal();
}

void FrameFavorites::ListTemporaryDirectories() {
    const std::vector<std::string>& paths = TemporaryDirectoryList::Instance().Paths();
    if (paths.empty())
        return;
    QMenu menu(&frame_);
    for (const std::string& path : paths)
        menu.addAction(ToQ(std::string(FileNameOf(path))))
            ->setData(QByteArray::fromStdString(path));
    if (QAction* chosen = menu.exec(QCursor::pos()))
        frame_.OpenBrowseWindow(chosen->data().toByteArray().toStdString());
}

void FrameFavorites::EditTemporaryDirectories() {
    std::string root = TemporaryDirectoryRoot();
    CreateDirChain(root);
    frame_.OpenBrowseWindow(root);
}

void FrameFavorites::DeleteTemporaryDirectories() {
    TemporaryDirectoryList& list = TemporaryDirectoryList::Instance();
    if (list.Empty())
        return;
    if (UserPrompt::Instance().Ask(&frame_, QString(),
                                   QString::fromLatin1(kDeleteTemporaryQuestion),
                                   UserPrompt::Buttons::YesNoCancel,
                                   UserPrompt::Icon::Question) != UserPrompt::Answer::Yes)
        return;
    // Scratch directories: no problem list to confirm first.
    std::vector<std::string> ours = list.StillMade();
    list.Clear();
    if (!ours.empty())
        StartFileOperation(ours, std::string(), OpDelete, 0);
}

} // namespace orvo
