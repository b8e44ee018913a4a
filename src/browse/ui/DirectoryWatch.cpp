#include "browse/ui/DirectoryWatch.h"

#include "browse/DirectoryListing.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatcher.h"
#include "browse/ui/ViewTableModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace orvo {

DirectoryWatch::DirectoryWatch(COrvoBrowserView* view)
    : QObject(view), view_(view), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &DirectoryWatch::OnTimer);
    connect(&DirectoryWatcher::Instance(), &DirectoryWatcher::DirectoryChanged, this,
            &DirectoryWatch::OnChanged);
    connect(view, &COrvoBrowserView::ListingRebuilt, this, &DirectoryWatch::Follow);
    connect(view, &COrvoBrowserView::PathChanged, this, &DirectoryWatch::Follow);
}

DirectoryWatch::~DirectoryWatch() {
    if (DirectoryWatcher* watcher = DirectoryWatcher::Existing(); watcher && !watched_.empty())
        watcher->Unwatch(watched_);
}

void DirectoryWatch::Follow() {
    std::string shown = view_->CurrentPath();
    if (shown == kComputerPath)
        shown.clear();
    DirectoryWatcher& watcher = DirectoryWatcher::Instance();
    if (shown == watched_) {
        // A directory that went away and came back needs a new watch.
        if (!shown.empty() && !watcher.IsWatched(shown)) {
            watcher.Unwatch(shown);
            watcher.Watch(shown);
        }
        return;
    }
    if (!watched_.empty())
        watcher.Unwatch(watched_);
    watched_ = shown;
    timer_->stop();
    if (!watched_.empty())
        watcher.Watch(watched_);
}

void DirectoryWatch::OnChanged(const std::string& directory, QObject* origin) {
    if (origin == view_ || watched_.empty() || directory != watched_)
        return;
    Schedule();
}

void DirectoryWatch::Schedule() {
    if (timer_->isActive())
        return;
    qint64 wait = kSettleMs;
    if (sinceRefresh_.isValid()) {
        const qint64 gap = std::max<qint64>(kMinimumGapMs, kCostFactor * lastCostMs_);
        wait = std::max(wait, gap - sinceRefresh_.elapsed());
    }
    timer_->start(static_cast<int>(wait));
}

bool DirectoryWatch::Busy() const {
    // Rows that move under an open editor, a pressed button or an open menu
    // would take the user's action somewhere else. The list's editors live
    // in its viewport.
    for (const QLineEdit* editor : view_->CurrentList()->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return true;
    return QGuiApplication::mouseButtons() != Qt::NoButton ||
           QApplication::activePopupWidget() != nullptr || view_->Counting().IsCounting();
}

void DirectoryWatch::OnTimer() {
    if (Busy()) {
        timer_->start(kMinimumGapMs / 2);
        return;
    }
    Refresh();
}

void DirectoryWatch::Refresh() {
    timer_->stop();
    QAbstractItemView* list = view_->CurrentList();
    QItemSelectionModel* selection = view_->DetailsList()->selectionModel();
    const ViewTableModel& model = *view_->Model();
    const QTable& table = view_->ViewTable();
    const int pathColumn = table.FieldIndex("Path");
    const int horizontal = list->horizontalScrollBar()->value();
    const int vertical = list->verticalScrollBar()->value();
    const std::vector<std::string> selected = view_->SelectedPaths();
    const bool parentSelected =
        model.rowCount() > 0 && model.IsParentEntry(0) && selection->isRowSelected(0);
    const int mark = view_->SelectionMark();
    const bool parentCurrent = mark == 0 && model.IsParentEntry(0);
    const std::string current = mark >= 0 && !parentCurrent && mark < table.GetRecordCount()
                                    ? table.GetText("Path", mark)
                                    : std::string();

    QElapsedTimer cost;
    cost.start();
    view_->RebuildView(true, true, false);
    view_->ReapplyHeaderSort();

    if (!selected.empty())
        view_->SelectPaths(selected);
    else if (!parentSelected)
        selection->clearSelection();
    if (parentSelected)
        selection->select(model.index(0, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    int currentRow = parentCurrent ? 0 : -1;
    for (int r = 0; currentRow < 0 && !current.empty() && r < table.GetRecordCount(); ++r)
        if (table.GetValue(pathColumn, r).AsStringView() == current)
            currentRow = r;
    if (currentRow >= 0)
        selection->setCurrentIndex(model.index(currentRow, 0), QItemSelectionModel::NoUpdate);
    // The model was reset: the scroll ranges must fit the new rows before
    // the old positions are put back.
    list->doItemsLayout();
    list->horizontalScrollBar()->setValue(horizontal);
    list->verticalScrollBar()->setValue(vertical);

    lastCostMs_ = cost.elapsed();
    sinceRefresh_.start();
    ++refreshes_;
}

} // namespace orvo
