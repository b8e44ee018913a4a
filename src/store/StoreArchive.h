#pragma once

#include "platform/FileIO.h"
#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"
#include "store/QDataBase.h"
#include "store/QTable.h"

#include <string>
#include <string_view>

namespace orvo {

inline constexpr std::string_view kDataBaseBanner =
    "+QDataBase v.1.0+ archive by Vemmerstandix. Uneditable.";
inline constexpr std::string_view kTableBanner = "+QTable v.1.0+";

inline constexpr const char* kNotDataBaseMessage =
    "Internal error occured. Trying to load NON-QDataBase to a QDataBase object.";
std::string NotTableMessage(const std::string& tableName);

enum class ArchiveKind { Unknown, DataBase, Table };
// What a file's leading banner says it holds.
ArchiveKind DetectArchiveKind(std::string_view bytes);

void WriteValue(ArchiveWriter& out, const QValue& value);
QValue ReadValue(ArchiveReader& in);
// Reads a cell in place; with an owner table, texts go into its arena.
void ReadValueInto(ArchiveReader& in, QValue& cell, QTable* arenaOwner);
QValue ReadTaggedPayload(ArchiveReader& in, uint16_t tag);
void WriteFieldInfo(ArchiveWriter& out, const QFieldInfo& field);
QFieldInfo ReadFieldInfo(ArchiveReader& in);
void WriteTable(ArchiveWriter& out, const QTable& table);
void WriteDataBase(ArchiveWriter& out, const QDataBase& db);

// Readers replace the object's contents only when the whole object was
// read; on an ArchiveError the object is exactly as it was.
void ReadTable(ArchiveReader& in, QTable& table);
void ReadDataBase(ArchiveReader& in, QDataBase& db);

// Whole-file forms. Loading throws FileError (cannot read) or ArchiveError
// (not a valid archive of that kind); saving goes through a temporary file
// renamed over the target, so a failed save keeps the old file; links are
// written through and read-only files refused unless readOnly says Replace.
void LoadTableFile(const std::string& path, QTable& table);
void SaveTableFile(const std::string& path, const QTable& table,
                   ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);
void LoadDataBaseFile(const std::string& path, QDataBase& db);
void SaveDataBaseFile(const std::string& path, const QDataBase& db,
                      ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);
// Does nothing (and returns false) when the file does not exist.
bool LoadTableFileIfExists(const std::string& path, QTable& table);
bool LoadDataBaseFileIfExists(const std::string& path, QDataBase& db);

} // namespace orvo
