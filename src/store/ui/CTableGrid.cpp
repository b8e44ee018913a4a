#include "store/ui/CTableGrid.h"

#include "store/ui/TableCellDelegate.h"
#include "store/ui/TableGridModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

namespace orvo {

namespace {

// A long text column (extension lists, patterns) should not push the
// others out of sight.
constexpr int kMaxFittedWidth = 240;

} // namespace

CTableGrid::CTableGrid(QWidget* parent) : QTableView(parent), model_(new TableGridModel(this)) {
    setModel(model_);
    setItemDelegate(new TableCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    // Mouse clicks start editing by the rule in mousePressEvent; the
    // keyboard can start it too, so the grid works without a mouse.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 12);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (flags_ & kSortable)
            SortByColumn(column);
    });
}

void CTableGrid::SetTable(QTable* table, QDataBase* db) {
    lastSorted_ = -1;
    lastClicked_ = QPersistentModelIndex();
    horizontalHeader()->setSortIndicatorShown(false);
    model_->SetTable(table, db);
    FitColumns();
}

QTable* CTableGrid::Table() const {
    return model_->Table();
}

void CTableGrid::Refill() {
    lastClicked_ = QPersistentModelIndex();
    model_->Refill();
}

void CTableGrid::SetEditable(bool editable) {
    flags_ = editable ? (flags_ | kEditable) : (flags_ & ~kEditable);
    model_->SetEditable(editable);
}

void CTableGrid::SetSortable(bool sortable) {
    flags_ = sortable ? (flags_ | kSortable) : (flags_ & ~kSortable);
}

int CTableGrid::FirstSelectedRow() const {
    if (!selectionModel())
        return -1;
    QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return -1;
    int row = selected.front().row();
    for (const QModelIndex& i : selected)
        row = std::min(row, i.row());
    return row;
}

void CTableGrid::SortByColumn(int column) {
    QTable* table = Table();
    if (!table || column < 0 || column >= table->GetFieldCount())
        return;
    const std::string& name = table->Columns()[column].GetName();
    bool ascending = column != lastSorted_;
    table->Sort(name, ascending);
    lastSorted_ = ascending ? column : -1;
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    Refill();
}

void CTableGrid::mousePressEvent(QMouseEvent* event) {
    QModelIndex index = indexAt(event->position().toPoint());
    QPersistentModelIndex previous = lastClicked_;
    QTableView::mousePressEvent(event);
    if (!index.isValid() || event->button() != Qt::LeftButton)
        return;
    lastClicked_ = index;
    if (!IsEditable())
        return;
    if (index.column() > 0 || index == QModelIndex(previous))
        edit(index);
}

void CTableGrid::FitColumns() {
    resizeColumnsToContents();
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, std::min(columnWidth(c), kMaxFittedWidth));
}

} // namespace orvo
