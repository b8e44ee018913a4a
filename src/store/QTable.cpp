#include "store/QTable.h"

#include "store/Collation.h"
#include "store/QDataBase.h"

#include <algorithm>

namespace orvo {

namespace {
uint32_t Now() { return static_cast<uint32_t>(std::time(nullptr)); }

const QValue& EmptyValue() {
    static const QValue empty;
    return empty;
}
} // namespace

QTable::QTable(bool view) : created_(Now()), view_(view) {}

QTable::QTable(const QFieldDef* defs, int count, bool view) : created_(Now()), view_(view) {
    SetFields(defs, count);
}

QTable::QTable(const QTable& other, bool view) : created_(Now()), view_(view) {
    for (QRecord* row : other.rows_) {
        if (view_)
            AddRecord(row);
        else
            AddRecord(*row);
    }
    columns_ = other.columns_;
}

QTable::~QTable() { RemoveAll(); }

void QTable::SetFields(const QFieldDef* defs, int count) {
    columns_.clear();
    for (int i = 0; i < count; ++i)
        columns_.emplace_back(defs[i].name, defs[i].type, defs[i].flags);
}

void QTable::ResetFields(const QFieldDef* defs, int count) {
    SetFields(defs, count);
    name_ = "NoName";
    created_ = Now();
}

int QTable::FieldIndex(std::string_view name) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].GetName() == name)
            return static_cast<int>(i);
    return -1;
}

const QValue& QTable::GetValue(int column, int row) const { return rows_[row]->GetValueAt(column); }
std::string QTable::GetText(int column, int row) const { return GetValue(column, row).ToText(); }
void QTable::SetValue(int column, int row, const QValue& value) { rows_[row]->SetValueAt(column, value); }
void QTable::SetText(int column, int row, std::string_view text, int type) {
    rows_[row]->SetTextAt(column, text, type);
}

const QValue& QTable::GetValue(std::string_view column, int row) const {
    int index = FieldIndex(column);
    return index < 0 ? EmptyValue() : GetValue(index, row);
}
std::string QTable::GetText(std::string_view column, int row) const {
    return GetValue(column, row).ToText();
}
void QTable::SetValue(std::string_view column, int row, const QValue& value) {
    SetValue(FieldIndex(column), row, value);
}
void QTable::SetText(std::string_view column, int row, std::string_view text, int type) {
    SetText(FieldIndex(column), row, text, type);
}

void QTable::TakeContentsFrom(QTable& other) {
    RemoveAll();
    if (other.arena_)
        arena_ = std::move(other.arena_); // the old rows are gone, so may their arena be
    name_ = std::move(other.name_);
    created_ = other.created_;
    secondText_ = std::move(other.secondText_);
    columns_ = std::move(other.columns_);
    rows_ = std::move(other.rows_);
    other.rows_.clear();
    other.columns_.clear();
    for (QRecord* row : rows_)
        row->AttachColumns(&columns_);
}

QRecord QTable::NewRecord() const { return QRecord(this); }

uint32_t QTable::NextId() const {
    // Called after the row is in place: the id follows the row before the
    // last one, whatever order a sort left the rows in.
    if (rows_.size() < 2)
        return 0;
    return rows_[rows_.size() - 2]->GetId() + 1;
}

uint32_t QTable::AddRecord(const QRecord& row) {
    if (view_)
        return AddRecord(const_cast<QRecord*>(&row));
    auto copy = std::make_unique<QRecord>();
    if (row.OwnsColumns()) {
        *copy = QRecord();
        copy->ResizeValues(row.GetValueCount());
        for (uint32_t i = 0; i < row.GetValueCount(); ++i)
            copy->ValueRef(i) = row.GetValueAt(static_cast<int>(i));
    } else {
        *copy = row;
    }
    return AdoptRecord(std::move(copy));
}

uint32_t QTable::AddRecord(QRecord* row) {
    if (!view_)
        return AddRecord(static_cast<const QRecord&>(*row));
    rows_.push_back(row);
    return row->GetId();
}

uint32_t QTable::AdoptRecord(std::unique_ptr<QRecord> row) {
    row->AttachColumns(&columns_);
    rows_.push_back(row.get());
    row.release();
    uint32_t id = NextId();
    rows_.back()->SetId(id);
    return id;
}

uint32_t QTable::InsertRecord(int index, const QRecord& row) {
    QRecord* inserted;
    if (view_) {
        inserted = const_cast<QRecord*>(&row);
    } else {
        inserted = new QRecord(row);
        inserted->AttachColumns(&columns_);
    }
    rows_.insert(rows_.begin() + index, inserted);
    if (view_)
        return inserted->GetId();
    inserted->SetId(NextId());
    return inserted->GetId();
}

void QTable::SetRecord(int index, const QRecord& row) {
    QRecord* target = rows_[index];
    if (target == &row)
        return;
    uint32_t n = row.GetValueCount();
    target->ResizeValues(n);
    for (uint32_t i = 0; i < n; ++i)
        target->ValueRef(i) = row.GetValueAt(static_cast<int>(i));
}

