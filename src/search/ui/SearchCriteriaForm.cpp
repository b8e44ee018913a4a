#include "search/ui/SearchCriteriaForm.h"

#include "platform/OleDate.h"
#include "platform/ui/QtText.h"
#include "search/QuickSearchForm.h"
#include "search/SelectionPatterns.h"
#include "search/ui/UnusedControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <ctime>

namespace orvo {

namespace {

template <size_t N> QComboBox* FixedCombo(const char* const (&labels)[N], QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const char* label : labels)
        box->addItem(QString::fromLatin1(label));
    return box;
}

QComboBox* EditableCombo(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    box->setMinimumContentsLength(24);
    return box;
}

QSpinBox* Number(QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, 30000);
    return spin;
}

// Places and names may hold bytes that are not UTF-8.
std::string ToStd(const QString& s) {
    return QToPath(s);
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

} // namespace

SearchCriteriaForm::SearchCriteriaForm(const SearchWindowSetup& setup, QWidget* parent)
    : QWidget(parent), setup_(setup) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);

    names_ = EditableCombo(this);
    auto* namesLabel = new QLabel(tr("Search &for :"), this);
    namesLabel->setBuddy(names_);
    patternBox_ = new QComboBox(this);
    patternBox_->setToolTip(tr("Ready-made patterns (Ctrl appends with \";\")"));
    patternBox_->addItem(tr("Patterns..."));
    for (int i = 0; i < setup_.patternLabels.size(); ++i)
        patternBox_->addItem(setup_.patternLabels[i], setup_.patterns.value(i));
    places_ = EditableCombo(this);
    auto* placesLabel = new QLabel(tr("Search &in :"), this);
    placesLabel->setBuddy(places_);
    currentDir_ = new QPushButton(tr("Current directory"), this);
    currentDir_->setCheckable(true);
    selectedDirs_ = new QPushButton(tr("Selected directories"), this);
    selectedDirs_->setCheckable(true);
    auto* allDisks = Unused(new QPushButton(tr("All local harddisks"), this));
    start_ = new QPushButton(tr("Start"), this);
    start_->setDefault(true);
    close_ = new QPushButton(tr("Close"), this);
    auto* help = Unused(new QPushButton(tr("Help"), this));

    grid->addWidget(namesLabel, 0, 0);
    grid->addWidget(names_, 0, 1, 1, 3);
    grid->addWidget(patternBox_, 0, 4);
    grid->addWidget(start_, 0, 5);
    grid->addWidget(placesLabel, 1, 0);
    grid->addWidget(places_, 1, 1, 1, 4);
    grid->addWidget(close_, 1, 5);
    auto* placeButtons = new QHBoxLayout;
    placeButtons->addWidget(currentDir_);
    placeButtons->addWidget(selectedDirs_);
    placeButtons->addWidget(allDisks);
    placeButtons->addStretch(1);
    followLinks_ = new QCheckBox(tr("Follow the &links"), this);
    placeButtons->addWidget(followLinks_);
    grid->addLayout(placeButtons, 2, 1, 1, 4);
    grid->addWidget(help, 2, 5);

    grid->addWidget(BuildTextGroup(), 3, 0, 1, 6);
    grid->addWidget(BuildDateGroup(), 4, 0, 1, 6);
    grid->setColumnStretch(1, 1);

    connect(currentDir_, &QPushButton::clicked, this, &SearchCriteriaForm::UseCurrentDirectory);
    connect(selectedDirs_, &QPushButton::clicked, this,
            &SearchCriteriaForm::UseSelectedDirectories);
    connect(patternBox_, &QComboBox::activated, this, &SearchCriteriaForm::ChoosePattern);
    // Searching text in binaries is rarely wanted: each click on "Search
    // text" ticks "Exclude binaries" too.
    connect(textOn_, &QCheckBox::clicked, this, [this] { excludeBinaries_->setChecked(true); });

    UseCurrentDirectory();
    text_->setEditText(QString::fromStdString(RememberedSearchText()));
    // The path box's quick-search form.
    if (!setup_.names.isEmpty() || setup_.searchText) {
        names_->setEditText(setup_.names);
        if (setup_.searchText) {
            text_->setEditText(setup_.text);
            textOn_->setChecked(true);
        }
    }
}

