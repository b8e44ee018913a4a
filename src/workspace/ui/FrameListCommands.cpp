#include "workspace/ui/FrameListCommands.h"

#include "browse/FileListRows.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SaveQuestion.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/FileListDocument.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CListExportDlg.h"
#include "workspace/ui/CListStatusDlg.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/ListFileDialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace orvo {

FrameListCommands::FrameListCommands(CMainFrame& frame) : frame_(frame) {}

void FrameListCommands::BuildActions() {
    menu_ = new QMenu(QStringLiteral("&List"), &frame_);
    frame_.menuBar()->insertMenu(frame_.WindowMenu()->menuAction(), menu_);
    auto add = [this](const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = menu_->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        // Only in the main window: F9 in a search window makes its own list.
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(QStringLiteral("&New list window\tF9"), QKeySequence(Qt::Key_F9),
        &FrameListCommands::NewListWindow);
    add(QStringLiteral("&Open"), QKeySequence(), [this] { OpenListDocument(); });
    QList<QAction*> needList;
    needList << add(QStringLiteral("&Save as"), QKeySequence(), &FrameListCommands::SaveListAs);
    needList << add(QStringLiteral("&Export"), QKeySequence(), &FrameListCommands::ExportList);
    needList << add(QStringLiteral("&Status"), QKeySequence(), &FrameListCommands::ShowListStatus);
    needList << add(QStringLiteral("Updates the files information (size,comment,time)"),
                    QKeySequence(), &FrameListCommands::RefreshList);
    menu_->addSeparator();
    needList << add(QStringLiteral("Remove from the list\tDel"), QKeySequence(), [this] {
        if (COrvoBrowserView* view = ActiveListView())
            view->ListMode().RemoveFromList();
    });
    needList << add(QStringLiteral("&Go there"), QKeySequence(), [this] {
        if (COrvoBrowserView* view = ActiveListView())
            view->ListMode().GoThere();
    });
    connect(menu_, &QMenu::aboutToShow, this, [this, needList] {
        const bool list = ActiveListView() != nullptr;
        for (QAction* a : needList)
            a->setEnabled(list);
    });
}

COrvoBrowserView* FrameListCommands::ActiveListView() const {
    COrvoBrowserView* view = frame_.ActiveView();
    return view && view->ListMode().IsListMode() ? view : nullptr;
}

COrvoBrowserView* FrameListCommands::CreateListWindow(const std::vector<std::string>& paths) {
    auto* view = new COrvoBrowserView;
    CChildFrame* frame = frame_.AddViewWindow(view);
    view->ListMode().EnterListMode();
    view->ListMode().AddListPaths(paths);
    frame_.Area()->setActiveSubWindow(frame);
    view->FocusList(0);
    return view;
}

void FrameListCommands::MakeListWindow(const QStringList& paths) {
    std::vector<std::string> list;
    list.reserve(static_cast<size_t>(paths.size()));
    for (const QString& p : paths)
        list.push_back(QToPath(p));
    CreateListWindow(list);
    frame_.raise();
    frame_.activateWindow();
}

void FrameListCommands::NewListWindow() {
    COrvoBrowserView* view = frame_.ActiveView();
    CreateListWindow(view ? view->SelectedPaths() : std::vector<std::string>());
}

COrvoBrowserView* FrameListCommands::OpenListDocument(const QString& requested) {
    QString path = requested;
    if (path.isEmpty()) {
        COrvoBrowserView* active = frame_.ActiveView();
        QString start = active && !active->CurrentPath().empty() ? ToQ(active->CurrentPath())
                                                                 : QDir::homePath();
        path = AskListFileName(&frame_, ListFileDialog::Open, start);
        if (path.isEmpty())
            return nullptr;
    }
    // A damaged or foreign file is refused before a window opens for it.
    const std::string file = QToPath(path);
    DirectoryListing rows;
    const bool exists = PathExists(file);
    if (exists) {
        try {
            LoadFileList(file, rows);
        } catch (const std::exception& e) {
            UserPrompt::Message(
                &frame_, tr("The file list \"%1\" cannot be opened: %2").arg(path, ToQ(e.what())),
                UserPrompt::Icon::Warning);
            return nullptr;
        }
    }
    auto* view = new COrvoBrowserView;
    CChildFrame* frame = frame_.AddViewWindow(view);
    view->ListMode().EnterListMode();
    // The document's own name and date go along, so that saving an
    // unchanged list writes the same bytes.
    std::string name = rows.GetName();
    uint32_t created = rows.GetCreated();
    std::string secondText = rows.GetSecondText();
    view->Listing().TakeRows(rows, std::string());
    view->Listing().SetName(std::move(name));
    view->Listing().SetCreated(created);
    view->Listing().SetSecondText(std::move(secondText));
    view->ListMode().SetListDocument(file, true);
    frame_.Area()->setActiveSubWindow(frame);
    view->FocusList(0);
    if (exists)
        emit ListDocumentUsed(PathToQ(file));
    return view;
}

void FrameListCommands::SaveListAs() {
    COrvoBrowserView* view = ActiveListView();
    if (!view)
        return;
    QString proposed = view->ListMode().ListDocumentPath().empty()
                           ? QDir::home().filePath(view->DocumentTitle() + QStringLiteral(".orl"))
                           : ToQ(view->ListMode().ListDocumentPath());
    QString path = AskListFileName(&frame_, ListFileDialog::SaveAs, proposed);
    if (path.isEmpty())
        return;
    const std::optional<ReadOnlyFiles> allowed = AskBeforeSavingOver(&frame_, QToPath(path));
    if (!allowed)
        return;
    try {
        SaveFileList(QToPath(path), view->Listing(), *allowed);
    } catch (const std::exception& e) {
        UserPrompt::Message(&frame_, tr("The list was not saved: %1").arg(ToQ(e.what())),
                            UserPrompt::Icon::Warning);
        return;
    }
    view->ListMode().SetListDocument(QToPath(path), false);
    emit ListDocumentUsed(path);
}

void FrameListCommands::ExportList() {
    COrvoBrowserView* view = ActiveListView();
    if (!view)
        return;
    CListExportDlg dialog(view->Listing(), &frame_);
    if (dialog.Run() != QDialog::Accepted)
        return;
    QString directory = view->ListMode().ListDocumentPath().empty()
                            ? QDir::homePath()
                            : QFileInfo(ToQ(view->ListMode().ListDocumentPath())).absolutePath();
    QString proposed = QDir(directory).filePath(view->DocumentTitle() + QStringLiteral(".txt"));
    QString path = AskListFileName(&frame_, ListFileDialog::Export, proposed);
    if (path.isEmpty())
        return;
    const std::optional<ReadOnlyFiles> allowed = AskBeforeSavingOver(&frame_, QToPath(path));
    if (!allowed)
        return;
    try {
        WriteFileAtomically(QToPath(path), ExportListText(view->Listing(), dialog.Options()), true,
                            *allowed);
    } catch (const std::exception&) {
        UserPrompt::Message(&frame_, QStringLiteral("Nie udało się wykreować pliku ") + path,
                            UserPrompt::Icon::Warning);
    }
}

void FrameListCommands::ShowListStatus() {
    COrvoBrowserView* view = ActiveListView();
    if (!view)
        return;
    CListStatusDlg dialog(CheckListStatus(view->Listing()), &frame_);
    connect(&dialog, &CListStatusDlg::GoToFileRequested, &frame_.Windows(),
            &FrameWindowCommands::GoToFile);
    if (dialog.Run() != QDialog::Accepted)
        return;
    // The view may have gone while the dialog was up (a go-to replaced it).
    if (!frame_.ViewsInStackingOrder().contains(view))
        return;
    if (dialog.RemoveDead())
        view->ListMode().RemoveDeadRows();
    if (dialog.UpdateInformation())
        view->ListMode().RefreshListRows();
}

void FrameListCommands::RefreshList() {
    if (COrvoBrowserView* view = ActiveListView())
        view->ListMode().RefreshListRows();
}

void FrameListCommands::GoThere(const QString& path) {
    std::string entry = StripTrailingSlash(QToPath(path));
    std::string directory = ParentDirectoryOf(entry);
    if (directory.empty() || !IsDirectory(directory)) {
        UserPrompt::Message(&frame_,
                            tr("The directory of \"%1\" does not exist any more.").arg(path),
                            UserPrompt::Icon::Warning);
        return;
    }
    COrvoBrowserView* view = frame_.OpenBrowseWindow(directory);
    if (!view)
        return;
    view->SelectPath(entry);
    view->FocusList(-1);
}

void FrameListCommands::RefreshListAfterOperation(COrvoBrowserView* view,
                                                  const QStringList& directories) {
    std::vector<std::string> changed;
    for (const QString& d : directories)
        changed.push_back(QToPath(d));
    RemoveLeftEntries(view->Listing(), changed);
    view->ListMode().RefreshListRows();
}

} // namespace orvo
