// Back, Forward and Up2 have no directory to move in and stay off; Up
// (Backspace) is "Go there". A directory typed into the path box or chosen
// in the drive box, or opened from a row, opens in a new browse window.
#include "browse/ui/BrowseListMode.h"

#include "browse/FileListRows.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"

#include <algorithm>

namespace orvo {

namespace {
QString ListTitleOf(const std::string& document) {
    if (document.empty())
        return QStringLiteral("LIST OF FILES");
    return ToQ(std::string(SplitExtension(FileNameOf(document)).stem));
}
} // namespace

BrowseListMode::BrowseListMode(COrvoBrowserView* view) : QObject(view), view_(view) {}

void BrowseListMode::EnterListMode() {
    listMode_ = true;
    documentPath_.clear();
    DirectoryListing& listing = view_->Listing();
    QTable empty;
    empty.MutableColumns() = listing.Columns();
    listing.TakeRows(empty, std::string());
    view_->RebuildView(true, false, true);
    ShowListTitle();
}

void BrowseListMode::ShowListTitle() {
    title_ = ListTitleOf(documentPath_);
    emit view_->TitleChanged(title_);
    emit view_->PathChanged(title_);
    view_->PathBar().ShowText(documentPath_.empty() ? title_ : ToQ(documentPath_));
    view_->PathBar().UpdateButtons();
}

void BrowseListMode::AddListPaths(const std::vector<std::string>& paths) {
    if (!listMode_ || paths.empty())
        return;
    orvo::AddListPaths(view_->Listing(), paths);
    view_->RebuildView(true, false, false);
    view_->SelectPaths(paths);
}

void BrowseListMode::RefreshListRows() {
    if (listMode_)
        view_->RebuildView(true, true, false);
}

void BrowseListMode::RemoveDeadRows() {
    if (!listMode_)
        return;
    if (orvo::RemoveDeadRows(view_->Listing()) > 0)
        view_->RebuildView(true, false, false);
}

void BrowseListMode::RemoveFromList() {
    if (!listMode_)
        return;
    std::vector<int> rows = view_->SelectedRows();
    if (rows.empty())
        return;
    std::vector<std::string> paths = view_->SelectedPaths();
    // The row below the removed ones takes the selection.
    const int next = rows.front();
    orvo::RemoveListPaths(view_->Listing(), paths);
    view_->RebuildView(true, false, false);
    view_->SelectRow(std::min(next, view_->ViewTable().GetRecordCount() - 1));
}

void BrowseListMode::GoThere() {
    std::vector<std::string> paths = view_->SelectedPaths();
    if (!paths.empty())
        emit view_->GoThereRequested(PathToQ(paths.front()));
}

void BrowseListMode::SetListDocument(const std::string& path, bool rowsChanged) {
    if (!listMode_)
        return;
    documentPath_ = path;
    if (rowsChanged)
        view_->RebuildView(true, false, true);
    ShowListTitle();
}

} // namespace orvo
