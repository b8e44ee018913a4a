#include "settings/OptionAccessors.h"

#include "settings/CellReading.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"

namespace orvo {

namespace {

// The row of a key and the table it lives in, for reading.
struct Found {
    const QTable* table = nullptr;
    int row = -1;
};

Found Find(const QDataBase& db, const char* tableName, std::string_view key) {
    Found f;
    f.table = db.GetTable(tableName);
    if (f.table)
        f.row = FindOptionRow(*f.table, key);
    return f;
}

void Set(QDataBase& db, const char* tableName, std::string_view key, const QValue& value) {
    QTable* table = db.GetTable(tableName);
    if (!table)
        table = db.AddTable(MakeOptionTable(tableName));
    // A table of another shape (a foreign file) cannot hold the key; adding
    // rows to it would only pile up nameless rows.
    if (table->FieldIndex(kOptionNameColumn) < 0 || table->FieldIndex(kOptionValueColumn) < 0)
        return;
    int row = FindOptionRow(*table, key);
    if (row >= 0) {
        table->SetValue(kOptionValueColumn, row, value);
        return;
    }
    QRecord record = table->NewRecord();
    record.SetText(kOptionNameColumn, key);
    record.SetValue(kOptionValueColumn, value);
    table->AddRecord(record);
}

} // namespace

int FindOptionRow(const QTable& table, std::string_view key) {
    return table.FindRecord(QConditionList::Equal(kOptionNameColumn, QValue(key)), 0);
}

bool GetBoolOption(const QDataBase& db, std::string_view key) {
    Found f = Find(db, kBoolOptionsTable, key);
    return f.row >= 0 && CellIsTrue(f.table->GetValue(kOptionValueColumn, f.row));
}

void SetBoolOption(QDataBase& db, std::string_view key, bool value) {
    Set(db, kBoolOptionsTable, key, QValue(value, QVT_BOOL));
}

std::string GetStringOption(const QDataBase& db, std::string_view key) {
    Found f = Find(db, kStringOptionsTable, key);
    return f.row >= 0 ? f.table->GetText(kOptionValueColumn, f.row) : std::string();
}

void SetStringOption(QDataBase& db, std::string_view key, std::string_view value) {
    Set(db, kStringOptionsTable, key, QValue(value));
}

int32_t GetIntOption(const QDataBase& db, std::string_view key) {
    Found f = Find(db, kIntOptionsTable, key);
    return f.row >= 0 ? CellAsInt(f.table->GetValue(kOptionValueColumn, f.row)) : -1;
}

void SetIntOption(QDataBase& db, std::string_view key, int32_t value) {
    Set(db, kIntOptionsTable, key, QValue(value, QVT_INT));
}

bool GetBoolOption(std::string_view key) {
    return GetBoolOption(GetOptionsDatabase(), key);
}
void SetBoolOption(std::string_view key, bool value) {
    SetBoolOption(GetOptionsDatabase(), key, value);
}
std::string GetStringOption(std::string_view key) {
    return GetStringOption(GetOptionsDatabase(), key);
}
void SetStringOption(std::string_view key, std::string_view value) {
    SetStringOption(GetOptionsDatabase(), key, value);
}
int32_t GetIntOption(std::string_view key) {
    return GetIntOption(GetOptionsDatabase(), key);
}
void SetIntOption(std::string_view key, int32_t value) {
    SetIntOption(GetOptionsDatabase(), key, value);
}

} // namespace orvo
