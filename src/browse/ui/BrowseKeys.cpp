#include "browse/ui/BrowseKeys.h"

#include "browse/BrowseNavigation.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/CQuickMenu.h"
#include "browse/ui/QuickSearchPopup.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/DesktopPrograms.h"
#include "platform/ProcessLauncher.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "store/Collation.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTableView>

namespace orvo {

BrowseKeys::BrowseKeys(COrvoBrowserView* view) : QObject(view), view_(view) {}

bool BrowseKeys::eventFilter(QObject* watched, QEvent* event) {
    // The Enter that ends a rename passes on from the editor to the list,
    // where it must not open the entry as well.
    QWidget* focus = QApplication::focusWidget();
    if (event->type() == QEvent::KeyPress && watched == view_->CurrentList() &&
        (!focus || focus == watched || !view_->CurrentList()->isAncestorOf(focus)))
        return HandleListKey(static_cast<QKeyEvent*>(event));
    return false;
}

bool BrowseKeys::HandleListKey(QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    const int k = key->key();
    auto only = [mods](Qt::KeyboardModifiers wanted) { return mods == wanted; };
    COrvoBrowserView& view = *view_;

    if (k == Qt::Key_Home && !(mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
        view.SelectRow(0);
        return true;
    }
    if (k == Qt::Key_F1 && only(Qt::AltModifier)) {
        view.PathBar().DriveBox()->setFocus();
        view.PathBar().DriveBox()->showPopup();
        return true;
    }
    if (k == Qt::Key_F2 && only(Qt::AltModifier)) {
        view.PathBar().PathBox()->setFocus();
        view.PathBar().PathBox()->showPopup();
        return true;
    }
    if (k == Qt::Key_Left && only(Qt::AltModifier)) {
        view.Back();
        return true;
    }
    if (k == Qt::Key_Right && only(Qt::AltModifier)) {
        view.Forward();
        return true;
    }
    if (k == Qt::Key_F4 && only(Qt::NoModifier)) {
        std::vector<std::string> paths = view.SelectedPaths();
        if (!paths.empty()) {
            std::string error;
            std::vector<std::string> argv = TextEditorArgv(paths.front());
            if (argv.empty() || !StartProgram(argv, view.CurrentPath(), &error))
                UserPrompt::Message(
                    view_,
                    tr("No text editor could be started. %1").arg(QString::fromStdString(error)),
                    UserPrompt::Icon::Warning);
        }
        return true;
    }
    if (k == Qt::Key_A && only(Qt::ControlModifier)) {
        SelectMatchingRows(QStringLiteral("*.*"));
        return true;
    }
    if ((k == Qt::Key_Plus || k == Qt::Key_Minus) && keypad && only(Qt::ControlModifier)) {
        view.ChangeThumbnailSize(k == Qt::Key_Plus ? 16 : -16);
        return true;
    }
    if (k == Qt::Key_Asterisk && keypad && only(Qt::NoModifier)) {
        InvertSelection();
        return true;
    }
    // The Selection dialog: Numpad + selects, Numpad - unselects (with
    // Shift starting from the selection); Ctrl+Numpad * over the list.
    if ((k == Qt::Key_Plus || k == Qt::Key_Minus) && keypad &&
        (only(Qt::NoModifier) || only(Qt::ShiftModifier))) {
        emit view.SelectionDialogRequested(k == Qt::Key_Plus, mods == Qt::ShiftModifier, false);
        return true;
    }
    if (k == Qt::Key_Asterisk && keypad && only(Qt::ControlModifier)) {
        emit view.SelectionDialogRequested(true, false, true);
        return true;
    }
    if (k == Qt::Key_J && only(Qt::ControlModifier)) {
        StartQuickSearch(QString());
        return true;
    }
    if ((k == Qt::Key_Return || k == Qt::Key_Enter) &&
        mods != (Qt::ShiftModifier | Qt::AltModifier)) {
        view.OpenItem(view.SelectionMark());
        return true;
    }
    if (k == Qt::Key_Backspace && only(Qt::NoModifier)) {
        view.Up();
        return true;
    }
    if (k == Qt::Key_Backspace && only(Qt::ShiftModifier)) {
        view.Up();
        view.Up2();
        return true;
    }
    if ((k == Qt::Key_F2 && only(Qt::NoModifier)) || (k == Qt::Key_F6 && only(Qt::ShiftModifier))) {
        view.FileCommands().StartRename();
        return true;
    }
    if (k == Qt::Key_R && only(Qt::ControlModifier)) {
        view.RebuildView(true, true, false);
        return true;
    }
    if (mods == Qt::NoModifier && !keypad && key->text().size() == 1) {
        QChar c = key->text().at(0);
        if ((c.isLetter() && c.unicode() < 128) || c.isDigit()) {
            StartQuickSearch(QString(c));
            return true;
        }
    }
    return false;
}

void BrowseKeys::StartQuickSearch(const QString& typed) {
    const ViewTableModel& model = *view_->Model();
    const int rows = view_->ViewTable().GetRecordCount();
    std::vector<std::string> candidates;
    std::vector<std::string> paths;
    for (int i = 0; i < rows; ++i) {
        if (!model.IsParentEntry(i)) {
            candidates.push_back(QToPath(model.FullName(i)));
            paths.push_back(view_->ViewTable().GetText("Path", i));
        }
    }
    QuickSearchPopup popup(std::move(candidates), typed, view_);
    popup.move(view_->CurrentList()->mapToGlobal(QPoint(20, 20)));
    // Matches are known by their entry, so that of two names equal but for
    // letter case the one picked is the one selected, even if the rows
    // change order meanwhile.
    connect(&popup, &QuickSearchPopup::CandidatePicked, this, [this, &paths](int candidate) {
        if (candidate >= 0 && candidate < static_cast<int>(paths.size()))
            view_->SelectPath(paths[static_cast<size_t>(candidate)]);
    });
    popup.Refill();
    if (popup.Run() == QDialog::Accepted)
        view_->OpenItem(view_->SelectionMark());
    view_->CurrentList()->setFocus();
}

void BrowseKeys::ShowHeaderMenu(int column, const QPoint& globalPos) {
    const char* name = ViewTableModel::TableColumnName(column);
    if (!*name)
        return;
    CQuickMenu menu(view_->ViewTable(), name, !view_->ListMode().IsListMode(), view_);
    menu.onPattern = [this](const QString& pattern) { SelectMatchingRows(pattern); };
    menu.onPath = [this](const std::string& path) { view_->SelectPath(path); };
    menu.exec(globalPos);
}

void BrowseKeys::SelectMatchingRows(const QString& pattern) {
    const ViewTableModel& model = *view_->Model();
    std::string p = LowerCaseText(QToPath(pattern));
    QItemSelection selection;
    for (int i = 0; i < view_->ViewTable().GetRecordCount(); ++i) {
        if (model.IsParentEntry(i))
            continue;
        std::string name = LowerCaseText(QToPath(model.FullName(i)));
        if (name.find('.') == std::string::npos)
            name += '.';
        if (WildcardMatch(name, p))
            selection.select(model.index(i, 0), model.index(i, ViewTableModel::ColumnCount - 1));
    }
    view_->DetailsList()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void BrowseKeys::InvertSelection() {
    const ViewTableModel& model = *view_->Model();
    const bool listMode = view_->ListMode().IsListMode();
    const int rows = view_->ViewTable().GetRecordCount();
    QItemSelection all;
    int first = listMode ? 0 : 1;
    if (rows > first)
        all.select(model.index(first, 0), model.index(rows - 1, ViewTableModel::ColumnCount - 1));
    QItemSelectionModel* selection = view_->DetailsList()->selectionModel();
    selection->select(all, QItemSelectionModel::Toggle);
    if (!listMode)
        selection->select(model.index(0, 0),
                          QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

} // namespace orvo