QGroupBox* SearchCriteriaForm::BuildTextGroup() {
    auto* textGroup = new QGroupBox(this);
    auto* textGrid = new QGridLayout(textGroup);
    textOn_ = new QCheckBox(tr("Search &text"), textGroup);
    text_ = EditableCombo(textGroup);
    textMode_ = FixedCombo(kTextModeLabels, textGroup);
    wildcard_ = new QCheckBox(tr("Regular Expression"), textGroup);
    matchCase_ = new QCheckBox(tr("Match case"), textGroup);
    excludeBinaries_ = new QCheckBox(tr("Exclude binaries"), textGroup);
    textGrid->addWidget(textOn_, 0, 0);
    textGrid->addWidget(text_, 0, 1, 1, 3);
    textGrid->addWidget(textMode_, 0, 4);
    textGrid->addWidget(wildcard_, 1, 1);
    textGrid->addWidget(matchCase_, 1, 2);
    textGrid->addWidget(excludeBinaries_, 1, 3);
    textGrid->addWidget(Unused(new QCheckBox(tr("Whole words only"), textGroup)), 2, 1);
    textGrid->addWidget(Unused(new QCheckBox(tr("Also in comments"), textGroup)), 2, 2);
    textGrid->addWidget(Unused(new QCheckBox(tr("Only in comments"), textGroup)), 2, 3);
    textGrid->setColumnStretch(3, 1);
    return textGroup;
}

QGroupBox* SearchCriteriaForm::BuildDateGroup() {
    auto* dateGroup = new QGroupBox(this);
    auto* dateGrid = new QGridLayout(dateGroup);
    dateBetween_ = new QCheckBox(tr("Date beetwen"), dateGroup);
    dateFrom_ = new QDateEdit(QDate::currentDate(), dateGroup);
    dateTo_ = new QDateEdit(QDate::currentDate(), dateGroup);
    for (QDateEdit* d : {dateFrom_, dateTo_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    noOlderThan_ = new QCheckBox(tr("No older than"), dateGroup);
    age_ = Number(dateGroup);
    ageUnit_ = FixedCombo(kTimeUnitLabels, dateGroup);
    ageUnit_->setCurrentIndex(static_cast<int>(TimeUnit::Days));
    sizeBetween_ = new QCheckBox(tr("Size beetwen"), dateGroup);
    sizeLow_ = Number(dateGroup);
    sizeHigh_ = Number(dateGroup);
    sizeBetweenUnit_ = FixedCombo(kSizeUnitLabels, dateGroup);
    sizeCompare_ = new QCheckBox(tr("Size"), dateGroup);
    sizeRelation_ = FixedCombo(kSizeRelationLabels, dateGroup);
    sizeNumber_ = Number(dateGroup);
    sizeCompareUnit_ = FixedCombo(kSizeUnitLabels, dateGroup);
    dateGrid->addWidget(dateBetween_, 0, 0);
    dateGrid->addWidget(dateFrom_, 0, 1);
    dateGrid->addWidget(dateTo_, 0, 2);
    dateGrid->addWidget(noOlderThan_, 1, 0);
    dateGrid->addWidget(age_, 1, 1);
    dateGrid->addWidget(ageUnit_, 1, 2);
    dateGrid->addWidget(sizeBetween_, 0, 4);
    dateGrid->addWidget(sizeLow_, 0, 5);
    dateGrid->addWidget(sizeHigh_, 0, 6);
    dateGrid->addWidget(sizeBetweenUnit_, 0, 7);
    dateGrid->addWidget(sizeCompare_, 1, 4);
    dateGrid->addWidget(sizeRelation_, 1, 5);
    dateGrid->addWidget(sizeNumber_, 1, 6);
    dateGrid->addWidget(sizeCompareUnit_, 1, 7);
    auto* dateKinds = new QHBoxLayout;
    auto* modified = new QRadioButton(tr("Applies to last modification date"), dateGroup);
    modified->setChecked(true);
    dateKinds->addWidget(Unused(modified));
    dateKinds->addWidget(Unused(new QRadioButton(tr("Applies to last creation date"), dateGroup)));
    dateKinds->addWidget(Unused(new QRadioButton(tr("Applies to last access date"), dateGroup)));
    dateKinds->addStretch(1);
    dateGrid->addLayout(dateKinds, 2, 0, 1, 9);
    dateGrid->setColumnMinimumWidth(3, 16);
    dateGrid->setColumnStretch(8, 1);
    return dateGroup;
}

SearchCriteria SearchCriteriaForm::ReadCriteria() const {
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

void SearchCriteriaForm::RememberTexts() {
    for (QComboBox* box : {names_, places_, text_})
        Remember(box);
}

void SearchCriteriaForm::UseCurrentDirectory() {
    places_->setEditText(setup_.currentDirectory);
    currentDir_->setChecked(true);
    selectedDirs_->setChecked(false);
}

void SearchCriteriaForm::UseSelectedDirectories() {
    QString places;
    for (const QString& d : setup_.selectedDirectories)
        places += d + QLatin1Char(';');
    places_->setEditText(places);
    selectedDirs_->setChecked(true);
    currentDir_->setChecked(false);
}

void SearchCriteriaForm::ChoosePattern(int index) {
    QString pattern = patternBox_->itemData(index).toString();
    patternBox_->setCurrentIndex(0);
    if (pattern.isEmpty())
        return;
    bool append = QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
    names_->setEditText(QString::fromStdString(
        orvo::ChoosePattern(ToStd(names_->currentText()), ToStd(pattern), append)));
}

} // namespace orvo
