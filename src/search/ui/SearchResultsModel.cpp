#include "search/ui/SearchResultsModel.h"

#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/BrowseIcons.h"
#include "platform/DisplayText.h"
#include "platform/OleDate.h"
#include "platform/ui/QtText.h"
#include "store/Collation.h"

#include <QMimeData>
#include <set>

namespace orvo {

namespace {

const char* const kHeaders[] = {"Name", "Extension", "Size", "Date",
                                "Time", "Attr",      "Path", "Sample"};

} // namespace

SearchResultsModel::SearchResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

void SearchResultsModel::Clear() {
    beginResetModel();
    results_.Clear();
    endResetModel();
}

void SearchResultsModel::Append(std::vector<SearchHit>& hits) {
    if (hits.empty())
        return;
    const int first = results_.Count();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(hits.size()) - 1);
    for (const SearchHit& hit : hits)
        results_.Append(hit);
    endInsertRows();
}

void SearchResultsModel::SetFullNames(bool on) {
    if (fullNames_ == on)
        return;
    fullNames_ = on;
    if (rowCount() > 0)
        emit dataChanged(index(0, NameColumn), index(rowCount() - 1, NameColumn));
}

QString SearchResultsModel::PathOf(int row) const {
    return PathToQ(results_.Path(row));
}
QString SearchResultsModel::NameOf(int row) const {
    return PathToQ(results_.Name(row));
}

QStringList SearchResultsModel::Paths() const {
    QStringList paths;
    paths.reserve(results_.Count());
    for (int i = 0; i < results_.Count(); ++i)
        paths << PathOf(i);
    return paths;
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : results_.Count();
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QIcon SearchResultsModel::IconFor(int row) const {
    if (results_.IsDirectory(row))
        return BrowseIcons::DirectoryIcon();
    const QTable& t = results_.Table();
    std::string extension =
        LowerCaseText(t.GetValue(SearchResults::kExtension, row).AsStringView());
    return BrowseIcons::ExtensionIcon(extension);
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= results_.Count())
        return {};
    const int row = index.row();
    const QTable& t = results_.Table();
    auto cell = [&](int column) { return ToQ(t.GetValue(column, row).AsStringView()); };
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return fullNames_ ? NameOf(row) : cell(SearchResults::kName);
        case ExtensionColumn:
            return cell(SearchResults::kExtension);
        case SizeColumn:
            return results_.IsDirectory(row) ? QString() : ToQ(NumberText(results_.Size(row)));
        case DateColumn:
            return ToQ(FormatOleDate(t.GetValue(SearchResults::kDate, row).AsDouble(), "%Y-%m-%d"));
        case TimeColumn:
            return ToQ(FormatOleDate(t.GetValue(SearchResults::kTime, row).AsDouble(), "%H:%M:%S"));
        case AttrColumn:
            return cell(SearchResults::kAttr);
        case PathColumn:
            return cell(SearchResults::kPath);
        case SampleColumn:
            return cell(SearchResults::kSample);
        }
        return {};
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(IconFor(row)) : QVariant();
    case Qt::ToolTipRole:
        return index.column() == SampleColumn || index.column() == PathColumn
                   ? data(index, Qt::DisplayRole)
                   : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == SizeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant();
    default:
        return {};
    }
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return QString::fromLatin1(kHeaders[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags SearchResultsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    return index.isValid() ? f | Qt::ItemIsDragEnabled : f;
}

QStringList SearchResultsModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* SearchResultsModel::mimeData(const QModelIndexList& indexes) const {
    std::set<int> rows;
    for (const QModelIndex& i : indexes)
        rows.insert(i.row());
    std::vector<std::string> paths;
    for (int row : rows)
        paths.push_back(results_.Path(row));
    return MakeFileListMimeData(paths);
}

Qt::DropActions SearchResultsModel::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

} // namespace orvo
