#pragma once

#include "store/QValue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

// Column flag bits.
enum : uint32_t {
    QFF_PRECEDENCE = 0x00000001,  // compared before the sort column
    QFF_SHOW_DATE = 0x00000400,   // a date column edits its date part
    QFF_SHOW_TIME = 0x00000800,   // a date column edits its time part
    QFF_REFERENCE = 0x00800000,   // values are picked from another table
};

// A (name, type, flags) triple; arrays of these define a table's columns.
struct QFieldDef {
    const char* name;
    uint16_t type;
    uint32_t flags;
};

// One column of a table.
class QFieldInfo {
public:
    QFieldInfo() = default;
    QFieldInfo(std::string name, uint16_t type, uint32_t flags)
        : name_(std::move(name)), type_(type), flags_(flags) {}

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    uint16_t GetType() const { return type_; }
    void SetType(uint16_t type) { type_ = type; }
    uint32_t GetFlags() const { return flags_; }
    void SetFlags(uint32_t flags) { flags_ = flags; }
    // Three free texts kept with the column; nothing in the store reads them.
    const std::string& GetText(int i) const { return texts_[i]; }
    void SetText(int i, std::string text) { texts_[i] = std::move(text); }
    const std::string& GetRefTable() const { return refTable_; }
    void SetRefTable(std::string name) { refTable_ = std::move(name); }
    const std::string& GetRefField() const { return refField_; }
    void SetRefField(std::string name) { refField_ = std::move(name); }

    bool IsPrecedenceKey() const { return (flags_ & QFF_PRECEDENCE) != 0; }
    bool IsReference() const { return (flags_ & QFF_REFERENCE) != 0; }

    bool operator==(const QFieldInfo&) const = default;

private:
    std::string name_;
    uint16_t type_ = QVT_EMPTY;
    std::string texts_[3];
    std::string refTable_;
    std::string refField_;
    uint32_t flags_ = 0xC06;
};

using QFieldList = std::vector<QFieldInfo>;

} // namespace orvo
