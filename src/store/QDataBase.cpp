#include "store/QDataBase.h"

#include "store/Collation.h"
#include "store/StoreArchive.h"

#include <strings.h>

namespace orvo {

QDataBase::QDataBase(bool createTablesOnLoad, bool ownsTables)
    : createTablesOnLoad_(createTablesOnLoad), ownsTables_(ownsTables) {}

QDataBase::~QDataBase() { Clear(); }

void QDataBase::Clear() {
    if (ownsTables_)
        for (QTable* t : tables_)
            delete t;
    tables_.clear();
}

namespace {

bool IsAscii(std::string_view s) {
    unsigned char high = 0;
    for (char c : s)
        high |= static_cast<unsigned char>(c);
    return high < 0x80;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

int QDataBase::FindTable(std::string_view name) const {
    // Option lookups run for every drawn row and every setting read, and
    // table names are nearly always plain ASCII: compare those directly
    // instead of converting both names through the locale each time.
    if (IsAscii(name)) {
        for (size_t i = 0; i < tables_.size(); ++i) {
            const std::string& other = tables_[i]->GetName();
            if (IsAscii(other) ? EqualIgnoringAsciiCase(other, name)
                               : LowerCaseText(other) == LowerCaseText(name))
                return static_cast<int>(i);
        }
        return -1;
    }
    std::string wanted = LowerCaseText(name);
    for (size_t i = 0; i < tables_.size(); ++i)
        if (LowerCaseText(tables_[i]->GetName()) == wanted)
            return static_cast<int>(i);
    return -1;
}

QTable* QDataBase::GetTable(std::string_view name) const {
    int i = FindTable(name);
    return i < 0 ? nullptr : tables_[i];
}

QTable* QDataBase::AddTable(std::unique_ptr<QTable> table) {
    tables_.push_back(table.release());
    return tables_.back();
}

void QDataBase::Swap(QDataBase& other) {
    tables_.swap(other.tables_);
    name_.swap(other.name_);
}

void QDataBase::Load(const std::string& path) { LoadDataBaseFile(path, *this); }

void QDataBase::Save(const std::string& path) const { SaveDataBaseFile(path, *this); }

} // namespace orvo
