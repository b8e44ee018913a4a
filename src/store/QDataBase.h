#pragma once

#include "store/QTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// A named list of tables; the options file is one.
class QDataBase {
public:
    explicit QDataBase(bool createTablesOnLoad = true, bool ownsTables = true);
    QDataBase(const QDataBase&) = delete;
    QDataBase& operator=(const QDataBase&) = delete;
    ~QDataBase();

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Table names match ignoring case; the first match wins.
    QTable* GetTable(std::string_view name) const;
    int FindTable(std::string_view name) const;
    int GetTableCount() const { return static_cast<int>(tables_.size()); }
    QTable* GetTableAt(int index) const { return tables_[index]; }

    // Appends a table the database then owns (when it owns its tables).
    // Used to seed missing tables of a new options file.
    QTable* AddTable(std::unique_ptr<QTable> table);

    // Archive I/O: see StoreArchive.h. Load leaves the database as it was
    // when the file is not a valid database archive.
    void Load(const std::string& path);
    void Save(const std::string& path) const;

    // Swaps tables and name with another database (a load reads into a
    // fresh object and commits only on success); the flags stay.
    void Swap(QDataBase& other);
    void Clear();

    bool CreatesTablesOnLoad() const { return createTablesOnLoad_; }
    bool OwnsTables() const { return ownsTables_; }

private:
    std::vector<QTable*> tables_;
    std::string name_;
    bool createTablesOnLoad_;
    bool ownsTables_;
};

} // namespace orvo
