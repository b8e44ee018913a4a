#pragma once

#include "platform/FileIO.h"
#include "store/QDataBase.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The name of the options file inside the data directory.
inline constexpr const char* kOptionsFileName = "OrvoOptions.qad";

// What loading the options file did.
struct OptionsLoadResult {
    enum class Status {
        Loaded,  // the file was read
        NewFile, // there was no file: the defaults are in use
        Failed,  // the file could not be read; see message
    };
    Status status = Status::Loaded;
    // For the user when not empty: why the file could not be used.
    std::string message;
    // Tables the file lacked, created with their default rows.
    std::vector<std::string> addedTables;

    bool Ok() const { return status != Status::Failed; }
};

struct OptionsSaveResult {
    bool saved = false;
    // The file that failed to load was left alone: nothing had changed.
    bool keptDamagedFile = false;
    // Where a damaged file was moved before it was replaced ("" if not).
    std::string damagedCopy;
    // For the user when not empty.
    std::string message;
};

// The options database together with the file it belongs to. The program
// has one (GetOptionsStore); tests and the command-line tool make their
// own.
class OptionsStore {
public:
    OptionsStore() = default;
    OptionsStore(const OptionsStore&) = delete;
    OptionsStore& operator=(const OptionsStore&) = delete;

    QDataBase& Database() { return db_; }
    const QDataBase& Database() const { return db_; }
    const std::string& Path() const { return path_; }

    // Reads the file into the database and adds every table it lacks with
    // its default rows. A missing file gives the defaults. A file that
    // cannot be read leaves the database as it was (the defaults on the
    // first load) and the file is then kept at Save unless the options
    // change in between.
    OptionsLoadResult Load(const std::string& path);
    // Writes the database to the file it was loaded from, or to path; a
    // link is written through, a read-only file left alone unless readOnly
    // says Replace.
    OptionsSaveResult Save(ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);
    OptionsSaveResult Save(const std::string& path, ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

    // True while the file on disk is one that failed to load.
    bool FileIsDamaged() const { return damaged_; }

    // Called just before a successful load replaces the tables, so whoever
    // holds a table (an open editor) can let go of it first.
    int AddReplaceListener(std::function<void()> listener);
    void RemoveReplaceListener(int id);

private:
    std::string Snapshot() const;
    void NotifyReplace();

    QDataBase db_;
    std::string path_;
    bool loadedOnce_ = false;
    bool damaged_ = false;
    // The database as it stood after a failed load, to tell at Save whether
    // the user changed anything since.
    std::string snapshot_;
    std::vector<std::pair<int, std::function<void()>>> listeners_;
    int nextListenerId_ = 1;
};

// The process-wide options store and its database.
OptionsStore& GetOptionsStore();
QDataBase& GetOptionsDatabase();
// A table of the options database, null when the database has none.
QTable* GetOptionsTable(std::string_view name);

// The options file of a data directory.
std::string OptionsFilePath(const std::string& dataDirectory);

// Load and save of the process-wide store; without a path, the options
// file of the data directory.
OptionsLoadResult LoadOptions();
OptionsLoadResult LoadOptions(const std::string& path);
OptionsSaveResult SaveOptions(ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);
OptionsSaveResult SaveOptions(const std::string& path,
                              ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

} // namespace orvo