QRecord* QTable::AppendArenaRecord(uint32_t valueCount) {
    if (!arena_)
        arena_ = std::make_unique<TableArena>();
    QRecord* row = QRecord::MakeInArena(*arena_, valueCount);
    row->AttachColumns(&columns_);
    rows_.push_back(row);
    if (!view_)
        row->SetId(NextId());
    return row;
}

QValue QTable::ArenaString(std::string_view text) {
    if (text.empty())
        return QValue(std::string_view());
    if (!arena_)
        arena_ = std::make_unique<TableArena>();
    return QValue::BorrowedString(arena_->CopyString(text));
}

void QTable::DeleteRecord(int index) {
    if (!view_)
        QRecord::Destroy(rows_[index]);
    rows_.erase(rows_.begin() + index);
}

int QTable::DeleteRecords(const std::vector<char>& remove) {
    size_t kept = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (i < remove.size() && remove[i]) {
            if (!view_)
                QRecord::Destroy(rows_[i]);
            continue;
        }
        rows_[kept++] = rows_[i];
    }
    const int removed = static_cast<int>(rows_.size() - kept);
    rows_.resize(kept);
    return removed;
}

void QTable::RemoveAll() {
    if (!view_) {
        for (QRecord* row : rows_)
            QRecord::Destroy(row);
        // Every row the arena held is gone: so may the arena be, or a table
        // refilled in place would grow without end.
        arena_.reset();
    }
    rows_.clear();
}

int QTable::FindRecord(const QConditionList& list, int start) const {
    if (start < 0)
        start = 0;
    if (start >= GetRecordCount())
        return -1;
    if (list.selectAll)
        return start;
    for (int i = start; i < GetRecordCount(); ++i)
        if (rows_[i]->Matches(list))
            return i;
    return -1;
}

int QTable::FindByText(std::string_view column, std::string_view text, int start) const {
    int index = FieldIndex(column);
    uint16_t type = index >= 0 ? columns_[index].GetType() : uint16_t{QVT_EMPTY};
    QValue value;
    value.SetFromText(text, type);
    return FindRecord(QConditionList::Equal(std::string(column), std::move(value)), start);
}

void QTable::Sort(std::string_view column, bool ascending, int first, int end) {
    int from = first == -1 ? 0 : first;
    int to = end == -1 ? GetRecordCount() : end;
    from = std::clamp(from, 0, GetRecordCount());
    to = std::clamp(to, from, GetRecordCount());
    if (to - from < 2)
        return;
    int sortColumn = FieldIndex(column);

    // Text columns are compared through collation keys made once per row;
    // the order is the same as comparing the strings each time.
    struct Item {
        QRecord* row;
        std::wstring key;
    };
    bool keyed = sortColumn >= 0 && columns_[sortColumn].GetType() == QVT_LPSTR;
    std::vector<int> precedence;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].IsPrecedenceKey())
            precedence.push_back(static_cast<int>(i));

    std::vector<Item> items;
    items.reserve(static_cast<size_t>(to - from));
    for (int i = from; i < to; ++i) {
        Item item{rows_[i], {}};
        const QValue& v = rows_[i]->GetValueAt(sortColumn);
        if (keyed && v.Type() == QVT_LPSTR)
            item.key = CollationKey(v.AsStringView(), false);
        items.push_back(std::move(item));
    }
    auto less = [&](const Item& a, const Item& b) {
        for (int p : precedence) {
            int r = a.row->GetValueAt(p).Compare(b.row->GetValueAt(p), false);
            if (r != 0)
                return r < 0;
        }
        const QValue& va = a.row->GetValueAt(sortColumn);
        const QValue& vb = b.row->GetValueAt(sortColumn);
        if (keyed && va.Type() == QVT_LPSTR && vb.Type() == QVT_LPSTR)
            return a.key < b.key;
        return va.Compare(vb, false) < 0;
    };
    // A merge sort: it stays inside the range even if the comparison is
    // inconsistent (a NaN date compares below everything both ways).
    std::stable_sort(items.begin(), items.end(), less);
    for (int i = from; i < to; ++i)
        rows_[i] = items[static_cast<size_t>(i - from)].row;
    if (!ascending)
        std::reverse(rows_.begin() + from, rows_.begin() + to);
}

std::vector<std::string> QTable::ReferenceChoices(const QFieldInfo& column, const QDataBase* db) {
    std::vector<std::string> choices;
    if (!db) {
        choices.push_back("!ERROR QDataBase is NULL while reference type");
        choices.push_back("Internal : no database specified.");
        return choices;
    }
    const QTable* table = db->GetTable(column.GetRefTable());
    int field = table ? table->FieldIndex(column.GetRefField()) : -1;
    if (!table)
        choices.push_back("!ERROR table not found :" + column.GetRefTable());
    if (field < 0)
        choices.push_back("!ERROR field not found, table : " + column.GetRefTable() +
                          ", field : " + column.GetRefField());
    if (column.GetRefTable().empty())
        choices.push_back("Table name not specified");
    if (column.GetRefField().empty())
        choices.push_back("Reference field not specified");
    if (table && field >= 0)
        for (int i = 0; i < table->GetRecordCount(); ++i)
            choices.push_back(table->GetText(field, i));
    return choices;
}

} // namespace orvo
