#include "browse/ui/BrowseContextMenu.h"

#include "browse/DirectoryListing.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowseNewEntries.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "fileops/NewEntries.h"
#include "platform/FileStatus.h"
#include "platform/ui/OpenWith.h"
#include "platform/ui/QtText.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace orvo {

namespace {

BrowseContextMenu::FrameCommands& FrameHook() {
    static BrowseContextMenu::FrameCommands commands;
    return commands;
}

QString KeyText(QKeyCombination key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

// The key goes after a tab, where menus show keys; the entry itself has no
// shortcut of its own, so it never competes with the one that has.
template <typename F>
QAction* AddEntry(QMenu* menu, const QString& text, const QString& key, F&& run) {
    QAction* a = menu->addAction(key.isEmpty() ? text : text + QLatin1Char('\t') + key);
    QObject::connect(a, &QAction::triggered, menu, std::forward<F>(run));
    return a;
}

} // namespace

BrowseContextMenu::BrowseContextMenu(COrvoBrowserView* view) : QObject(view), view_(view) {}

void BrowseContextMenu::SetFrameCommands(FrameCommands commands) {
    FrameHook() = std::move(commands);
}

bool BrowseContextMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu)
        return false;
    QAbstractItemView* list = view_->CurrentList();
    auto* menuEvent = static_cast<QContextMenuEvent*>(event);
    if (watched == list->viewport()) {
        Show(menuEvent->pos(), menuEvent->globalPos());
        return true;
    }
    if (watched == list) {
        // The Menu key: the menu of the current row, shown at that row.
        QRect r = list->visualRect(list->currentIndex());
        QPoint at = r.isValid() ? r.center() : QPoint(8, 8);
        if (menuEvent->reason() != QContextMenuEvent::Keyboard)
            at = list->viewport()->mapFrom(list, menuEvent->pos());
        Show(at, list->viewport()->mapToGlobal(at));
        return true;
    }
    return false;
}

void BrowseContextMenu::Show(const QPoint& viewportPos, const QPoint& globalPos) {
    // A right click makes its window the active one, as a left click does:
    // the window's commands and the main menu's then mean the same window.
    // Focus alone does not do it while the program is not the desktop's
    // active window (the menu's own grab can keep it so).
    for (QWidget* w = view_; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            if (sub->mdiArea())
                sub->mdiArea()->setActiveSubWindow(sub);
            break;
        }
    }
    view_->CurrentList()->setFocus(Qt::MouseFocusReason);
    QMenu* menu = Build(viewportPos);
    menu->exec(globalPos);
    delete menu;
}

QMenu* BrowseContextMenu::Build(const QPoint& viewportPos) {
    QAbstractItemView* list = view_->CurrentList();
    const ViewTableModel& model = *view_->Model();
    const int row = list->indexAt(viewportPos).row();
    // The parent entry stands for the directory above: it gets the
    // directory's commands, not those for entries.
    const bool onEntry = row >= 0 && !model.IsParentEntry(row);
    QItemSelectionModel* selection = list->selectionModel();
    if (onEntry) {
        // As in other file managers: a click on a selected row keeps the
        // selection; on another row it selects that row only.
        if (selection->isRowSelected(row, QModelIndex()))
            selection->setCurrentIndex(model.index(row, 0), QItemSelectionModel::NoUpdate);
        else
            view_->SelectRow(row);
    } else {
        selection->clearSelection();
    }
    auto* menu = new QMenu(view_);
    menu->setObjectName(onEntry ? QStringLiteral("RowMenu") : QStringLiteral("DirectoryMenu"));
    if (onEntry)
        AddRowCommands(menu);
    else
        AddDirectoryCommands(menu);
    return menu;
}

