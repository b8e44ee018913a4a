#include "search/ui/SearchRunControl.h"

#include "fileops/ui/EndSignal.h"
#include "search/QuickSearchForm.h"
#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchCriteriaForm.h"
#include "search/ui/SearchResultsModel.h"
#include "search/ui/SearchResultsPane.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>

namespace orvo {

namespace {

// How often the hits found so far move into the list.
constexpr int kPollMs = 75;

} // namespace

SearchRunControl::SearchRunControl(CSearchDlg& window) : window_(window) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &SearchRunControl::Poll);
}

SearchRunControl::~SearchRunControl() {
    poll_.stop();
    // The worker ends its search and waits for its thread as it goes.
}

void SearchRunControl::PressKey(int key) {
    worker_.Control().PressKey(key);
}

void SearchRunControl::StartOrStop() {
    if (searching_) {
        worker_.Control().RequestStop();
        return;
    }
    if (worker_.Running())
        return; // the last search is still winding down
    window_.Results().Model()->Clear();
    SearchCriteria criteria = window_.Form().ReadCriteria();
    if (criteria.textOn)
        RememberSearchText(criteria.text);
    window_.Form().RememberTexts();
    caption_ = QString::fromStdString(SearchCaption(criteria));
    window_.SearchingLine()->clear();
    window_.CountsLine()->clear();
    if (!worker_.Start(std::move(criteria)))
        return;
    searching_ = true;
    window_.Form().StartButton()->setText(tr("Stop"));
    poll_.start();
}

void SearchRunControl::Poll() {
    SearchWorker::Update update;
    if (!worker_.Take(update))
        return;
    SearchResultsModel* model = window_.Results().Model();
    if (!update.hits.empty()) {
        model->Append(update.hits);
        QAbstractItemView* list = window_.Results().CurrentList();
        if (update.hits.size() == static_cast<size_t>(model->rowCount()) &&
            !list->currentIndex().isValid())
            list->setCurrentIndex(model->index(0, 0));
    }
    if (!update.searching.empty())
        window_.SearchingLine()->setText(QString::fromStdString(update.searching));
    if (update.countsChanged) {
        const SearchCounts& c = update.counts;
        window_.CountsLine()->setText(
            QString::fromStdString(SearchCountsLine(c.dirsFound, c.filesFound, c.bytesFound)));
    }
    for (const SearchWorker::Update::PlaceEvent& e : update.places) {
        if (e.started) {
            window_.setWindowTitle(QStringLiteral("*-") + caption_);
        } else {
            window_.SearchingLine()->setText(e.broken ? QStringLiteral("BROKEN")
                                                      : QStringLiteral("FINISHED"));
            window_.setWindowTitle(caption_);
            PlayEndSignal();
        }
    }
    if (update.finished)
        EndSearch();
}

void SearchRunControl::EndSearch() {
    poll_.stop();
    searching_ = false;
    window_.Form().StartButton()->setText(tr("Start"));
    emit Finished();
}

} // namespace orvo
