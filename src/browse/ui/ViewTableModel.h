#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvo {

class DirectoryListing;
class QTable;

// The cells of one row, as drawing and the information tip read them.
struct RowFacts {
    std::string_view name, extension, path, comment, attr;
    uint64_t size = 0; // bytes; a directory's counted kilobytes
    double date = 0, time = 0;
    bool directory = false;
    bool parent = false;
};

// The view table of a browse window as a Qt model. It only reads the
// table: a rebuild resets the model in one go, which keeps opening a large
// directory to a single reset instead of a signal per row.
class ViewTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns the window shows, in order; Path and Directory stay hidden.
    enum Column { NameColumn, ExtensionColumn, CommentColumn, SizeColumn, DateColumn, TimeColumn, AttrColumn, ColumnCount };

    explicit ViewTableModel(QObject* parent = nullptr);

    void SetTable(const QTable* table, const DirectoryListing* listing);
    // Call after the table was rebuilt or sorted.
    void Reload();
    // Call after single cells changed (a comment edit).
    void RowChanged(int row);
    // Where row icons come from (the window's background loading); without
    // one, icons are shared by extension.
    void SetIconSource(std::function<QIcon(int row)> source) { iconSource_ = std::move(source); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The view table's column name of a shown column.
    static const char* TableColumnName(int column);
    // Name + "." + Extension (Name alone without an extension).
    QString FullName(int row) const;
    QString PathOf(int row) const;
    bool IsDirectory(int row) const;
    bool IsParentEntry(int row) const;
    RowFacts Facts(int row) const;
    // The text the Name cell shows: the full name, a directory's in
    // brackets when the option asks for it.
    QString DisplayName(int row) const;

signals:
    // In-place editing ended with a new name; the window does the renaming.
    // The entry is named by its path: the rename runs after the editor has
    // closed, and a refresh before then may have moved the rows.
    void RenameRequested(const std::string& path, const QString& newName);

private:
    QIcon IconFor(int row) const;

    const QTable* table_ = nullptr;
    const DirectoryListing* listing_ = nullptr;
    int columnIndex_[ColumnCount] = {};
    int pathIndex_ = -1;
    int directoryIndex_ = -1;
    std::function<QIcon(int)> iconSource_;
};

} // namespace orvo