void BrowseContextMenu::AddRowCommands(QMenu* menu) {
    COrvoBrowserView* view = view_;
    BrowseFileCommands* commands = &view->FileCommands();
    const bool driveList = view->CurrentPath() == kComputerPath;
    const bool listMode = view->ListMode().IsListMode();
    auto frame = [view, menu](Slot slot) {
        if (FrameHook())
            FrameHook()(view, menu, slot);
    };

    AddEntry(menu, tr("&Open"), QStringLiteral("Enter"),
             [view] { view->OpenItem(view->SelectionMark()); });
    AddEntry(menu, tr("Open with the desktop's &program"), QString(),
             [commands] { commands->OpenWithDesktopHandler(); });
    if (driveList) {
        menu->addSeparator();
        AddEntry(menu, tr("P&roperties"), QString(), [commands] { commands->ShowProperties(); });
        return;
    }
    AddOpenWithMenu(menu, view, view->SelectedPaths());
    frame(Slot::AfterOpen);
    menu->addSeparator();
    AddEntry(menu, tr("&Copy"), KeyText(Qt::CTRL | Qt::Key_C),
             [commands] { commands->CopyToClipboard(); });
    AddEntry(menu, tr("&Paste"), KeyText(Qt::CTRL | Qt::Key_V),
             [commands] { commands->Paste(); });
    frame(Slot::AfterClipboard);
    menu->addSeparator();
    AddEntry(menu, tr("Re&name"), KeyText(Qt::Key_F2), [commands] { commands->StartRename(); });
    AddEntry(menu, tr("Edit co&mment"), KeyText(Qt::ALT | Qt::Key_C),
             [commands] { commands->EditComment(); });
    if (listMode) {
        AddEntry(menu, tr("Remove from the &list"), KeyText(Qt::Key_Delete),
                 [commands] { commands->RemoveSelection(); });
        AddEntry(menu, tr("&Delete from the disk"), KeyText(Qt::ALT | Qt::Key_Delete),
                 [commands] { commands->DeleteSelection(); });
    } else {
        AddEntry(menu, tr("&Delete"), KeyText(Qt::Key_Delete),
                 [commands] { commands->RemoveSelection(); });
    }
    AddEntry(menu, tr("Create &shortcut"), KeyText(Qt::ALT | Qt::Key_F5),
             [commands] { commands->CreateShortcuts(); });
    menu->addSeparator();
    bool directorySelected = false;
    for (const std::string& path : view->SelectedPaths())
        directorySelected = directorySelected || IsDirectory(path);
    if (directorySelected)
        AddEntry(menu, tr("Count the si&ze"), QString(),
                 [view] { view->Counting().CountDirectories(true); });
    AddEntry(menu, tr("P&roperties"), QString(), [commands] { commands->ShowProperties(); });
    if (!listMode)
        AddEntry(menu, tr("Open &terminal here"), KeyText(Qt::CTRL | Qt::SHIFT | Qt::Key_F10),
                 [commands] { commands->OpenShellHere(); });
}

void BrowseContextMenu::AddDirectoryCommands(QMenu* menu) {
    COrvoBrowserView* view = view_;
    BrowseFileCommands* commands = &view->FileCommands();
    const bool driveList = view->CurrentPath() == kComputerPath;
    const bool listMode = view->ListMode().IsListMode();
    if (!driveList && !listMode) {
        AddEntry(menu, tr("New &directory..."), KeyText(Qt::Key_F7),
                 [view] { view->NewEntries().NewDirectory(false, false); });
        AddEntry(menu, tr("New &file..."), KeyText(Qt::SHIFT | Qt::Key_F4),
                 [view] { view->NewEntries().NewFile(); });
        AddNewFileMenu(menu);
        menu->addSeparator();
    }
    if (!driveList) {
        AddEntry(menu, tr("&Paste"), KeyText(Qt::CTRL | Qt::Key_V),
                 [commands] { commands->Paste(); });
        if (!listMode)
            AddEntry(menu, tr("Paste s&hortcut"), QString(),
                     [commands] { commands->PasteShortcut(); });
        menu->addSeparator();
    }
    AddEntry(menu, tr("&Refresh"), KeyText(Qt::CTRL | Qt::Key_R),
             [view] { view->RebuildView(true, true, false); });
    if (!driveList && !listMode) {
        AddEntry(menu, tr("Open &terminal here"), KeyText(Qt::CTRL | Qt::SHIFT | Qt::Key_F10),
                 [commands] { commands->OpenShellHere(); });
        AddEntry(menu, tr("Show in the desktop's file &manager"),
                 KeyText(Qt::CTRL | Qt::Key_F10), [commands] { commands->OpenWithExplorer(); });
    }
}

void BrowseContextMenu::AddNewFileMenu(QMenu* menu) {
    // One entry per template: the new-file dialog opens with it chosen.
    QMenu* templates = menu->addMenu(tr("New file from &template"));
    templates->setObjectName(QStringLiteral("TemplateMenu"));
    COrvoBrowserView* view = view_;
    for (const FileTemplate& t : ListFileTemplates(FileTemplatesDirectory())) {
        QAction* a = templates->addAction(PathToQ(t.fileName));
        QObject::connect(a, &QAction::triggered, menu,
                         [view, name = t.fileName] { view->NewEntries().NewFile(name); });
    }
    templates->setEnabled(!templates->isEmpty());
}

} // namespace orvo
