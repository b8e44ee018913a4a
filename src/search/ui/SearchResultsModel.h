#pragma once

#include "search/SearchResults.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QStringList>
#include <vector>

namespace orvo {

// The results of a search window as a Qt model, rows in the order found.
// Hits arrive in batches, each one insertion.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        ExtensionColumn,
        SizeColumn,
        DateColumn,
        TimeColumn,
        AttrColumn,
        PathColumn,
        SampleColumn,
        ColumnCount
    };

    explicit SearchResultsModel(QObject* parent = nullptr);

    void Clear();
    void Append(std::vector<SearchHit>& hits);
    // Icon views show the name with its extension in their one column.
    void SetFullNames(bool on);

    const SearchResults& Results() const { return results_; }
    QString PathOf(int row) const;
    QString NameOf(int row) const; // with the extension
    QStringList Paths() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    QIcon IconFor(int row) const;

    SearchResults results_;
    bool fullNames_ = false;
    mutable QHash<QString, QIcon> iconCache_;
};

} // namespace orvo
