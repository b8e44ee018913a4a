#include "workspace/ui/FrameFileCommands.h"

#include "browse/ui/BrowseContextMenu.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseNewEntries.h"
#include "browse/ui/COrvoBrowserView.h"
#include "viewers/ui/ImageConversionDialog.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameTransfers.h"
#include "workspace/ui/FrameViewers.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>

namespace orvo {

FrameFileCommands::FrameFileCommands(CMainFrame& frame) : frame_(frame) {}

void FrameFileCommands::EditComment() {
    if (COrvoBrowserView* view = frame_.ActiveView())
        view->FileCommands().EditComment();
}

void FrameFileCommands::BuildActions() {
    auto add = [this](QMenu* menu, QAction* before, const QString& text, const QKeySequence& key,
                      void (BrowseFileCommands::*command)()) {
        auto* a = new QAction(text, menu);
        menu->insertAction(before, a);
        if (!key.isEmpty())
            a->setShortcut(key);
        // Only while the main window is the active one: Del in a search
        // window must never remove what a browse window has selected.
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, command] {
            if (COrvoBrowserView* view = frame_.ActiveView())
                (view->FileCommands().*command)();
        });
        return a;
    };
    auto modifiers = [] { return QGuiApplication::queryKeyboardModifiers(); };

    QMenu* fileMenu = frame_.FileMenu();
    QMenu* editMenu = frame_.EditMenu();
    // The commands go above Exit, which stays last.
    QAction* exit = nullptr;
    for (QAction* a : fileMenu->actions())
        if (a->shortcut() == QKeySequence(Qt::ALT | Qt::Key_F4))
            exit = a;
    QAction* newDirectory = new QAction(QStringLiteral("New &directory(ies)...\tF7"), fileMenu);
    newDirectory->setStatusTip(QStringLiteral("Creates new directory(ies)"));
    newDirectory->setShortcut(QKeySequence(Qt::Key_F7));
    connect(newDirectory, &QAction::triggered, this, [this, modifiers] {
        if (COrvoBrowserView* view = frame_.ActiveView())
            view->NewEntries().NewDirectory(modifiers() & Qt::ControlModifier,
                                            modifiers() & Qt::ShiftModifier);
    });
    fileMenu->insertAction(exit, newDirectory);
    QAction* newFile = new QAction(QStringLiteral("New &file(s)...\tShift+F4"), fileMenu);
    fileMenu->insertAction(exit, newFile);
    newFile->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    newFile->setShortcutContext(Qt::WindowShortcut);
    connect(newFile, &QAction::triggered, this, [this] {
        if (COrvoBrowserView* view = frame_.ActiveView())
            view->NewEntries().NewFile();
    });
    newFile->setStatusTip(QStringLiteral("Creates new file(s)"));
    fileMenu->insertSeparator(exit);
    add(fileMenu, exit, QStringLiteral("Create &shortcut\tAlt+F5"),
        QKeySequence(Qt::ALT | Qt::Key_F5), &BrowseFileCommands::CreateShortcuts);
    add(fileMenu, exit, QStringLiteral("&Remove\tDel"), QKeySequence(Qt::Key_Delete),
        &BrowseFileCommands::RemoveSelection);
    add(fileMenu, exit, QStringLiteral("Really remove from a disk\tAlt+Del"),
        QKeySequence(Qt::ALT | Qt::Key_Delete), &BrowseFileCommands::DeleteSelection);
    fileMenu->insertSeparator(exit);
    add(fileMenu, exit, QStringLiteral("&Open with Explorer\tCtrl+F10"),
        QKeySequence(Qt::CTRL | Qt::Key_F10), &BrowseFileCommands::OpenWithExplorer);
    add(fileMenu, exit, QStringLiteral("Open in DOS shell\tCtrl+Shift+F10"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F10), &BrowseFileCommands::OpenShellHere);
    add(fileMenu, exit, QStringLiteral("Go to link target"), QKeySequence(),
        &BrowseFileCommands::GoToLinkTarget);
    fileMenu->insertSeparator(exit);

    editMenu->addSeparator();
    add(editMenu, nullptr, QStringLiteral("&Copy\tCtrl+C"), QKeySequence(Qt::CTRL | Qt::Key_C),
        &BrowseFileCommands::CopyToClipboard);
    add(editMenu, nullptr, QStringLiteral("&Add\tCtrl+Shift+A"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), &BrowseFileCommands::AddToClipboard);
    add(editMenu, nullptr, QStringLiteral("&Paste\tCtrl+V"), QKeySequence(Qt::CTRL | Qt::Key_V),
        &BrowseFileCommands::Paste);
    add(editMenu, nullptr, QStringLiteral("&Paste shortcut"), QKeySequence(),
        &BrowseFileCommands::PasteShortcut);
    add(editMenu, nullptr, QStringLiteral("&Names to Clipboard\tCtrl+Space"),
        QKeySequence(Qt::CTRL | Qt::Key_Space), &BrowseFileCommands::NamesToClipboard);
    add(editMenu, nullptr, QStringLiteral("&Paths to Clipboard\tCtrl+Alt+Space"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space), &BrowseFileCommands::PathsToClipboard);

    // Ctrl+F7 and Shift+F7: the new directory takes the selection along.
    auto* copyInto = new QAction(&frame_);
    copyInto->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F7));
    connect(copyInto, &QAction::triggered, this, [this] {
        if (COrvoBrowserView* view = frame_.ActiveView())
            view->NewEntries().NewDirectory(true, false);
    });
    auto* moveInto = new QAction(&frame_);
    moveInto->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    connect(moveInto, &QAction::triggered, this, [this] {
        if (COrvoBrowserView* view = frame_.ActiveView())
            view->NewEntries().NewDirectory(false, true);
    });
    frame_.addActions({copyInto, moveInto});

    AddContextCommands();

    // "Run conversion when image dropped": a pasted picture passes through
    // the conversion dialog, whose format names the new file's extension.
    BrowseFileCommands::SetDroppedImageConverter(
        [](QWidget* parent, RasterImage& image, std::string& extension) {
            ImageConversionDialog dialog(&image, "dropped." + extension, parent);
            if (!dialog.Run())
                return false;
            if (std::string chosen = dialog.Model().FormatExtension(); !chosen.empty())
                extension = chosen;
            return true;
        });
}

void FrameFileCommands::AddContextCommands() {
    QPointer<CMainFrame> frame(&frame_);
    BrowseContextMenu::SetFrameCommands(
        [frame](COrvoBrowserView* view, QMenu* menu, BrowseContextMenu::Slot slot) {
            CChildFrame* child = frame ? frame->FrameOf(view) : nullptr;
            if (!child)
                return;
            // These commands act on the active window: the one clicked.
            frame->Area()->setActiveSubWindow(child);
            auto add = [menu](const QString& text, QKeyCombination key, auto run) {
                QAction* a = menu->addAction(
                    text + QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText));
                QObject::connect(a, &QAction::triggered, menu, run);
            };
            if (slot == BrowseContextMenu::Slot::AfterOpen) {
                add(QStringLiteral("&Quick view"), Qt::Key_F3,
                    [frame] { frame->Viewers().QuickView(false); });
            } else {
                add(QStringLiteral("Copy &to..."), Qt::Key_F5,
                    [frame] { frame->Transfers().CopyTo(false); });
                add(QStringLiteral("Mo&ve to..."), Qt::Key_F6,
                    [frame] { frame->Transfers().MoveTo(false); });
            }
        });
}

} // namespace orvo
