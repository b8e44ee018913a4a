// Keys, quick search and header menus of a browse window.
#include "browse/BrowseNavigation.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/CQuickMenu.h"
#include "browse/ui/DriveComboBox.h"
#include "browse/ui/QuickSearchPopup.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/DesktopPrograms.h"
#include "platform/ProcessLauncher.h"
#include "platform/ui/UserPrompt.h"
#include "store/Collation.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

namespace orvo {

bool COrvoBrowserView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::Wheel ||
        event->type() == QEvent::FocusOut)
        HideTip();
    if (event->type() == QEvent::KeyPress && watched == CurrentList()) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A rename editor has the focus itself, so its keys never pass here.
        if (HandleListKey(key))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool COrvoBrowserView::HandleListKey(QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    const int k = key->key();
    auto only = [mods](Qt::KeyboardModifiers wanted) { return mods == wanted; };

    if (k == Qt::Key_Home && !(mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
        SelectRow(0);
        return true;
    }
    if (k == Qt::Key_F1 && only(Qt::AltModifier)) {
        DriveBox()->setFocus();
        DriveBox()->showPopup();
        return true;
    }
    if (k == Qt::Key_F2 && only(Qt::AltModifier)) {
        PathBox()->setFocus();
        PathBox()->showPopup();
        return true;
    }
    if (k == Qt::Key_Left && only(Qt::AltModifier)) {
        Back();
        return true;
    }
    if (k == Qt::Key_Right && only(Qt::AltModifier)) {
        Forward();
        return true;
    }
    if (k == Qt::Key_F4 && only(Qt::NoModifier)) {
        std::vector<std::string> paths = SelectedPaths();
        if (!paths.empty()) {
            std::string error;
            std::vector<std::string> argv = TextEditorArgv(paths.front());
            if (argv.empty() || !StartProgram(argv, currentPath_, &error))
                UserPrompt::Message(this, tr("No text editor could be started. %1").arg(QString::fromStdString(error)),
                                    UserPrompt::Icon::Warning);
        }
        return true;
    }
    if (k == Qt::Key_A && only(Qt::ControlModifier)) {
        SelectMatchingRows(QStringLiteral("*.*"));
        return true;
    }
    if ((k == Qt::Key_Plus || k == Qt::Key_Minus) && keypad && only(Qt::ControlModifier)) {
        ChangeThumbnailSize(k == Qt::Key_Plus ? 16 : -16);
        return true;
    }
    if (k == Qt::Key_Asterisk && keypad && only(Qt::NoModifier)) {
        InvertSelection();
        return true;
    }
    // The Selection dialog: Numpad + selects, Numpad - unselects (with
    // Shift starting from the selection); Ctrl+Numpad * over the list.
    if ((k == Qt::Key_Plus || k == Qt::Key_Minus) && keypad && (only(Qt::NoModifier) || only(Qt::ShiftModifier))) {
        emit SelectionDialogRequested(k == Qt::Key_Plus, mods == Qt::ShiftModifier, false);
        return true;
    }
    if (k == Qt::Key_Asterisk && keypad && only(Qt::ControlModifier)) {
        emit SelectionDialogRequested(true, false, true);
        return true;
    }
    if (k == Qt::Key_J && only(Qt::ControlModifier)) {
        StartQuickSearch(QString());
        return true;
    }
    if ((k == Qt::Key_Return || k == Qt::Key_Enter) && mods != (Qt::ShiftModifier | Qt::AltModifier)) {
        OpenItem(SelectionMark());
        return true;
    }
    if (k == Qt::Key_Backspace && only(Qt::NoModifier)) {
        Up();
        return true;
    }
    if (k == Qt::Key_Backspace && only(Qt::ShiftModifier)) {
        Up();
        Up2();
        return true;
    }
    if ((k == Qt::Key_F2 && only(Qt::NoModifier)) || (k == Qt::Key_F6 && only(Qt::ShiftModifier))) {
        int row = SelectionMark();
        if (row >= 0)
            CurrentList()->edit(Model()->index(row, ViewTableModel::NameColumn));
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

void COrvoBrowserView::StartQuickSearch(const QString& typed) {
    std::vector<std::string> candidates;
    for (int i = 0; i < viewTable_.GetRecordCount(); ++i)
        if (!Model()->IsParentEntry(i))
            candidates.push_back(Model()->FullName(i).toStdString());
    QuickSearchPopup popup(std::move(candidates), typed, this);
    popup.move(CurrentList()->mapToGlobal(QPoint(20, 20)));
    connect(&popup, &QuickSearchPopup::MatchesChanged, this, [this](const QStringList& matches) {
        if (matches.isEmpty())
            return;
        for (int i = 0; i < viewTable_.GetRecordCount(); ++i) {
            if (!Model()->IsParentEntry(i) && Model()->FullName(i).toLower().startsWith(matches.first())) {
                SelectRow(i);
                return;
            }
        }
    });
    popup.Refill();
    if (popup.exec() == QDialog::Accepted)
        OpenItem(SelectionMark());
    CurrentList()->setFocus();
}

void COrvoBrowserView::ShowHeaderMenu(int column, const QPoint& globalPos) {
    const char* name = ViewTableModel::TableColumnName(column);
    if (!*name)
        return;
    CQuickMenu menu(viewTable_, name, !listMode_, this);
    menu.onPattern = [this](const QString& pattern) { SelectMatchingRows(pattern); };
    menu.onPath = [this](const std::string& path) { SelectPath(path); };
    menu.exec(globalPos);
}

void COrvoBrowserView::SelectMatchingRows(const QString& pattern) {
    std::string p = LowerCaseText(pattern.toStdString());
    QItemSelection selection;
    for (int i = 0; i < viewTable_.GetRecordCount(); ++i) {
        if (Model()->IsParentEntry(i))
            continue;
        std::string name = LowerCaseText(Model()->FullName(i).toStdString());
        if (name.find('.') == std::string::npos)
            name += '.';
        if (WildcardMatch(name, p))
            selection.select(Model()->index(i, 0), Model()->index(i, ViewTableModel::ColumnCount - 1));
    }
    DetailsList()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void COrvoBrowserView::InvertSelection() {
    QItemSelection all;
    int first = listMode_ ? 0 : 1;
    if (viewTable_.GetRecordCount() > first)
        all.select(Model()->index(first, 0), Model()->index(viewTable_.GetRecordCount() - 1, ViewTableModel::ColumnCount - 1));
    QItemSelectionModel* selection = DetailsList()->selectionModel();
    selection->select(all, QItemSelectionModel::Toggle);
    if (!listMode_)
        selection->select(Model()->index(0, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

} // namespace orvo
