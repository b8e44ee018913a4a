#include "browse/ui/ViewTableModel.h"

#include "browse/DirectoryListing.h"
#include "platform/OleDate.h"
#include "store/QTable.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QLocale>
#include <QMimeDatabase>
#include <QStyle>

namespace orvo {

namespace {
const char* const kColumnNames[] = {"Name", "Extension", "Comment", "Size", "Date", "Time", "Attr"};

QString ToQ(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
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

void ViewTableModel::SetFullNames(bool on) {
    if (fullNames_ == on)
        return;
    fullNames_ = on;
    if (rowCount() > 0)
        emit dataChanged(index(0, NameColumn), index(rowCount() - 1, NameColumn));
}

int ViewTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->GetRecordCount();
}

int ViewTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString ViewTableModel::FullName(int row) const {
    const QRecord& r = *table_->GetRecord(row);
    QString name = ToQ(r.GetValueAt(columnIndex_[NameColumn]).AsStringView());
    std::string_view ext = r.GetValueAt(columnIndex_[ExtensionColumn]).AsStringView();
    if (!ext.empty())
        name += QLatin1Char('.') + ToQ(ext);
    return name;
}

QString ViewTableModel::PathOf(int row) const {
    return ToQ(table_->GetRecord(row)->GetValueAt(pathIndex_).AsStringView());
}

bool ViewTableModel::IsDirectory(int row) const {
    return table_->GetRecord(row)->GetValueAt(directoryIndex_).AsBool() == 1;
}

bool ViewTableModel::IsParentEntry(int row) const {
    return table_->GetRecord(row)->GetValueAt(columnIndex_[NameColumn]).AsStringView() == ".." &&
           table_->GetRecord(row)->GetValueAt(columnIndex_[ExtensionColumn]).AsStringView().empty();
}

QString ViewTableModel::SizeText(int row) const {
    if (IsDirectory(row) || IsParentEntry(row)) {
        uint32_t counted = table_->GetRecord(row)->GetValueAt(columnIndex_[SizeColumn]).AsDword();
        return counted ? QLocale().toString(counted) + QStringLiteral(" kb") : QString();
    }
    uint64_t size = listing_ ? listing_->FullSize(*table_->GetRecord(row))
                             : table_->GetRecord(row)->GetValueAt(columnIndex_[SizeColumn]).AsDword();
    // Groups of three digits separated by blanks, as everywhere sizes show.
    QString digits = QString::number(size);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}

QIcon ViewTableModel::IconFor(int row) const {
    QString key;
    if (IsParentEntry(row))
        key = QStringLiteral(":up");
    else if (IsDirectory(row))
        key = QStringLiteral(":dir");
    else
        key = ToQ(table_->GetRecord(row)->GetValueAt(columnIndex_[ExtensionColumn]).AsStringView()).toLower();
    auto it = iconCache_.constFind(key);
    if (it != iconCache_.constEnd())
        return *it;
    QIcon icon;
    QStyle* style = QApplication::style();
    if (key == QStringLiteral(":up")) {
        icon = QIcon::fromTheme(QStringLiteral("go-up"), style->standardIcon(QStyle::SP_FileDialogToParent));
    } else if (key == QStringLiteral(":dir")) {
        icon = QIcon::fromTheme(QStringLiteral("folder"), style->standardIcon(QStyle::SP_DirIcon));
    } else {
        static QMimeDatabase mimes;
        QMimeType type = mimes.mimeTypeForFile(QStringLiteral("x.") + key, QMimeDatabase::MatchExtension);
        icon = QIcon::fromTheme(type.iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(type.genericIconName());
        if (icon.isNull())
            icon = style->standardIcon(QStyle::SP_FileIcon);
    }
    iconCache_.insert(key, icon);
    return icon;
}

QVariant ViewTableModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || index.row() >= table_->GetRecordCount())
        return {};
    int row = index.row();
    int column = index.column();
    const QRecord& r = *table_->GetRecord(row);
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case NameColumn:
            return fullNames_ ? FullName(row) : ToQ(r.GetValueAt(columnIndex_[NameColumn]).AsStringView());
        case SizeColumn:
            return SizeText(row);
        case DateColumn:
            return IsParentEntry(row) ? QString()
                                      : ToQ(FormatOleDate(r.GetValueAt(columnIndex_[DateColumn]).AsDouble(), "%Y-%m-%d"));
        case TimeColumn:
            return IsParentEntry(row) ? QString()
                                      : ToQ(FormatOleDate(r.GetValueAt(columnIndex_[TimeColumn]).AsDouble(), "%H:%M:%S"));
        default:
            return ToQ(r.GetValueAt(columnIndex_[column]).AsStringView());
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
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
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
    emit RenameRequested(index.row(), name);
    return true;
}

} // namespace orvo
