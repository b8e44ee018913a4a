#pragma once

#include "store/QCondition.h"
#include "store/QFieldInfo.h"
#include "store/QValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvo {

class QTable;
class TableArena;

// One row: a value per column of the column list it follows. Normally that
// is its table's list (shared); a row may instead carry a private copy.
class QRecord {
public:
    // A row of the table's columns with default values; no table, no columns.
    explicit QRecord(const QTable* table = nullptr);
    // Copies the values; the copy's id is 0. A private column list is
    // copied, a shared one stays shared.
    QRecord(const QRecord& other);
    QRecord& operator=(const QRecord& other);
    ~QRecord();

    // A row whose header and cells live in a table's arena (see TableArena);
    // such rows are ended with Destroy, never with delete.
    static QRecord* MakeInArena(TableArena& arena, uint32_t valueCount);
    static void Destroy(QRecord* row);
    bool InArena() const { return inArena_; }

    // Drops the values and follows the given columns (or a private copy of
    // them) with one default value each.
    void UseColumns(const QFieldList* columns, bool copy);
    // Points at another column list without touching the values.
    void AttachColumns(const QFieldList* columns) {
        if (ownsColumns_ && columns_ != columns)
            DropOwnedColumns();
        columns_ = columns;
    }
    bool OwnsColumns() const { return ownsColumns_; }
    const QFieldList* Columns() const { return columns_; }

    uint32_t GetId() const { return id_; }
    void SetId(uint32_t id) { id_ = id; }

    int FieldIndex(std::string_view name) const;
    bool HasField(std::string_view name) const { return FieldIndex(name) >= 0; }
    int GetFieldCount() const;
    const QFieldInfo* GetFieldInfo(int index) const;
    std::string GetFieldName(int index) const;
    uint16_t GetFieldType(int index) const;
    uint16_t GetFieldType(std::string_view name) const;

    // The cell of a column; a name the row does not have reads as an empty
    // value and writes to it are ignored.
    const QValue& GetValue(std::string_view name) const;
    void SetValue(std::string_view name, const QValue& value);
    const QValue& GetValueAt(int index) const;
    void SetValueAt(int index, const QValue& value);
    // Parses text with the given type, or the column's type when type is -1.
    void SetText(std::string_view name, std::string_view text, int type = -1);
    void SetTextAt(int index, std::string_view text, int type = -1);
    std::string GetText(std::string_view name) const;

    bool Matches(const QConditionList& list) const;
    int CompareTo(const QRecord& other, int sortColumn, bool caseSensitive) const;

    // Value storage, for the archive reader and table copies.
    uint32_t GetValueCount() const { return count_; }
    void ResizeValues(uint32_t count);
    QValue& ValueRef(uint32_t index) { return values_[index]; }

private:
    void CopyValuesFrom(const QRecord& other);

    void FreeValues();
    void DropOwnedColumns();

    // A plain array rather than a vector: rows are the bulk of a listing's
    // memory, and this keeps a row's header at 32 bytes.
    QValue* values_ = nullptr;
    uint32_t count_ = 0;
    uint32_t id_ = 0;
    const QFieldList* columns_ = nullptr;
    bool ownsColumns_ = false;
    bool valuesInArena_ = false;
    bool inArena_ = false;
};

static_assert(sizeof(QRecord) == 32, "rows are the bulk of a listing's memory");

} // namespace orvo
