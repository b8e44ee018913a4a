#include "browse/ui/DirectoryWatch.h"

#include "browse/DirectoryListing.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatcher.h"
#include "browse/ui/ViewTableModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFutureWatcher>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QtConcurrent>
#include <algorithm>

namespace orvo {

struct DirectoryWatch::Job {
    std::string directory;
    ViewRebuilder::Input input;
    int rebuildsAtStart = 0;
    DirectoryListing listing;
    QTable view;
    ViewRebuilder::Result result;
    QElapsedTimer clock;
};

// What the user sees of the rows, by path, so that it survives new rows.
struct DirectoryWatch::Kept {
    std::vector<std::string> selected;
    bool parentSelected = false;
    bool parentCurrent = false;
    std::string current;
    int horizontal = 0;
    int vertical = 0;
};

DirectoryWatch::DirectoryWatch(COrvoBrowserView* view)
    : QObject(view), view_(view), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &DirectoryWatch::OnTimer);
    connect(&DirectoryWatcher::Instance(), &DirectoryWatcher::DirectoryChanged, this,
            &DirectoryWatch::OnChanged);
    connect(view, &COrvoBrowserView::ListingRebuilt, this, [this] {
        ++rebuilds_;
        Follow();
    });
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
    if (jobRunning_) {
        changedDuringJob_ = true; // the job may have read before the change
        return;
    }
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
    StartJob();
}

void DirectoryWatch::StartJob() {
    auto job = std::make_shared<Job>();
    job->directory = watched_;
    job->input = view_->RebuildInput();
    job->rebuildsAtStart = rebuilds_;
    job->clock.start();
    jobRunning_ = true;
    changedDuringJob_ = false;
    auto* watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, job] {
        watcher->deleteLater();
        jobRunning_ = false;
        FinishJob(job);
    });
    // The job owns all it touches: a window closed meanwhile leaves it
    // nothing to reach.
    watcher->setFuture(QtConcurrent::run([job] {
        job->listing.ReadDirectory(job->directory);
        ViewRebuilder::UseViewColumns(job->view);
        job->result = ViewRebuilder::Rebuild(job->listing, job->view, job->input);
    }));
}

void DirectoryWatch::FinishJob(const std::shared_ptr<Job>& job) {
    if (job->directory != watched_) {
        changedDuringJob_ = false;
        return; // the window went elsewhere
    }
    if (job->rebuildsAtStart != rebuilds_ || Busy()) {
        // The window changed its rows meanwhile, or the user is at them:
        // read again a little later.
        Schedule();
        return;
    }
    QElapsedTimer adopt;
    adopt.start();
    const Kept kept = Keep();
    view_->AdoptRebuilt(job->listing, job->view, job->result);
    view_->ReapplyHeaderSort();
    Restore(kept);
    Done(job->clock.elapsed());
    if (changedDuringJob_)
        Schedule();
}

void DirectoryWatch::Refresh() {
    timer_->stop();
    QElapsedTimer cost;
    cost.start();
    const Kept kept = Keep();
    view_->RebuildView(true, true, false);
    view_->ReapplyHeaderSort();
    Restore(kept);
    Done(cost.elapsed());
}

void DirectoryWatch::Done(qint64 costMs) {
    lastCostMs_ = costMs;
    sinceRefresh_.start();
    ++refreshes_;
}

DirectoryWatch::Kept DirectoryWatch::Keep() const {
    Kept kept;
    QAbstractItemView* list = view_->CurrentList();
    const QItemSelectionModel* selection = view_->DetailsList()->selectionModel();
    const ViewTableModel& model = *view_->Model();
    const QTable& table = view_->ViewTable();
    kept.horizontal = list->horizontalScrollBar()->value();
    kept.vertical = list->verticalScrollBar()->value();
    kept.selected = view_->SelectedPaths();
    kept.parentSelected =
        model.rowCount() > 0 && model.IsParentEntry(0) && selection->isRowSelected(0);
    const int mark = view_->SelectionMark();
    kept.parentCurrent = mark == 0 && model.IsParentEntry(0);
    if (mark >= 0 && !kept.parentCurrent && mark < table.GetRecordCount())
        kept.current = table.GetText("Path", mark);
    return kept;
}

void DirectoryWatch::Restore(const Kept& kept) {
    QAbstractItemView* list = view_->CurrentList();
    QItemSelectionModel* selection = view_->DetailsList()->selectionModel();
    const ViewTableModel& model = *view_->Model();
    const QTable& table = view_->ViewTable();
    if (!kept.selected.empty())
        view_->SelectPaths(kept.selected);
    else if (!kept.parentSelected)
        selection->clearSelection();
    if (kept.parentSelected)
        selection->select(model.index(0, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    int currentRow = kept.parentCurrent ? 0 : -1;
    const int pathColumn = table.FieldIndex("Path");
    for (int r = 0; currentRow < 0 && !kept.current.empty() && r < table.GetRecordCount(); ++r)
        if (table.GetValue(pathColumn, r).AsStringView() == kept.current)
            currentRow = r;
    if (currentRow >= 0)
        selection->setCurrentIndex(model.index(currentRow, 0), QItemSelectionModel::NoUpdate);
    // The model was reset: the scroll ranges must fit the new rows before
    // the old positions are put back.
    list->doItemsLayout();
    list->horizontalScrollBar()->setValue(kept.horizontal);
    list->verticalScrollBar()->setValue(kept.vertical);
}

} // namespace orvo
