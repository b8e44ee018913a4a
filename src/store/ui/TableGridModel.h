#pragma once

#include "store/QDataBase.h"
#include "store/QTable.h"

#include <QAbstractTableModel>

namespace orvo {

// A Qt model over a QTable that edits it in place: one row per record, one
// column per field, the cell text as the record store writes it. The
// table and the database are not owned and must outlive the model's use.
class TableGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableGridModel(QObject* parent = nullptr);

    void SetTable(QTable* table, QDataBase* db);
    QTable* Table() const { return table_; }
    QDataBase* Database() const { return db_; }
    // Rebuilds every row and column from the table (after it changed
    // behind the model's back: rows added, removed or sorted).
    void Refill();
    void SetEditable(bool editable) { editable_ = editable; }
    bool IsEditable() const { return editable_; }

    const QFieldInfo* Column(int column) const;
    const QValue* Cell(const QModelIndex& index) const;
    // Stores a value into the table and tells the views.
    bool SetCell(const QModelIndex& index, const QValue& value);
    // Parses text with the column's own type into the cell.
    bool SetCellText(const QModelIndex& index, const QString& text);

    // Cells longer than this show cut (an edit still gets the whole text).
    static constexpr int kMaxShownText = 1024;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QTable* table_ = nullptr;
    QDataBase* db_ = nullptr;
    bool editable_ = false;
};

// Whether the grid offers an editor for a column of this description.
bool HasCellEditor(const QFieldInfo& column);

} // namespace orvo
