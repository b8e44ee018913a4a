// The main frame's file operations: "Copy to..." (F5), "Move to..." (F6)
// and the re-reading of browse windows when an operation ends.
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/OperationTexts.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/ui/CMainFrame.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

namespace orvo {

void CMainFrame::BuildFileOperationActions() {
    FileOperationNotifier& notifier = FileOperationNotifier::Instance();
    notifier.SetOwner(this);
    connect(&notifier, &FileOperationNotifier::RefreshDirectories, this,
            &CMainFrame::RefreshDirectories);
    editMenu_->addSeparator();
    auto ctrlHeld = [] {
        return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
    };
    QAction* copy = editMenu_->addAction(QStringLiteral("Copy to..."));
    copy->setShortcut(QKeySequence(Qt::Key_F5));
    connect(copy, &QAction::triggered, this, [this, ctrlHeld] { CopyTo(ctrlHeld()); });
    QAction* move = editMenu_->addAction(QStringLiteral("Move to..."));
    move->setShortcut(QKeySequence(Qt::Key_F6));
    connect(move, &QAction::triggered, this, [this, ctrlHeld] { MoveTo(ctrlHeld()); });
    // Ctrl+F5 and Ctrl+F6 ask for a directory instead of a window.
    QAction* copyToFolder = new QAction(this);
    copyToFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    connect(copyToFolder, &QAction::triggered, this, [this] { CopyTo(true); });
    QAction* moveToFolder = new QAction(this);
    moveToFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    connect(moveToFolder, &QAction::triggered, this, [this] { MoveTo(true); });
    addActions({copyToFolder, moveToFolder});
    for (QAction* a : {copy, move, copyToFolder, moveToFolder})
        a->setShortcutContext(Qt::ApplicationShortcut);
}

void CMainFrame::CopyTo(bool pickFolder) {
    TransferSelection(OpCopy, pickFolder);
}
void CMainFrame::MoveTo(bool pickFolder) {
    TransferSelection(OpMove, pickFolder);
}

void CMainFrame::TransferSelection(int kind, bool pickFolder) {
    COrvoBrowserView* view = ActiveView();
    if (!view)
        return;
    std::vector<std::string> items = view->SelectedPaths();
    if (items.empty())
        return;
    QString destination;
    if (pickFolder)
        destination = PickDestinationFolder(this, QString::fromStdString(view->CurrentPath()));
    else
        destination = ChooseWindowPath();
    if (destination.isEmpty())
        return;
    std::string target = destination.toStdString();
    if (!IsDirectory(target)) {
        UserPrompt::Message(this, QString::fromLatin1(kNotADirectory), UserPrompt::Icon::Warning);
        return;
    }
    StartFileOperation(items, target, kind, 1);
}

void CMainFrame::RefreshDirectories(const QStringList& directories) {
    for (COrvoBrowserView* view : ViewsInStackingOrder()) {
        if (view->ListMode().IsListMode()) {
            RefreshListAfterOperation(view, directories);
            continue;
        }
        QString shown = QString::fromStdString(StripTrailingSlash(view->CurrentPath()));
        if (directories.contains(shown))
            view->RebuildView(true, true, false);
    }
}

} // namespace orvo
