// What the search window does with its hits, and the keys of its list.
#include "browse/ui/BrowseClipboard.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/ui/EndSignal.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/ui/UserPrompt.h"
#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchResultsModel.h"

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QStackedWidget>
#include <algorithm>

namespace orvo {

namespace {

const char* const kNothingSelected =
    "Nothing selected. First select some files you want, then try again";

} // namespace

QAbstractItemView* CSearchDlg::CurrentList() const {
    return view_ == ResultsView::Details ? static_cast<QAbstractItemView*>(details_) : icons_;
}

int CSearchDlg::FocusedRow() const {
    QModelIndex current = details_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::vector<int> CSearchDlg::SelectedRowsOrSay() {
    std::vector<int> rows;
    for (const QModelIndex& index : details_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    if (rows.empty())
        UserPrompt::Message(this, tr(kNothingSelected), UserPrompt::Icon::Information);
    return rows;
}

void CSearchDlg::CopyFilesToClipboard() {
    std::vector<std::string> paths;
    for (int row : SelectedRowsOrSay())
        paths.push_back(model_->Results().Path(row));
    if (!paths.empty())
        SetClipboardFileList(paths);
}

void CSearchDlg::CopyPathsToClipboard() {
    QString text;
    for (int row : SelectedRowsOrSay())
        text += model_->PathOf(row) + QStringLiteral("\r\n");
    if (!text.isEmpty())
        SetClipboardText(text);
}

void CSearchDlg::CopyNamesToClipboard() {
    QString text;
    for (int row : SelectedRowsOrSay())
        text += model_->NameOf(row) + QStringLiteral("\r\n");
    if (!text.isEmpty())
        SetClipboardText(text);
}

void CSearchDlg::GoThere() {
    if (SelectedRowsOrSay().empty())
        return;
    int row = FocusedRow();
    if (row >= 0)
        emit GoToFileRequested(model_->PathOf(row));
}

void CSearchDlg::CreateList() {
    emit MakeListWindowRequested(model_->Paths());
    PlayEndSignal();
}

void CSearchDlg::DeleteSelected() {
    std::vector<int> rows = SelectedRowsOrSay();
    if (rows.empty())
        return;
    QString what = rows.size() == 1 ? model_->PathOf(rows.front()) + QStringLiteral(" ?")
                                    : tr("selected files ?");
    if (UserPrompt::Instance().Ask(this, tr("Deleting"),
                                   tr("Are you sure you want to delete ") + what,
                                   UserPrompt::Buttons::YesNoCancel,
                                   UserPrompt::Icon::Question) != UserPrompt::Answer::Yes)
        return;
    std::vector<std::string> items;
    for (int row : rows)
        items.push_back(QFile::encodeName(model_->PathOf(row)).toStdString());
    StartFileOperation(items, std::string(), OpDelete, 1);
}

void CSearchDlg::QuickView() {
    int row = FocusedRow();
    if (row < 0)
        return;
    if (!isSignalConnected(QMetaMethod::fromSignal(&CSearchDlg::QuickViewRequested))) {
        UserPrompt::Message(this, tr("Quick view is not available in this version yet."),
                            UserPrompt::Icon::Information);
        return;
    }
    emit QuickViewRequested(model_->PathOf(row));
}

void CSearchDlg::SetResultsView(ResultsView view) {
    view_ = view;
    viewBox_->setCurrentIndex(static_cast<int>(view));
    model_->SetFullNames(view != ResultsView::Details);
    if (view == ResultsView::Details) {
        stack_->setCurrentWidget(details_);
    } else {
        const bool large = view == ResultsView::LargeIcons;
        icons_->setViewMode(view == ResultsView::List ? QListView::ListMode : QListView::IconMode);
        icons_->setFlow(view == ResultsView::List ? QListView::TopToBottom
                                                  : QListView::LeftToRight);
        icons_->setWrapping(true);
        icons_->setMovement(QListView::Static);
        icons_->setIconSize(large ? QSize(48, 48) : QSize(16, 16));
        icons_->setGridSize(large                             ? QSize(96, 88)
                            : view == ResultsView::SmallIcons ? QSize(180, 22)
                                                              : QSize());
        icons_->setWordWrap(large);
        stack_->setCurrentWidget(icons_);
    }
    QModelIndex current = details_->selectionModel()->currentIndex();
    if (current.isValid())
        CurrentList()->scrollTo(current);
}

bool CSearchDlg::eventFilter(QObject* watched, QEvent* event) {
    const bool keyEvent =
        event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if ((watched == details_ || watched == icons_) && keyEvent &&
        HandleListKey(static_cast<QKeyEvent*>(event))) {
        // The main frame's shortcuts (view modes, F9, Delete) would take
        // these keys first; in the results they are the list's own.
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool CSearchDlg::HandleListKey(QKeyEvent* key) {
    const bool dryRun = key->type() == QEvent::ShortcutOverride;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    auto act = [dryRun](auto&& command) {
        if (!dryRun)
            command();
        return true;
    };
    if (mods == Qt::NoModifier) {
        switch (k) {
        case Qt::Key_Delete:
            return act([this] { DeleteSelected(); });
        case Qt::Key_F3:
            return act([this] { QuickView(); });
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            if (!searching_)
                return false;
            return act([this, k] {
                worker_.Control().PressKey(k == Qt::Key_Escape ? SearchControl::kEscape
                                                               : SearchControl::kBackspace);
            });
        }
    }
    if (mods == Qt::ControlModifier) {
        switch (k) {
        case Qt::Key_C:
            return act([this] { CopyFilesToClipboard(); });
        case Qt::Key_A:
            return act([this] { CurrentList()->selectAll(); });
        case Qt::Key_Space:
            return act([this] { CopyPathsToClipboard(); });
        }
    }
    if (mods == Qt::ShiftModifier && k == Qt::Key_Space)
        return act([this] { CopyNamesToClipboard(); });
    return HandleWindowKey(key);
}

bool CSearchDlg::HandleWindowKey(QKeyEvent* key) {
    const bool dryRun = key->type() == QEvent::ShortcutOverride;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    if (mods == Qt::NoModifier && k == Qt::Key_F9) {
        if (!dryRun)
            CreateList();
        return true;
    }
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        // Shift turns the digit keys into their symbols on most layouts.
        const int digits[][2] = {{Qt::Key_1, Qt::Key_Exclam},
                                 {Qt::Key_2, Qt::Key_At},
                                 {Qt::Key_3, Qt::Key_NumberSign},
                                 {Qt::Key_4, Qt::Key_Dollar}};
        for (int v = 0; v < 4; ++v) {
            if (k == digits[v][0] || k == digits[v][1]) {
                if (!dryRun)
                    SetResultsView(static_cast<ResultsView>(v));
                return true;
            }
        }
    }
    return false;
}

bool CSearchDlg::event(QEvent* event) {
    // The main frame's shortcuts reach every window of the program; in
    // this window these keys are its own.
    if (event->type() == QEvent::ShortcutOverride &&
        HandleWindowKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

} // namespace orvo
