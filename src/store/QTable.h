#pragma once

#include "store/QCondition.h"
#include "store/QFieldInfo.h"
#include "store/QRecord.h"
#include "store/TableArena.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class QDataBase;

// A named, ordered set of rows sharing one column list. A view table only
// refers to rows owned elsewhere.
class QTable {
public:
    explicit QTable(bool view = false);
    QTable(const QFieldDef* defs, int count, bool view = false);
    QTable(const QTable& other, bool view = false);
    QTable& operator=(const QTable&) = delete;
    ~QTable();

    // Replaces the column list by the triples; rows are not touched.
    void SetFields(const QFieldDef* defs, int count);
    // The same, and the table is renamed "NoName" and dated now.
    void ResetFields(const QFieldDef* defs, int count);
    const QFieldList& Columns() const { return columns_; }
    QFieldList& MutableColumns() { return columns_; }

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    uint32_t GetCreated() const { return created_; }
    void SetCreated(uint32_t t) { created_ = t; }
    const std::string& GetSecondText() const { return secondText_; }
    void SetSecondText(std::string text) { secondText_ = std::move(text); }
    bool IsView() const { return view_; }

    int GetRecordCount() const { return static_cast<int>(rows_.size()); }
    QRecord* GetRecord(int index) const { return rows_[index]; }
    int GetFieldCount() const { return static_cast<int>(columns_.size()); }
    int FieldIndex(std::string_view name) const;

    const QValue& GetValue(std::string_view column, int row) const;
    std::string GetText(std::string_view column, int row) const;
    void SetValue(std::string_view column, int row, const QValue& value);
    const QValue& GetValue(int column, int row) const;
    std::string GetText(int column, int row) const;
    void SetValue(int column, int row, const QValue& value);
    void SetText(int column, int row, std::string_view text, int type = -1);
    void SetText(std::string_view column, int row, std::string_view text, int type = -1);

    // A row of this table's columns with default values, not added.
    QRecord NewRecord() const;
    // Appends a copy (a view appends the row itself); returns its id.
    uint32_t AddRecord(const QRecord& row);
    uint32_t AddRecord(QRecord* row); // for views: the caller keeps ownership
    uint32_t InsertRecord(int index, const QRecord& row);
    void SetRecord(int index, const QRecord& row);
    void DeleteRecord(int index);
    // Removes every row whose flag is set (remove has one flag per row) in
    // one pass, the others keeping their order; returns how many went.
    // Deleting many rows one by one would move the rest for each of them.
    int DeleteRecords(const std::vector<char>& remove);
    void RemoveAll();

    int FindRecord(const QConditionList& list, int start) const;
    int FindByText(std::string_view column, std::string_view text, int start) const;
    // Sorts rows [first, end) (-1: from the start, to the end) by a column,
    // precedence keys first; descending is the exact mirror of ascending.
    void Sort(std::string_view column, bool ascending, int first = -1, int end = -1);

    // Bulk append of rows already built for this table's columns, used by
    // the archive reader and the directory reader to avoid a copy per row.
    uint32_t AdoptRecord(std::unique_ptr<QRecord> row);
    // Appends a row of valueCount empty cells carved from the table's arena
    // (fast bulk filling; texts for it come from ArenaString).
    QRecord* AppendArenaRecord(uint32_t valueCount);
    // A string cell whose text lives as long as this table.
    QValue ArenaString(std::string_view text);
    void Reserve(size_t rows) { rows_.reserve(rows); }
    // Replaces this table's name, dates, columns and rows by another's,
    // leaving that one empty (a load reads into a fresh table first).
    void TakeContentsFrom(QTable& other);

    // The choices a reference column offers, with its error entries.
    static std::vector<std::string> ReferenceChoices(const QFieldInfo& column, const QDataBase* db);

private:
    uint32_t NextId() const;

    std::unique_ptr<TableArena> arena_;
    std::vector<QRecord*> rows_;
    QFieldList columns_;
    std::string name_ = "NoName";
    uint32_t created_;
    std::string secondText_;
    bool view_;
};

} // namespace orvo
