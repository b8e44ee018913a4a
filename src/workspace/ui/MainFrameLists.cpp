// The main frame's "&List" menu: list windows and the file-list documents
// they are saved as, exported to and checked against.
#include "browse/FileListRows.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/FileListDocument.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CListExportDlg.h"
#include "workspace/ui/CListStatusDlg.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/ListFileDialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace orvo {

namespace {
QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

void CMainFrame::BuildListActions() {
    listMenu_ = new QMenu(QStringLiteral("&List"), this);
    menuBar()->insertMenu(windowMenu_->menuAction(), listMenu_);
    auto add = [this](const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = listMenu_->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        // Only in the main window: F9 in a search window makes its own list.
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(QStringLiteral("&New list window\tF9"), QKeySequence(Qt::Key_F9),
        &CMainFrame::NewListWindow);
    add(QStringLiteral("&Open"), QKeySequence(), [this] { OpenListDocument(); });
    QList<QAction*> needList;
    needList << add(QStringLiteral("&Save as"), QKeySequence(), &CMainFrame::SaveListAs);
    needList << add(QStringLiteral("&Export"), QKeySequence(), &CMainFrame::ExportList);
    needList << add(QStringLiteral("&Status"), QKeySequence(), &CMainFrame::ShowListStatus);
    needList << add(QStringLiteral("Updates the files information (size,comment,time)"),
                    QKeySequence(), &CMainFrame::RefreshList);
    listMenu_->addSeparator();
    needList << add(QStringLiteral("Remove from the list\tDel"), QKeySequence(), [this] {
        if (COrvoBrowserView* view = ActiveListView())
            view->ListMode().RemoveFromList();
    });
    needList << add(QStringLiteral("&Go there"), QKeySequence(), [this] {
        if (COrvoBrowserView* view = ActiveListView())
            view->ListMode().GoThere();
    });
    connect(listMenu_, &QMenu::aboutToShow, this, [this, needList] {
        const bool list = ActiveListView() != nullptr;
        for (QAction* a : needList)
            a->setEnabled(list);
    });
}

COrvoBrowserView* CMainFrame::ActiveListView() const {
    COrvoBrowserView* view = ActiveView();
    return view && view->ListMode().IsListMode() ? view : nullptr;
}

COrvoBrowserView* CMainFrame::CreateListWindow(const std::vector<std::string>& paths) {
    auto* view = new COrvoBrowserView;
    CChildFrame* frame = AddViewWindow(view);
    view->ListMode().EnterListMode();
    view->ListMode().AddListPaths(paths);
    area_->setActiveSubWindow(frame);
    view->FocusList(0);
    return view;
}

void CMainFrame::MakeListWindow(const QStringList& paths) {
    std::vector<std::string> list;
    list.reserve(static_cast<size_t>(paths.size()));
    for (const QString& p : paths)
        list.push_back(p.toStdString());
    CreateListWindow(list);
    raise();
    activateWindow();
}

void CMainFrame::NewListWindow() {
    COrvoBrowserView* view = ActiveView();
    CreateListWindow(view ? view->SelectedPaths() : std::vector<std::string>());
}

COrvoBrowserView* CMainFrame::OpenListDocument(const QString& requested) {
    QString path = requested;
    if (path.isEmpty()) {
        COrvoBrowserView* active = ActiveView();
        QString start = active && !active->CurrentPath().empty() ? ToQ(active->CurrentPath())
                                                                 : QDir::homePath();
        path = AskListFileName(this, ListFileDialog::Open, start);
        if (path.isEmpty())
            return nullptr;
    }
    // A damaged or foreign file is refused before a window opens for it.
    DirectoryListing rows;
    if (QFileInfo::exists(path)) {
        try {
            LoadFileList(path.toStdString(), rows);
        } catch (const std::exception& e) {
            UserPrompt::Message(
                this, tr("The file list \"%1\" cannot be opened: %2").arg(path, ToQ(e.what())),
                UserPrompt::Icon::Warning);
            return nullptr;
        }
    }
    auto* view = new COrvoBrowserView;
    CChildFrame* frame = AddViewWindow(view);
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
    view->ListMode().SetListDocument(path.toStdString(), true);
    area_->setActiveSubWindow(frame);
    view->FocusList(0);
    return view;
}

void CMainFrame::SaveListAs() {
    COrvoBrowserView* view = ActiveListView();
    if (!view)
        return;
    QString proposed = view->ListMode().ListDocumentPath().empty()
                           ? QDir::home().filePath(view->DocumentTitle() + QStringLiteral(".orl"))
                           : ToQ(view->ListMode().ListDocumentPath());
    QString path = AskListFileName(this, ListFileDialog::SaveAs, proposed);
    if (path.isEmpty())
        return;
    try {
        SaveFileList(path.toStdString(), view->Listing());
    } catch (const std::exception& e) {
        UserPrompt::Message(this, tr("The list was not saved: %1").arg(ToQ(e.what())),
                            UserPrompt::Icon::Warning);
        return;
    }
    view->ListMode().SetListDocument(path.toStdString(), false);
}

void CMainFrame::ExportList() {
    COrvoBrowserView* view = ActiveListView();
    if (!view)
        return;
    CListExportDlg dialog(view->Listing(), this);
    if (dialog.Run() != QDialog::Accepted)
        return;
    QString directory = view->ListMode().ListDocumentPath().empty()
                            ? QDir::homePath()
                            : QFileInfo(ToQ(view->ListMode().ListDocumentPath())).absolutePath();
    QString proposed = QDir(directory).filePath(view->DocumentTitle() + QStringLiteral(".txt"));
    QString path = AskListFileName(this, ListFileDialog::Export, proposed);
    if (path.isEmpty())
        return;
    try {
        WriteFileAtomically(path.toStdString(), ExportListText(view->Listing(), dialog.Options()));
    } catch (const std::exception&) {
        UserPrompt::Message(this, QStringLiteral("Nie udało się wykreować pliku ") + path,
                            UserPrompt::Icon::Warning);
    }
}

void CMainFrame::ShowListStatus() {
    COrvoBrowserView* view = ActiveListView();
    if (!view)
        return;
    CListStatusDlg dialog(CheckListStatus(view->Listing()), this);
    connect(&dialog, &CListStatusDlg::GoToFileRequested, this, &CMainFrame::GoToFile);
    if (dialog.Run() != QDialog::Accepted)
        return;
    // The view may have gone while the dialog was up (a go-to replaced it).
    if (!ViewsInStackingOrder().contains(view))
        return;
    if (dialog.RemoveDead())
        view->ListMode().RemoveDeadRows();
    if (dialog.UpdateInformation())
        view->ListMode().RefreshListRows();
}

void CMainFrame::RefreshList() {
    if (COrvoBrowserView* view = ActiveListView())
        view->ListMode().RefreshListRows();
}

void CMainFrame::GoThere(const QString& path) {
    std::string entry = StripTrailingSlash(path.toStdString());
    std::string directory = ParentDirectoryOf(entry);
    if (directory.empty() || !IsDirectory(directory)) {
        UserPrompt::Message(this, tr("The directory of \"%1\" does not exist any more.").arg(path),
                            UserPrompt::Icon::Warning);
        return;
    }
    COrvoBrowserView* view = OpenBrowseWindow(directory);
    if (!view)
        return;
    view->SelectPath(entry);
    view->FocusList(-1);
}

void CMainFrame::RefreshListAfterOperation(COrvoBrowserView* view, const QStringList& directories) {
    std::vector<std::string> changed;
    for (const QString& d : directories)
        changed.push_back(d.toStdString());
    RemoveLeftEntries(view->Listing(), changed);
    view->ListMode().RefreshListRows();
}

} // namespace orvo
