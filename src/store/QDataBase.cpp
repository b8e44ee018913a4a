#include "store/QDataBase.h"

#include "store/Collation.h"
#include "store/StoreArchive.h"

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

int QDataBase::FindTable(std::string_view name) const {
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
