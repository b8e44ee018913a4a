#include "search/ui/SearchHitCommands.h"

#include "browse/ui/BrowseClipboard.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/ui/EndSignal.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchResultsModel.h"
#include "search/ui/SearchResultsPane.h"

#include <QTableView>
#include <algorithm>

namespace orvo {

namespace {

const char* const kNothingSelected =
    "Nothing selected. First select some files you want, then try again";

} // namespace

SearchHitCommands::SearchHitCommands(CSearchDlg& window) : window_(window) {}

int SearchHitCommands::FocusedRow() const {
    QModelIndex current = window_.Results().DetailsList()->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::vector<int> SearchHitCommands::SelectedRowsOrSay() {
    std::vector<int> rows;
    for (const QModelIndex& index :
         window_.Results().DetailsList()->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    if (rows.empty())
        UserPrompt::Message(&window_, tr(kNothingSelected), UserPrompt::Icon::Information);
    return rows;
}

void SearchHitCommands::CopyFilesToClipboard() {
    const SearchResultsModel* model = window_.Results().Model();
    std::vector<std::string> paths;
    for (int row : SelectedRowsOrSay())
        paths.push_back(model->Results().Path(row));
    if (!paths.empty())
        SetClipboardFileList(paths);
}

void SearchHitCommands::CopyPathsToClipboard() {
    const SearchResultsModel* model = window_.Results().Model();
    QString text;
    for (int row : SelectedRowsOrSay())
        text += model->PathOf(row) + QStringLiteral("\r\n");
    if (!text.isEmpty())
        SetClipboardText(text);
}

void SearchHitCommands::CopyNamesToClipboard() {
    const SearchResultsModel* model = window_.Results().Model();
    QString text;
    for (int row : SelectedRowsOrSay())
        text += model->NameOf(row) + QStringLiteral("\r\n");
    if (!text.isEmpty())
        SetClipboardText(text);
}

void SearchHitCommands::GoThere() {
    if (SelectedRowsOrSay().empty())
        return;
    int row = FocusedRow();
    if (row >= 0)
        GoToHit(row);
}

void SearchHitCommands::GoToHit(int row) {
    emit GoToFileRequested(window_.Results().Model()->PathOf(row));
}

void SearchHitCommands::CreateList() {
    emit MakeListWindowRequested(window_.Results().Model()->Paths());
    PlayEndSignal();
}

void SearchHitCommands::DeleteSelected() {
    const SearchResultsModel* model = window_.Results().Model();
    std::vector<int> rows = SelectedRowsOrSay();
    if (rows.empty())
        return;
    QString what = rows.size() == 1 ? model->PathOf(rows.front()) + QStringLiteral(" ?")
                                    : tr("selected files ?");
    if (UserPrompt::Instance().Ask(&window_, tr("Deleting"),
                                   tr("Are you sure you want to delete ") + what,
                                   UserPrompt::Buttons::YesNoCancel,
                                   UserPrompt::Icon::Question) != UserPrompt::Answer::Yes)
        return;
    std::vector<std::string> items;
    for (int row : rows)
        items.push_back(model->Results().Path(row));
    StartFileOperation(items, std::string(), OpDelete, 1);
}

void SearchHitCommands::QuickView() {
    int row = FocusedRow();
    if (row < 0)
        return;
    if (!window_.OffersQuickView()) {
        UserPrompt::Message(&window_, tr("Quick view is not available in this version yet."),
                            UserPrompt::Icon::Information);
        return;
    }
    emit QuickViewRequested(window_.Results().Model()->PathOf(row));
}

} // namespace orvo
