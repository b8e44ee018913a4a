#include "store/QRecord.h"

#include "store/QTable.h"
#include "store/TableArena.h"

#include <new>

namespace orvo {

namespace {
const QValue& EmptyValue() {
    static const QValue empty;
    return empty;
}
} // namespace

QRecord::QRecord(const QTable* table) {
    if (table)
        UseColumns(&table->Columns(), false);
}

QRecord::QRecord(const QRecord& other) {
    if (other.ownsColumns_) {
        columns_ = new QFieldList(*other.columns_);
        ownsColumns_ = true;
    } else {
        columns_ = other.columns_;
    }
    CopyValuesFrom(other);
}

QRecord& QRecord::operator=(const QRecord& other) {
    if (this == &other)
        return *this;
    if (ownsColumns_)
        delete columns_;
    ownsColumns_ = false;
    if (other.ownsColumns_) {
        columns_ = new QFieldList(*other.columns_);
        ownsColumns_ = true;
    } else {
        columns_ = other.columns_;
    }
    CopyValuesFrom(other);
    id_ = 0;
    return *this;
}

QRecord::~QRecord() {
    if (ownsColumns_)
        delete columns_;
    FreeValues();
}

void QRecord::FreeValues() {
    if (valuesInArena_) {
        for (uint32_t i = 0; i < count_; ++i)
            values_[i].~QValue();
    } else {
        delete[] values_;
    }
    values_ = nullptr;
    count_ = 0;
    valuesInArena_ = false;
}

QRecord* QRecord::MakeInArena(TableArena& arena, uint32_t valueCount) {
    QRecord* row = arena.Make<QRecord>();
    row->inArena_ = true;
    if (valueCount) {
        void* block = arena.Allocate(sizeof(QValue) * valueCount, alignof(QValue));
        row->values_ = static_cast<QValue*>(block);
        for (uint32_t i = 0; i < valueCount; ++i)
            new (&row->values_[i]) QValue();
        row->count_ = valueCount;
        row->valuesInArena_ = true;
    }
    return row;
}

void QRecord::Destroy(QRecord* row) {
    if (!row)
        return;
    if (row->inArena_)
        row->~QRecord();
    else
        delete row;
}

void QRecord::CopyValuesFrom(const QRecord& other) {
    ResizeValues(other.count_);
    for (uint32_t i = 0; i < count_; ++i)
        values_[i] = other.values_[i];
}

void QRecord::ResizeValues(uint32_t count) {
    if (count == count_)
        return;
    QValue* values = count ? new QValue[count] : nullptr;
    for (uint32_t i = 0; i < count && i < count_; ++i)
        values[i] = values_[i]; // a copy: the old cells may borrow arena text
    FreeValues();
    values_ = values;
    count_ = count;
}

void QRecord::UseColumns(const QFieldList* columns, bool copy) {
    if (ownsColumns_)
        delete columns_;
    ownsColumns_ = false;
    FreeValues();
    if (copy) {
        columns_ = columns ? new QFieldList(*columns) : new QFieldList();
        ownsColumns_ = true;
    } else {
        columns_ = columns;
    }
    if (!columns_)
        return;
    ResizeValues(static_cast<uint32_t>(columns_->size()));
    for (uint32_t i = 0; i < count_; ++i)
        values_[i] = QValue::Default((*columns_)[i].GetType());
}

void QRecord::DropOwnedColumns() {
    delete columns_;
    columns_ = nullptr;
    ownsColumns_ = false;
}

int QRecord::FieldIndex(std::string_view name) const {
    if (!columns_)
        return -1;
    for (size_t i = 0; i < columns_->size(); ++i)
        if ((*columns_)[i].GetName() == name)
            return static_cast<int>(i);
    return -1;
}

int QRecord::GetFieldCount() const { return columns_ ? static_cast<int>(columns_->size()) : 0; }

const QFieldInfo* QRecord::GetFieldInfo(int index) const {
    if (!columns_ || index < 0 || index >= static_cast<int>(columns_->size()))
        return nullptr;
    return &(*columns_)[index];
}

std::string QRecord::GetFieldName(int index) const {
    const QFieldInfo* info = GetFieldInfo(index);
    return info ? info->GetName() : std::string();
}

uint16_t QRecord::GetFieldType(int index) const {
    const QFieldInfo* info = GetFieldInfo(index);
    return info ? info->GetType() : uint16_t{QVT_EMPTY};
}

uint16_t QRecord::GetFieldType(std::string_view name) const { return GetFieldType(FieldIndex(name)); }

const QValue& QRecord::GetValueAt(int index) const {
    if (index < 0 || static_cast<uint32_t>(index) >= count_)
        return EmptyValue();
    return values_[index];
}

void QRecord::SetValueAt(int index, const QValue& value) {
    if (index < 0 || static_cast<uint32_t>(index) >= count_)
        return;
    values_[index] = value;
}

const QValue& QRecord::GetValue(std::string_view name) const { return GetValueAt(FieldIndex(name)); }

void QRecord::SetValue(std::string_view name, const QValue& value) { SetValueAt(FieldIndex(name), value); }

void QRecord::SetTextAt(int index, std::string_view text, int type) {
    if (index < 0 || static_cast<uint32_t>(index) >= count_)
        return;
    uint16_t tag = (type == -1 || type == 0xFFFF) ? GetFieldType(index) : static_cast<uint16_t>(type);
    QValue parsed;
    parsed.SetFromText(text, tag);
    values_[index] = std::move(parsed);
}

void QRecord::SetText(std::string_view name, std::string_view text, int type) {
    SetTextAt(FieldIndex(name), text, type);
}

std::string QRecord::GetText(std::string_view name) const { return GetValue(name).ToText(); }

bool QRecord::Matches(const QConditionList& list) const {
    for (const QCondition& c : list.conditions) {
        bool holds = false;
        if (c.column.empty()) {
            if (c.skip)
                holds = GetFieldCount() > 0;
            else
                for (uint32_t i = 0; i < count_ && !holds; ++i)
                    holds = values_[i].Matches(c.op, c.value);
        } else if (c.skip) {
            holds = true;
        } else {
            int index = FieldIndex(c.column);
            holds = index >= 0 && GetValueAt(index).Matches(c.op, c.value);
        }
        if (list.anyMatch && holds)
            return true;
        if (!list.anyMatch && !holds)
            return false;
    }
    return !list.anyMatch;
}

int QRecord::CompareTo(const QRecord& other, int sortColumn, bool caseSensitive) const {
    if (columns_) {
        for (size_t i = 0; i < columns_->size(); ++i) {
            if (!(*columns_)[i].IsPrecedenceKey())
                continue;
            int r = GetValueAt(static_cast<int>(i)).Compare(other.GetValueAt(static_cast<int>(i)), caseSensitive);
            if (r != 0)
                return r;
        }
    }
    return GetValueAt(sortColumn).Compare(other.GetValueAt(sortColumn), caseSensitive);
}

} // namespace orvo
