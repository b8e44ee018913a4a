#include "search/ui/CSearchDlg.h"

#include "fileops/ui/EndSignal.h"
#include "platform/OleDate.h"
#include "search/QuickSearchForm.h"
#include "search/SelectionPatterns.h"
#include "search/ui/SearchResultsModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <ctime>

namespace orvo {

namespace {

std::string ToStd(const QString& s) {
    return s.toStdString();
}

// The text of an editable combo; a text used for a search is kept at the
// top of its list.
void Remember(QComboBox* box) {
    QString text = box->currentText();
    if (text.isEmpty())
        return;
    int at = box->findText(text);
    if (at >= 0)
        box->removeItem(at);
    box->insertItem(0, text);
    box->setCurrentIndex(0);
}

double OleDateOf(const QDate& date) {
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    return TmToOleDate(tm);
}

// How often the hits found so far move into the list.
constexpr int kPollMs = 75;

} // namespace

CSearchDlg::CSearchDlg(const SearchWindowSetup& setup, QWidget* parent)
    : QDialog(parent, Qt::Window), setup_(setup), listWhenDone_(setup.listWhenDone) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Search"));
    setSizeGripEnabled(true);
    BuildControls();
    resize(920, 720);

    UseCurrentDirectory();
    text_->setEditText(QString::fromStdString(RememberedSearchText()));
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &CSearchDlg::Poll);
    names_->setFocus();

    // The path box's quick-search form searches at once.
    if (!setup_.names.isEmpty() || setup_.searchText) {
        names_->setEditText(setup_.names);
        if (setup_.searchText) {
            text_->setEditText(setup_.text);
            textOn_->setChecked(true);
        }
        QMetaObject::invokeMethod(this, &CSearchDlg::StartOrStop, Qt::QueuedConnection);
    }
}

CSearchDlg::~CSearchDlg() {
    poll_.stop();
    // The worker ends its search and waits for its thread as it goes.
}

SearchCriteria CSearchDlg::ReadCriteria() const {
    SearchCriteria c;
    c.names = ToStd(names_->currentText());
    c.places = ToStd(places_->currentText());
    c.textOn = textOn_->isChecked();
    c.text = ToStd(text_->currentText());
    c.textMode = TextModeFromLabel(ToStd(textMode_->currentText()));
    c.wildcard = wildcard_->isChecked();
    c.matchCase = matchCase_->isChecked();
    c.dateBetween = dateBetween_->isChecked();
    c.dateFrom = OleDateOf(dateFrom_->date());
    c.dateTo = OleDateOf(dateTo_->date());
    c.noOlderThan = noOlderThan_->isChecked();
    c.ageNumber = ToStd(age_->cleanText());
    c.ageUnit = static_cast<TimeUnit>(ageUnit_->currentIndex());
    c.sizeBetween = sizeBetween_->isChecked();
    c.sizeLow = ToStd(sizeLow_->cleanText());
    c.sizeHigh = ToStd(sizeHigh_->cleanText());
    c.sizeBetweenUnit = static_cast<SizeUnit>(sizeBetweenUnit_->currentIndex());
    c.sizeCompare = sizeCompare_->isChecked();
    c.sizeRelation = static_cast<SizeRelation>(sizeRelation_->currentIndex());
    c.sizeNumber = ToStd(sizeNumber_->cleanText());
    c.sizeCompareUnit = static_cast<SizeUnit>(sizeCompareUnit_->currentIndex());
    c.excludeBinaries = excludeBinaries_->isChecked();
    c.binaryPatterns = setup_.binaryPatterns;
    c.followLinks = followLinks_->isChecked();
    return c;
}

void CSearchDlg::StartOrStop() {
    if (searching_) {
        worker_.Control().RequestStop();
        return;
    }
    if (worker_.Running())
        return; // the last search is still winding down
    model_->Clear();
    SearchCriteria criteria = ReadCriteria();
    if (criteria.textOn)
        RememberSearchText(criteria.text);
    for (QComboBox* box : {names_, places_, text_})
        Remember(box);
    caption_ = QString::fromStdString(SearchCaption(criteria));
    searchingLine_->clear();
    countsLine_->clear();
    if (!worker_.Start(std::move(criteria)))
        return;
    searching_ = true;
    start_->setText(tr("Stop"));
    poll_.start();
}

void CSearchDlg::Poll() {
    SearchWorker::Update update;
    if (!worker_.Take(update))
        return;
    if (!update.hits.empty()) {
        model_->Append(update.hits);
        if (update.hits.size() == static_cast<size_t>(model_->rowCount()) &&
            !CurrentList()->currentIndex().isValid())
            CurrentList()->setCurrentIndex(model_->index(0, 0));
    }
    if (!update.searching.empty())
        searchingLine_->setText(QString::fromStdString(update.searching));
    if (update.countsChanged) {
        const SearchCounts& c = update.counts;
        countsLine_->setText(
            QString::fromStdString(SearchCountsLine(c.dirsFound, c.filesFound, c.bytesFound)));
    }
    for (const SearchWorker::Update::PlaceEvent& e : update.places) {
        if (e.started) {
            setWindowTitle(QStringLiteral("*-") + caption_);
        } else {
            searchingLine_->setText(e.broken ? QStringLiteral("BROKEN")
                                             : QStringLiteral("FINISHED"));
            setWindowTitle(caption_);
            PlayEndSignal();
        }
    }
    if (update.finished)
        EndSearch();
}

void CSearchDlg::EndSearch() {
    poll_.stop();
    searching_ = false;
    start_->setText(tr("Start"));
    emit SearchFinished();
    if (listWhenDone_) {
        listWhenDone_ = false;
        CreateList();
        close();
    }
}

void CSearchDlg::UseCurrentDirectory() {
    places_->setEditText(setup_.currentDirectory);
    currentDir_->setChecked(true);
    selectedDirs_->setChecked(false);
}

void CSearchDlg::UseSelectedDirectories() {
    QString places;
    for (const QString& d : setup_.selectedDirectories)
        places += d + QLatin1Char(';');
    places_->setEditText(places);
    selectedDirs_->setChecked(true);
    currentDir_->setChecked(false);
}

void CSearchDlg::ChoosePattern(int index) {
    QString pattern = patternBox_->itemData(index).toString();
    patternBox_->setCurrentIndex(0);
    if (pattern.isEmpty())
        return;
    bool append = QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
    names_->setEditText(QString::fromStdString(
        orvo::ChoosePattern(ToStd(names_->currentText()), ToStd(pattern), append)));
}

void CSearchDlg::keyPressEvent(QKeyEvent* event) {
    if (searching_) {
        // Keys reach the search between its entries: Escape stops it (and
        // does not close the window), Backspace skips a directory.
        if (event->key() == Qt::Key_Escape) {
            worker_.Control().PressKey(SearchControl::kEscape);
            return;
        }
        if (event->key() == Qt::Key_Backspace) {
            worker_.Control().PressKey(SearchControl::kBackspace);
            return;
        }
    }
    if (HandleWindowKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void CSearchDlg::reject() {
    worker_.Control().PressKey(SearchControl::kEscape);
    QDialog::reject();
}

} // namespace orvo
