// A browse window in list mode: rows gathered from anywhere instead of one
// directory. Back, Forward and Up2 have no directory to move in and stay
// off; Up (Backspace) is "Go there". A directory typed into the path box or
// chosen in the drive box, or opened from a row, opens in a new browse
// window.
#include "browse/FileListRows.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/PathText.h"

#include <QComboBox>
#include <QToolButton>
#include <algorithm>

namespace orvo {

namespace {
QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}

QString ListTitleOf(const std::string& document) {
    if (document.empty())
        return QStringLiteral("LIST OF FILES");
    return ToQ(std::string(SplitExtension(FileNameOf(document)).stem));
}
} // namespace

void COrvoBrowserView::EnterListMode() {
    listMode_ = true;
    currentPath_.clear();
    currentComment_.clear();
    listDocumentPath_.clear();
    QTable empty;
    empty.MutableColumns() = listing_.Columns();
    listing_.TakeRows(empty, std::string());
    RebuildView(true, false, true);
    ShowListTitle();
}

void COrvoBrowserView::ShowListTitle() {
    title_ = ListTitleOf(listDocumentPath_);
    emit TitleChanged(title_);
    emit PathChanged(title_);
    pathBox_->setEditText(listDocumentPath_.empty() ? title_ : ToQ(listDocumentPath_));
    UpdateButtons();
}

void COrvoBrowserView::AddListPaths(const std::vector<std::string>& paths) {
    if (!listMode_ || paths.empty())
        return;
    orvo::AddListPaths(listing_, paths);
    RebuildView(true, false, false);
    SelectPaths(paths);
}

void COrvoBrowserView::RefreshListRows() {
    if (listMode_)
        RebuildView(true, true, false);
}

void COrvoBrowserView::RemoveDeadRows() {
    if (!listMode_)
        return;
    if (orvo::RemoveDeadRows(listing_) > 0)
        RebuildView(true, false, false);
}

void COrvoBrowserView::RemoveFromList() {
    if (!listMode_)
        return;
    std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    std::vector<std::string> paths = SelectedPaths();
    // The row below the removed ones takes the selection.
    const int next = rows.front();
    orvo::RemoveListPaths(listing_, paths);
    RebuildView(true, false, false);
    SelectRow(std::min(next, viewTable_.GetRecordCount() - 1));
}

void COrvoBrowserView::GoThere() {
    std::vector<std::string> paths = SelectedPaths();
    if (!paths.empty())
        emit GoThereRequested(ToQ(paths.front()));
}

void COrvoBrowserView::SetListDocument(const std::string& path, bool rowsChanged) {
    if (!listMode_)
        return;
    listDocumentPath_ = path;
    if (rowsChanged)
        RebuildView(true, false, true);
    ShowListTitle();
}

} // namespace orvo
