// The controls of the search window and how they sit.
#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchResultsModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

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

// A control the window offers that the search does not read.
template <typename Widget> Widget* Unused(Widget* w) {
    w->setEnabled(false);
    w->setToolTip(QObject::tr("Not used by the search"));
    return w;
}

} // namespace

void CSearchDlg::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(BuildCriteria());

    searchingLine_ = new QLabel(this);
    searchingLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    searchingLine_->setMinimumWidth(100);
    searchingLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    countsLine_ = new QLabel(this);
    layout->addWidget(searchingLine_);
    layout->addWidget(countsLine_);
    layout->addWidget(BuildResults(), 1);
}

QWidget* CSearchDlg::BuildCriteria() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    names_ = EditableCombo(box);
    auto* namesLabel = new QLabel(tr("Search &for :"), box);
    namesLabel->setBuddy(names_);
    patternBox_ = new QComboBox(box);
    patternBox_->setToolTip(tr("Ready-made patterns (Ctrl appends with \";\")"));
    patternBox_->addItem(tr("Patterns..."));
    for (int i = 0; i < setup_.patternLabels.size(); ++i)
        patternBox_->addItem(setup_.patternLabels[i], setup_.patterns.value(i));
    places_ = EditableCombo(box);
    auto* placesLabel = new QLabel(tr("Search &in :"), box);
    placesLabel->setBuddy(places_);
    currentDir_ = new QPushButton(tr("Current directory"), box);
    currentDir_->setCheckable(true);
    selectedDirs_ = new QPushButton(tr("Selected directories"), box);
    selectedDirs_->setCheckable(true);
    auto* allDisks = Unused(new QPushButton(tr("All local harddisks"), box));
    start_ = new QPushButton(tr("Start"), box);
    start_->setDefault(true);
    auto* close = new QPushButton(tr("Close"), box);
    auto* help = Unused(new QPushButton(tr("Help"), box));

    grid->addWidget(namesLabel, 0, 0);
    grid->addWidget(names_, 0, 1, 1, 3);
    grid->addWidget(patternBox_, 0, 4);
    grid->addWidget(start_, 0, 5);
    grid->addWidget(placesLabel, 1, 0);
    grid->addWidget(places_, 1, 1, 1, 4);
    grid->addWidget(close, 1, 5);
    auto* placeButtons = new QHBoxLayout;
    placeButtons->addWidget(currentDir_);
    placeButtons->addWidget(selectedDirs_);
    placeButtons->addWidget(allDisks);
    placeButtons->addStretch(1);
    followLinks_ = new QCheckBox(tr("Follow the &links"), box);
    placeButtons->addWidget(followLinks_);
    grid->addLayout(placeButtons, 2, 1, 1, 4);
    grid->addWidget(help, 2, 5);

    auto* textGroup = new QGroupBox(box);
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
    grid->addWidget(textGroup, 3, 0, 1, 6);

    auto* dateGroup = new QGroupBox(box);
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
    grid->addWidget(dateGroup, 4, 0, 1, 6);
    grid->setColumnStretch(1, 1);

    connect(start_, &QPushButton::clicked, this, &CSearchDlg::StartOrStop);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(currentDir_, &QPushButton::clicked, this, &CSearchDlg::UseCurrentDirectory);
    connect(selectedDirs_, &QPushButton::clicked, this, &CSearchDlg::UseSelectedDirectories);
    connect(patternBox_, &QComboBox::activated, this, &CSearchDlg::ChoosePattern);
    // Searching text in binaries is rarely wanted: each click on "Search
    // text" ticks "Exclude binaries" too.
    connect(textOn_, &QCheckBox::clicked, this, [this] { excludeBinaries_->setChecked(true); });
    return box;
}

QWidget* CSearchDlg::BuildResults() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    viewBox_ = new QComboBox(box);
    for (const char* label : {"Large icons", "Small icons", "List", "Details"})
        viewBox_->addItem(QString::fromLatin1(label));
    viewBox_->setCurrentIndex(static_cast<int>(ResultsView::Details));
    bar->addWidget(viewBox_);
    struct Command {
        const char* text;
        void (CSearchDlg::*run)();
    } commands[] = {
        {"Copy to clipboard", &CSearchDlg::CopyFilesToClipboard},
        {"Go there  Alt+Click", &CSearchDlg::GoThere},
        {"Copy paths to clipboard", &CSearchDlg::CopyPathsToClipboard},
        {"Copy names to clipboard", &CSearchDlg::CopyNamesToClipboard},
        {"Create Orvo List (F9)", &CSearchDlg::CreateList},
    };
    for (const Command& c : commands) {
        auto* button = new QPushButton(tr(c.text), box);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, c.run);
        bar->addWidget(button);
    }
    bar->addWidget(Unused(new QPushButton(tr("Save list as"), box)));
    bar->addStretch(1);
    layout->addLayout(bar);

    model_ = new SearchResultsModel(this);
    details_ = new SearchDetailsList(box);
    icons_ = new SearchIconsList(box);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        list->setModel(model_);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setDragEnabled(true);
        list->setDragDropMode(QAbstractItemView::DragOnly);
        list->installEventFilter(this);
        connect(list, &QAbstractItemView::doubleClicked, this, [this] { GoThere(); });
    }
    auto altClick = [this](const QModelIndex& index) {
        emit GoToFileRequested(model_->PathOf(index.row()));
    };
    details_->onAltClick = altClick;
    icons_->onAltClick = altClick;
    icons_->setSelectionModel(details_->selectionModel());
    icons_->setUniformItemSizes(true);
    icons_->setLayoutMode(QListView::Batched);
    icons_->setResizeMode(QListView::Adjust);
    details_->setShowGrid(false);
    details_->setWordWrap(false);
    details_->setAlternatingRowColors(true);
    details_->verticalHeader()->hide();
    details_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    details_->verticalHeader()->setDefaultSectionSize(details_->fontMetrics().height() + 6);
    details_->horizontalHeader()->setHighlightSections(false);
    const int widths[] = {200, 60, 90, 85, 70, 45, 280, 300};
    for (int c = 0; c < SearchResultsModel::ColumnCount; ++c)
        details_->setColumnWidth(c, widths[c]);
    details_->horizontalHeader()->setStretchLastSection(true);
    stack_ = new QStackedWidget(box);
    stack_->addWidget(details_);
    stack_->addWidget(icons_);
    layout->addWidget(stack_, 1);
    connect(viewBox_, &QComboBox::activated, this,
            [this](int index) { SetResultsView(static_cast<ResultsView>(index)); });
    return box;
}

} // namespace orvo
