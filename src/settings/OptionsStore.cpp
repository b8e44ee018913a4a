#include "settings/OptionsStore.h"

#include "platform/DataDirectory.h"
#include "platform/FileIO.h"
#include "platform/SaveTarget.h"
#include "settings/DefaultOptions.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "store/StoreArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <strings.h>

namespace orvo {

namespace {

bool SameName(std::string_view a, const char* b) {
    return a.size() == std::strlen(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

// What the program records by itself while it runs, not what the user
// chose: the window layout, the bar's visibility, the tip counters. A file
// that could not be read stays untouched when only these changed.
bool IsRunRecordTable(std::string_view name) {
    return SameName(name, kBrowseWindowsTable) || SameName(name, kUserKnowsTable);
}

bool IsRunRecordKey(std::string_view key) {
    return SameName(key, kShowQuickAccessBarKey) || SameName(key, kTipPositionKey);
}

} // namespace

std::string OptionsStore::Snapshot() const {
    ArchiveWriter out;
    for (int t = 0; t < db_.GetTableCount(); ++t) {
        const QTable& table = *db_.GetTableAt(t);
        if (IsRunRecordTable(table.GetName()))
            continue;
        out.Text(table.GetName());
        const int key = table.FieldIndex(kOptionNameColumn);
        uint32_t rows = 0;
        for (int row = 0; row < table.GetRecordCount(); ++row) {
            if (key >= 0 && IsRunRecordKey(table.GetValue(key, row).AsStringView()))
                continue;
            for (int column = 0; column < table.GetFieldCount(); ++column)
                WriteValue(out, table.GetValue(column, row));
            ++rows;
        }
        // Rows are self-delimiting; the count keeps tables from running into each other.
        out.U32(rows);
    }
    return out.Take();
}

void OptionsStore::NotifyReplace() {
    // A listener may remove itself while being called.
    auto listeners = listeners_;
    for (auto& [id, listener] : listeners)
        listener();
}

int OptionsStore::AddReplaceListener(std::function<void()> listener) {
    listeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

void OptionsStore::RemoveReplaceListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

OptionsLoadResult OptionsStore::Load(const std::string& path) {
    OptionsLoadResult result;
    // Loading another file than before starts afresh, as at the first load:
    // nothing of the old file's options carries over to the new one.
    const bool first = !loadedOnce_ || path != path_;
    if (first && loadedOnce_) {
        NotifyReplace();
        db_.Clear();
    }
    loadedOnce_ = true;
    path_ = path;

    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const FileError& e) {
        if (e.Error() == ENOENT) {
            // A first run, or a file deleted while the program ran: either
            // way what is in memory is what the next save writes.
            damaged_ = false;
            result.status = OptionsLoadResult::Status::NewFile;
            if (first)
                result.addedTables = SeedMissingOptionTables(db_);
            else
                result.message = "The options file \"" + path +
                                 "\" no longer exists. The options in use are kept and will be "
                                 "saved when Orvo Browser closes.";
            return result;
        }
        result.message = std::string(e.what()) + ".";
    }

    if (result.message.empty()) {
        if (DetectArchiveKind(bytes) != ArchiveKind::DataBase) {
            result.message = kNotDataBaseMessage;
        } else {
            try {
                ArchiveReader in(bytes);
                QDataBase fresh;
                ReadDataBase(in, fresh);
                result.addedTables = SeedMissingOptionTables(fresh);
                UpdateOutdatedDefaults(fresh);
                NotifyReplace();
                db_.Swap(fresh);
                damaged_ = false;
                return result;
            } catch (const ArchiveError& e) {
                // The reason already says how the file is damaged.
                result.message = "The options file \"" + path + "\" cannot be read. " + e.what();
            }
        }
        result.message += first ? "\nOrvo Browser goes on with the default options"
                                : "\nThe options in use are kept";
        result.message += " and leaves the file as it is unless you change them.";
    } else {
        result.message += first ? " Orvo Browser goes on with the default options."
                                : " The options in use are kept.";
    }

    result.status = OptionsLoadResult::Status::Failed;
    if (first)
        result.addedTables = SeedMissingOptionTables(db_);
    damaged_ = true;
    snapshot_ = Snapshot();
    return result;
}

OptionsSaveResult OptionsStore::Save(ReadOnlyFiles readOnly) {
    if (path_.empty()) {
        OptionsSaveResult result;
        result.message = "The options have no file to be saved to.";
        return result;
    }
    return Save(path_, readOnly);
}

OptionsSaveResult OptionsStore::Save(const std::string& path, ReadOnlyFiles readOnly) {
    OptionsSaveResult result;
    const bool overDamaged = damaged_ && path == path_;
    if (overDamaged) {
        if (Snapshot() == snapshot_) {
            result.keptDamagedFile = true;
            return result;
        }
        // The user changed options: they are saved, but the unreadable file
        // is kept beside them in case it matters to someone.
        // A link to the options stays a link: the file it names goes aside.
        const std::string damaged = ResolveSaveTarget(path).path;
        std::string aside = damaged + ".damaged";
        if (std::rename(damaged.c_str(), aside.c_str()) == 0) {
            result.damagedCopy = aside;
        } else if (errno != ENOENT) {
            result.message = "The options were not saved: the unreadable file \"" + path +
                             "\" could not be moved aside (" + std::strerror(errno) + ").";
            return result;
        }
    }
    // A first run may come before anything made the data directory.
    std::error_code ignored;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ignored);
    try {
        SaveDataBaseFile(path, db_, readOnly);
    } catch (const FileError& e) {
        result.message = "The options were not saved. " + std::string(e.what()) + ".";
        return result;
    }
    result.saved = true;
    if (overDamaged) {
        damaged_ = false;
        if (!result.damagedCopy.empty())
            result.message = "The options file that could not be read was kept as \"" +
                             result.damagedCopy + "\".";
    }
    return result;
}

OptionsStore& GetOptionsStore() {
    static OptionsStore store;
    return store;
}

QDataBase& GetOptionsDatabase() {
    return GetOptionsStore().Database();
}

QTable* GetOptionsTable(std::string_view name) {
    return GetOptionsDatabase().GetTable(name);
}

std::string OptionsFilePath(const std::string& dataDirectory) {
    std::string path = dataDirectory;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + kOptionsFileName;
}

OptionsLoadResult LoadOptions() {
    return LoadOptions(OptionsFilePath(DataDirectoryPath()));
}
OptionsLoadResult LoadOptions(const std::string& path) {
    return GetOptionsStore().Load(path);
}
OptionsSaveResult SaveOptions(ReadOnlyFiles readOnly) {
    return GetOptionsStore().Save(readOnly);
}
OptionsSaveResult SaveOptions(const std::string& path, ReadOnlyFiles readOnly) {
    return GetOptionsStore().Save(path, readOnly);
}

} // namespace orvo
