#pragma once

#include "store/QDataBase.h"
#include "store/QTable.h"

#include <QModelIndex>
#include <QTableView>

namespace orvo {

class TableGridModel;

// The grid that shows and edits one QTable: one row per record, one column
// per field. A click edits a cell at once, except in the first column,
// where it takes a second click on the same cell (the first one selects
// the row). A header click sorts the table by that column: ascending,
// then descending, then ascending again.
class CTableGrid : public QTableView {
    Q_OBJECT
public:
    enum : unsigned { kEditable = 0x1, kSortable = 0x2 };

    explicit CTableGrid(QWidget* parent = nullptr);

    void SetTable(QTable* table, QDataBase* db);
    QTable* Table() const;
    // Re-reads every row from the table.
    void Refill();
    void SetEditable(bool editable);
    bool IsEditable() const { return (flags_ & kEditable) != 0; }
    void SetSortable(bool sortable);

    TableGridModel* GridModel() const { return model_; }
    // The column sorted last, -1 when the next header click sorts ascending.
    int LastSortedColumn() const { return lastSorted_; }
    // The row of the first selected cell, or -1.
    int FirstSelectedRow() const;

    // Sorts as a click on that column's header does.
    void SortByColumn(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void FitColumns();

    TableGridModel* model_;
    unsigned flags_ = kSortable;
    int lastSorted_ = -1;
    QPersistentModelIndex lastClicked_;
};

} // namespace orvo
