#include "workspace/ui/FrameTransfers.h"

#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/OperationTexts.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameListCommands.h"
#include "workspace/ui/FrameWindowCommands.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

namespace orvo {

FrameTransfers::FrameTransfers(CMainFrame& frame) : frame_(frame) {}

void FrameTransfers::BuildActions() {
    FileOperationNotifier& notifier = FileOperationNotifier::Instance();
    notifier.SetOwner(&frame_);
    connect(&notifier, &FileOperationNotifier::RefreshDirectories, this,
            &FrameTransfers::RefreshDirectories);
    QMenu* editMenu = frame_.EditMenu();
    editMenu->addSeparator();
    auto ctrlHeld = [] {
        return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
    };
    QAction* copy = editMenu->addAction(QStringLiteral("Copy to..."));
    copy->setShortcut(QKeySequence(Qt::Key_F5));
    connect(copy, &QAction::triggered, this, [this, ctrlHeld] { CopyTo(ctrlHeld()); });
    QAction* move = editMenu->addAction(QStringLiteral("Move to..."));
    move->setShortcut(QKeySequence(Qt::Key_F6));
    connect(move, &QAction::triggered, this, [this, ctrlHeld] { MoveTo(ctrlHeld()); });
    // Ctrl+F5 and Ctrl+F6 ask for a directory instead of a window.
    QAction* copyToFolder = new QAction(&frame_);
    copyToFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    connect(copyToFolder, &QAction::triggered, this, [this] { CopyTo(true); });
    QAction* moveToFolder = new QAction(&frame_);
    moveToFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    connect(moveToFolder, &QAction::triggered, this, [this] { MoveTo(true); });
    frame_.addActions({copyToFolder, moveToFolder});
    for (QAction* a : {copy, move, copyToFolder, moveToFolder})
        a->setShortcutContext(Qt::ApplicationShortcut);
}

void FrameTransfers::CopyTo(bool pickFolder) {
    TransferSelection(OpCopy, pickFolder);
}
void FrameTransfers::MoveTo(bool pickFolder) {
    TransferSelection(OpMove, pickFolder);
}

void FrameTransfers::TransferSelection(int kind, bool pickFolder) {
    COrvoBrowserView* view = frame_.ActiveView();
    if (!view)
        return;
    std::vector<std::string> items = view->SelectedPaths();
    if (items.empty())
        return;
    QString destination;
    if (pickFolder)
        destination = PickDestinationFolder(&frame_, PathToQ(view->CurrentPath()));
    else
        destination = frame_.Windows().ChooseWindowPath();
    if (destination.isEmpty())
        return;
    std::string target = QToPath(destination);
    if (!IsDirectory(target)) {
        UserPrompt::Message(&frame_, QString::fromLatin1(kNotADirectory),
                            UserPrompt::Icon::Warning);
        return;
    }
    StartFileOperation(items, target, kind, 1);
}

void FrameTransfers::RefreshDirectories(const QStringList& directories) {
    for (COrvoBrowserView* view : frame_.ViewsInStackingOrder()) {
        if (view->ListMode().IsListMode()) {
            frame_.Lists().RefreshListAfterOperation(view, directories);
            continue;
        }
        QString shown = PathToQ(StripTrailingSlash(view->CurrentPath()));
        if (directories.contains(shown))
            view->RebuildView(true, true, false);
    }
}

} // namespace orvo
