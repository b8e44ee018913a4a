#include "store/ui/TableGridModel.h"

namespace orvo {

TableGridModel::TableGridModel(QObject* parent) : QAbstractTableModel(parent) {}

bool HasCellEditor(const QFieldInfo& column) {
    if (column.IsReference())
        return true;
    switch (column.GetType()) {
    case QVT_INT:
    case QVT_DWORD:
    case QVT_DOUBLE:
    case QVT_LPSTR:
    case QVT_BOOL:
    case QVT_DATE:
        return true;
    default:
        return false;
    }
}

void TableGridModel::SetTable(QTable* table, QDataBase* db) {
    beginResetModel();
    table_ = table;
    db_ = db;
    endResetModel();
}

void TableGridModel::Refill() {
    beginResetModel();
    endResetModel();
}

const QFieldInfo* TableGridModel::Column(int column) const {
    if (!table_ || column < 0 || column >= table_->GetFieldCount())
        return nullptr;
    return &table_->Columns()[column];
}

const QValue* TableGridModel::Cell(const QModelIndex& index) const {
    if (!table_ || !index.isValid() || index.row() >= table_->GetRecordCount() ||
        index.column() >= table_->GetFieldCount())
        return nullptr;
    return &table_->GetValue(index.column(), index.row());
}

bool TableGridModel::SetCell(const QModelIndex& index, const QValue& value) {
    if (!Cell(index))
        return false;
    table_->SetValue(index.column(), index.row(), value);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool TableGridModel::SetCellText(const QModelIndex& index, const QString& text) {
    if (!Cell(index))
        return false;
    QByteArray bytes = text.toUtf8();
    table_->SetText(index.column(), index.row(), std::string_view(bytes.constData(), bytes.size()));
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

int TableGridModel::rowCount(const QModelIndex& parent) const {
    return (table_ && !parent.isValid()) ? table_->GetRecordCount() : 0;
}

int TableGridModel::columnCount(const QModelIndex& parent) const {
    return (table_ && !parent.isValid()) ? table_->GetFieldCount() : 0;
}

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
    const QValue* cell = Cell(index);
    if (!cell)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        QString text = QString::fromUtf8(cell->ToText());
        if (role == Qt::DisplayRole && text.size() > kMaxShownText)
            text.truncate(kMaxShownText);
        return text;
    }
    case Qt::EditRole:
        return QString::fromUtf8(cell->ToText());
    case Qt::TextAlignmentRole: {
        uint16_t t = cell->Type();
        bool number = t == QVT_INT || t == QVT_DWORD || t == QVT_DOUBLE;
        return QVariant::fromValue(
            Qt::Alignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    default:
        return {};
    }
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QFieldInfo* column = Column(section);
    return column ? QString::fromUtf8(column->GetName()) : QVariant();
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const QFieldInfo* column = Column(index.column());
    if (editable_ && column && HasCellEditor(*column))
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    return SetCellText(index, value.toString());
}

} // namespace orvo
