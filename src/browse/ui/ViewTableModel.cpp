#include "browse/ui/ViewTableModel.h"

#include "browse/DirectoryListing.h"
#include "browse/RowDrawing.h"
#include "browse/ui/BrowseIcons.h"
#include "platform/DisplayText.h"
#include "platform/OleDate.h"
#include "platform/ui/QtText.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "store/Collation.h"
#include "store/QTable.h"

#include <ctime>

namespace orvo {

namespace {
const char* const kColumnNames[] = {"Name", "Extension", "Comment", "Size", "Date", "Time", "Attr"};

} // namespace

ViewTableModel::ViewTableModel(QObject* parent) : QAbstractTableModel(parent) {}

const char* ViewTableModel::TableColumnName(int column) {
    return column >= 0 && column < ColumnCount ? kColumnNames[column] : "";
}

void ViewTableModel::SetTable(const QTable* table, const DirectoryListing* listing) {
    beginResetModel();
    table_ = table;
    listing_ = listing;
    for (int c = 0; c < ColumnCount; ++c)
        columnIndex_[c] = table ? table->FieldIndex(kColumnNames[c]) : -1;
    pathIndex_ = table ? table->FieldIndex("Path") : -1;
    directoryIndex_ = table ? table->FieldIndex("Directory") : -1;
    endResetModel();
}

void ViewTableModel::Reload() {
    beginResetModel();
    endResetModel();
}

void ViewTableModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ViewTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->GetRecordCount();
}

int ViewTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ViewTableModel::FullName(int row) const {
    const QRecord& r = *table_->GetRecord(row);
    std::string name(r.GetValueAt(columnIndex_[NameColumn]).AsStringView());
    std::string_view ext = r.GetValueAt(columnIndex_[ExtensionColumn]).AsStringView();
    if (!ext.empty())
        name.append(".").append(ext);
    return PathToQ(name); // the editor's text: a rename keeps the bytes left alone
}

QString ViewTableModel::PathOf(int row) const {
    return PathToQ(table_->GetRecord(row)->GetValueAt(pathIndex_).AsStringView());
}

bool ViewTableModel::IsDirectory(int row) const {
    return table_->GetRecord(row)->GetValueAt(directoryIndex_).AsBool() == 1;
}

bool ViewTableModel::IsParentEntry(int row) const {
    return table_->GetRecord(row)->GetValueAt(columnIndex_[NameColumn]).AsStringView() == ".." &&
           table_->GetRecord(row)->GetValueAt(columnIndex_[ExtensionColumn]).AsStringView().empty();
}

RowFacts ViewTableModel::Facts(int row) const {
    const QRecord& r = *table_->GetRecord(row);
    RowFacts f;
    f.name = r.GetValueAt(columnIndex_[NameColumn]).AsStringView();
    f.extension = r.GetValueAt(columnIndex_[ExtensionColumn]).AsStringView();
    f.path = r.GetValueAt(pathIndex_).AsStringView();
    f.comment = r.GetValueAt(columnIndex_[CommentColumn]).AsStringView();
    f.attr = r.GetValueAt(columnIndex_[AttrColumn]).AsStringView();
    f.directory = r.GetValueAt(directoryIndex_).AsBool() == 1;
    f.parent = f.name == ".." && f.extension.empty();
    // Files above 4 GiB keep their real size in the listing; a directory's
    // cell holds its counted kilobytes.
    f.size = f.directory || !listing_ ? r.GetValueAt(columnIndex_[SizeColumn]).AsDword()
                                      : listing_->FullSize(r);
    f.date = r.GetValueAt(columnIndex_[DateColumn]).AsDouble();
    f.time = r.GetValueAt(columnIndex_[TimeColumn]).AsDouble();
    return f;
}

QString ViewTableModel::DisplayName(int row) const {
    const RowFacts f = Facts(row);
    return QString::fromStdString(orvo::DisplayName(f.name, f.extension, f.directory, f.parent,
                                                    GetBoolOption(kBracketDirectoriesKey)));
}

QIcon ViewTableModel::IconFor(int row) const {
    if (iconSource_)
        return iconSource_(row);
    if (IsParentEntry(row))
        return BrowseIcons::ParentIcon();
    if (IsDirectory(row))
        return BrowseIcons::DirectoryIcon();
    return BrowseIcons::ExtensionIcon(LowerCaseText(Facts(row).extension));
}

QVariant ViewTableModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || index.row() >= table_->GetRecordCount())
        return {};
    int row = index.row();
    int column = index.column();
    const QRecord& r = *table_->GetRecord(row);
    switch (role) {
    case Qt::DisplayRole: {
        if (column == NameColumn)
            return DisplayName(row);
        const RowFacts f = Facts(row);
        switch (column) {
        case SizeColumn:
            return QString::fromStdString(SizeCellText(f.size, f.directory, f.parent));
        // Drives have no date: their rows carry the zero date, which would
        // read as the last days of 1899.
        case DateColumn:
            return f.parent || f.date == 0
                       ? QString()
                       : QString::fromStdString(
                             DateCellText(f.date, TimeToLocalOleDate(std::time(nullptr))));
        case TimeColumn:
            return f.parent || f.date == 0 ? QString()
                                           : QString::fromStdString(TimeCellText(f.time));
        default:
            return ToQ(r.GetValueAt(columnIndex_[column]).AsStringView());
        }
    }
    case Qt::EditRole:
        return column == NameColumn ? FullName(row) : QVariant();
    case Qt::DecorationRole:
        return column == NameColumn ? QVariant(IconFor(row)) : QVariant();
    case Qt::ToolTipRole:
        return column == CommentColumn ? data(index, Qt::DisplayRole) : QVariant();
    case Qt::TextAlignmentRole:
        if (column == SizeColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant ViewTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return QString::fromLatin1(kColumnNames[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ViewTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return f;
    f |= Qt::ItemIsDragEnabled;
    // No renaming of ".." or of a drive (a mount point).
    if (index.column() == NameColumn && !IsParentEntry(index.row()) &&
        PathOf(index.row()).size() >= 3 && PathOf(index.row()) != QStringLiteral("/"))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ViewTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != NameColumn)
        return false;
    QString name = value.toString();
    if (name.isEmpty() || name == FullName(index.row()))
        return false;
    emit RenameRequested(
        std::string(table_->GetRecord(index.row())->GetValueAt(pathIndex_).AsStringView()), name);
    return true;
}

} // namespace orvo
