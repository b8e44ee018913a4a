#include "search/ui/SearchResultsPane.h"

#include "search/ui/SearchHitCommands.h"
#include "search/ui/SearchResultsModel.h"
#include "search/ui/UnusedControl.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace orvo {

SearchResultsPane::SearchResultsPane(SearchHitCommands& hits, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(BuildCommandBar(hits));
    BuildLists(hits);
    stack_ = new QStackedWidget(this);
    stack_->addWidget(details_);
    stack_->addWidget(icons_);
    layout->addWidget(stack_, 1);
    connect(viewBox_, &QComboBox::activated, this,
            [this](int index) { SetResultsView(static_cast<ResultsView>(index)); });
}

QLayout* SearchResultsPane::BuildCommandBar(SearchHitCommands& hits) {
    auto* bar = new QHBoxLayout;
    viewBox_ = new QComboBox(this);
    for (const char* label : {"Large icons", "Small icons", "List", "Details"})
        viewBox_->addItem(QString::fromLatin1(label));
    viewBox_->setCurrentIndex(static_cast<int>(ResultsView::Details));
    bar->addWidget(viewBox_);
    struct Command {
        const char* text;
        void (SearchHitCommands::*run)();
    } commands[] = {
        {"Copy to clipboard", &SearchHitCommands::CopyFilesToClipboard},
        {"Go there  Alt+Click", &SearchHitCommands::GoThere},
        {"Copy paths to clipboard", &SearchHitCommands::CopyPathsToClipboard},
        {"Copy names to clipboard", &SearchHitCommands::CopyNamesToClipboard},
        {"Create Orvo List (F9)", &SearchHitCommands::CreateList},
    };
    for (const Command& c : commands) {
        auto* button = new QPushButton(tr(c.text), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, &hits, c.run);
        bar->addWidget(button);
    }
    bar->addWidget(Unused(new QPushButton(tr("Save list as"), this)));
    bar->addStretch(1);
    return bar;
}

void SearchResultsPane::BuildLists(SearchHitCommands& hits) {
    details_ = new SearchDetailsList(this);
    icons_ = new SearchIconsList(this);
    // Made after the lists, so it outlives them.
    model_ = new SearchResultsModel(this);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        list->setModel(model_);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setDragEnabled(true);
        list->setDragDropMode(QAbstractItemView::DragOnly);
        connect(list, &QAbstractItemView::doubleClicked, &hits, &SearchHitCommands::GoThere);
    }
    auto altClick = [&hits](const QModelIndex& index) { hits.GoToHit(index.row()); };
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
}

QAbstractItemView* SearchResultsPane::CurrentList() const {
    return view_ == ResultsView::Details ? static_cast<QAbstractItemView*>(details_) : icons_;
}

void SearchResultsPane::SetResultsView(ResultsView view) {
    view_ = view;
    viewBox_->setCurrentIndex(static_cast<int>(view));
    model_->SetFullNames(view != ResultsView::Details);
    if (view == ResultsView::Details) {
        stack_->setCurrentWidget(details_);
    } else {
        const bool large = view == ResultsView::LargeIcons;
        icons_->setViewMode(view == ResultsView::List ? QListView::ListMode : QListView::IconMode);
        icons_->setFlow(view == ResultsView::List ? QListView::TopToBottom
                                                  : QListView::LeftToRight);
        icons_->setWrapping(true);
        icons_->setMovement(QListView::Static);
        icons_->setIconSize(large ? QSize(48, 48) : QSize(16, 16));
        icons_->setGridSize(large                             ? QSize(96, 88)
                            : view == ResultsView::SmallIcons ? QSize(180, 22)
                                                              : QSize());
        icons_->setWordWrap(large);
        stack_->setCurrentWidget(icons_);
    }
    QModelIndex current = details_->selectionModel()->currentIndex();
    if (current.isValid())
        CurrentList()->scrollTo(current);
}

} // namespace orvo
