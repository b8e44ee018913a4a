#include "search/ui/SearchLaunch.h"

#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/ui/QtText.h"
#include "search/QuickSearchForm.h"
#include "search/SelectionPatterns.h"
#include "search/ui/CSelectionDlg.h"
#include "settings/FileGroups.h"
#include "settings/SpecialFiles.h"

#include <QAbstractItemView>
#include <QDir>
#include <QItemSelectionModel>
#include <QTableView>

namespace orvo {

namespace {

// The file groups as labels ("Pictures") and name patterns ("*.jpg;...").
void ReadyMadePatterns(QStringList& labels, QStringList& patterns) {
    std::vector<std::string> names, extensions;
    GetFileGroupLists(names, extensions);
    for (size_t i = 0; i < names.size(); ++i) {
        labels << QString::fromStdString(names[i]);
        patterns << QString::fromStdString(ExtensionListPattern(extensions[i]));
    }
}

} // namespace

SearchWindowSetup MakeSearchWindowSetup(COrvoBrowserView* view, const QString& quickForm) {
    SearchWindowSetup setup;
    setup.currentDirectory = QDir::homePath();
    if (view && view->CurrentPath() != kComputerPath) {
        setup.currentDirectory = PathToQ(view->CurrentPath());
        for (int row : view->SelectedRows())
            if (view->Model()->IsDirectory(row) && !view->Model()->IsParentEntry(row))
                setup.selectedDirectories << view->Model()->PathOf(row);
    }
    setup.binaryPatterns = GetSpecialFilePatterns(kBinarySpecialGroup);
    ReadyMadePatterns(setup.patternLabels, setup.patterns);
    if (auto form = ParseQuickSearchForm(QToPath(quickForm))) {
        setup.names = PathToQ(form->names);
        setup.text = PathToQ(form->text);
        setup.searchText = form->hasText;
        setup.listWhenDone = true;
    }
    return setup;
}

CSearchDlg* OpenSearchWindow(const SearchWindowSetup& setup, QWidget* parent) {
    auto* window = new CSearchDlg(setup, parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void RunSelectionDialog(COrvoBrowserView& view, bool select, bool likeSelection, bool overList) {
    ViewTableModel* model = view.Model();
    std::vector<std::string> extensions;
    std::vector<SelectableRow> rows;
    std::vector<int> selected = view.SelectedRows();
    for (int i = 0; i < model->rowCount(); ++i) {
        SelectableRow row{QToPath(model->FullName(i)), false, model->IsParentEntry(i)};
        rows.push_back(row);
    }
    for (int i : selected) {
        rows[static_cast<size_t>(i)].selected = true;
        if (!rows[static_cast<size_t>(i)].isParent)
            extensions.push_back(view.ViewTable().GetText("Extension", i));
    }

    QStringList labels, patterns;
    ReadyMadePatterns(labels, patterns);
    CSelectionDlg dialog(select ? CSelectionDlg::Mode::Select : CSelectionDlg::Mode::Unselect,
                         PathToQ(MakeSelectionPattern(extensions)), likeSelection, labels, patterns,
                         &view);
    if (overList)
        dialog.move(view.CurrentList()->mapToGlobal(QPoint(0, 0)));
    if (dialog.exec() != QDialog::Accepted)
        return;

    SelectionOutcome outcome =
        ApplySelectionPatterns(rows, QToPath(dialog.Include()), QToPath(dialog.Exclude()), false);
    QItemSelection selection;
    for (size_t i = 0; i < outcome.selected.size(); ++i)
        if (outcome.selected[i])
            selection.select(model->index(static_cast<int>(i), 0),
                             model->index(static_cast<int>(i), model->columnCount() - 1));
    QItemSelectionModel* selectionModel = view.DetailsList()->selectionModel();
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    if (outcome.focusRow >= 0) {
        QModelIndex focus = model->index(outcome.focusRow, 0);
        selectionModel->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
        view.CurrentList()->scrollTo(focus);
    }
}

} // namespace orvo
