#include "store/StoreArchive.h"

#include "platform/FileIO.h"

#include <sys/stat.h>

namespace orvo {

namespace {

// The smallest number of bytes each object can take, to check counts read
// from a file before anything is allocated for them.
constexpr size_t kMinFieldInfoBytes = 1 + 2 + 4 + 5;
constexpr size_t kMinRowBytes = 4 + 4;
constexpr size_t kMinValueBytes = 2;
constexpr size_t kMinTableBytes = 1 + kTableBanner.size() + 1 + 4 + 1 + 4 + 4;

bool FileExists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

std::string NotTableMessage(const std::string& tableName) {
    return "Internal error occured. Trying to load NON QTable to a QTable object. Name : " + tableName;
}

ArchiveKind DetectArchiveKind(std::string_view bytes) {
    try {
        ArchiveReader in(bytes);
        std::string banner = in.Text();
        if (banner == kDataBaseBanner)
            return ArchiveKind::DataBase;
        if (banner == kTableBanner)
            return ArchiveKind::Table;
    } catch (const ArchiveError&) {
    }
    return ArchiveKind::Unknown;
}

void WriteValue(ArchiveWriter& out, const QValue& value) {
    out.U16(value.Type());
    switch (value.Type()) {
    case QVT_INT:
        out.U32(static_cast<uint32_t>(value.AsInt()));
        break;
    case QVT_DWORD:
        out.U32(value.AsDword());
        break;
    case QVT_DOUBLE:
    case QVT_DATE:
        out.F64(value.AsDouble());
        break;
    case QVT_LPSTR: {
        std::string_view s = value.AsStringView();
        out.U32(static_cast<uint32_t>(s.size()));
        out.Bytes(s);
        break;
    }
    case QVT_BOOL:
        out.U32(value.AsBool());
        break;
    case QVT_BLOB: {
        std::string_view b = value.AsBlob();
        out.U32(static_cast<uint32_t>(b.size()));
        out.Bytes(b);
        break;
    }
    default:
        break;
    }
}

QValue ReadValue(ArchiveReader& in) {
    QValue v;
    ReadValueInto(in, v, nullptr);
    return v;
}

void ReadValueInto(ArchiveReader& in, QValue& cell, QTable* arenaOwner) {
    uint16_t tag = in.U16();
    if (tag == QVT_LPSTR && arenaOwner) {
        uint32_t n = in.U32();
        cell = arenaOwner->ArenaString(in.View(n));
        return;
    }
    cell = ReadTaggedPayload(in, tag);
}

QValue ReadTaggedPayload(ArchiveReader& in, uint16_t tag) {
    switch (tag) {
    case QVT_INT:
        return QValue(static_cast<int32_t>(in.U32()), tag);
    case QVT_DWORD:
        return QValue(in.U32(), tag);
    case QVT_DOUBLE:
    case QVT_DATE:
        return QValue(in.F64(), tag);
    case QVT_LPSTR: {
        uint32_t n = in.U32();
        return QValue(in.View(n));
    }
    case QVT_BOOL: {
        QValue v;
        v.SetRawBool(static_cast<uint8_t>(in.U32() & 0xFF));
        return v;
    }
    case QVT_BLOB: {
        uint32_t n = in.U32();
        return QValue::Blob(in.View(n));
    }
    default: {
        // Unknown tags carry no payload; the tag itself is kept.
        QValue v;
        v.SetFromText("", tag);
        return v;
    }
    }
}

void WriteFieldInfo(ArchiveWriter& out, const QFieldInfo& field) {
    out.Text(field.GetName());
    out.U16(field.GetType());
    out.U32(field.GetFlags());
    for (int i = 0; i < 3; ++i)
        out.Text(field.GetText(i));
    out.Text(field.GetRefTable());
    out.Text(field.GetRefField());
}

QFieldInfo ReadFieldInfo(ArchiveReader& in) {
    QFieldInfo field;
    field.SetName(in.Text());
    field.SetType(in.U16());
    field.SetFlags(in.U32());
    for (int i = 0; i < 3; ++i)
        field.SetText(i, in.Text());
    field.SetRefTable(in.Text());
    field.SetRefField(in.Text());
    return field;
}

void WriteTable(ArchiveWriter& out, const QTable& table) {
    out.Text(kTableBanner);
    out.Text(table.GetName());
    out.U32(table.GetCreated());
    out.Text(table.GetSecondText());
    out.U32(static_cast<uint32_t>(table.GetFieldCount()));
    for (const QFieldInfo& field : table.Columns())
        WriteFieldInfo(out, field);
    out.U32(static_cast<uint32_t>(table.GetRecordCount()));
    for (int r = 0; r < table.GetRecordCount(); ++r) {
        const QRecord& row = *table.GetRecord(r);
        out.U32(row.GetId());
        if (row.OwnsColumns() && row.Columns()) {
            out.U32(static_cast<uint32_t>(row.Columns()->size()));
            for (const QFieldInfo& field : *row.Columns())
                WriteFieldInfo(out, field);
        }
        out.U32(row.GetValueCount());
        for (uint32_t i = 0; i < row.GetValueCount(); ++i)
            WriteValue(out, row.GetValueAt(static_cast<int>(i)));
    }
}

void ReadTable(ArchiveReader& in, QTable& table) {
    if (in.Text() != kTableBanner)
        throw ArchiveError(NotTableMessage(table.GetName()));
    QTable fresh;
    fresh.SetName(in.Text());
    fresh.SetCreated(in.U32());
    fresh.SetSecondText(in.Text());
    uint32_t columns = in.U32();
    in.CheckCount(columns, kMinFieldInfoBytes, "columns");
    QFieldList& list = fresh.MutableColumns();
    list.reserve(columns);
    for (uint32_t i = 0; i < columns; ++i)
        list.push_back(ReadFieldInfo(in));
    uint32_t rows = in.U32();
    in.CheckCount(rows, kMinRowBytes, "rows");
    fresh.Reserve(rows);
    for (uint32_t r = 0; r < rows; ++r) {
        in.U32(); // the stored id; loaded rows are numbered afresh
        uint32_t values = in.U32();
        in.CheckCount(values, kMinValueBytes, "values");
        QRecord* row = fresh.AppendArenaRecord(values);
        for (uint32_t i = 0; i < values; ++i)
            ReadValueInto(in, row->ValueRef(i), &fresh);
    }
    table.TakeContentsFrom(fresh);
}

void WriteDataBase(ArchiveWriter& out, const QDataBase& db) {
    out.Text(kDataBaseBanner);
    out.Text(db.GetName());
    out.U32(static_cast<uint32_t>(db.GetTableCount()));
    for (int i = 0; i < db.GetTableCount(); ++i)
        WriteTable(out, *db.GetTableAt(i));
}

void ReadDataBase(ArchiveReader& in, QDataBase& db) {
    if (in.Text() != kDataBaseBanner)
        throw ArchiveError(kNotDataBaseMessage);
    QDataBase fresh(db.CreatesTablesOnLoad(), true);
    fresh.SetName(in.Text());
    uint32_t count = in.U32();
    in.CheckCount(count, kMinTableBytes, "tables");
    for (uint32_t i = 0; i < count; ++i) {
        auto table = std::make_unique<QTable>();
        ReadTable(in, *table);
        fresh.AddTable(std::move(table));
    }
    db.Clear();
    db.Swap(fresh);
}

void LoadTableFile(const std::string& path, QTable& table) {
    std::string bytes = ReadWholeFile(path);
    ArchiveReader in(bytes);
    ReadTable(in, table);
}

void SaveTableFile(const std::string& path, const QTable& table, ReadOnlyFiles readOnly) {
    ArchiveWriter out;
    WriteTable(out, table);
    WriteFileAtomically(path, out.Data(), true, readOnly);
}

void LoadDataBaseFile(const std::string& path, QDataBase& db) {
    std::string bytes = ReadWholeFile(path);
    ArchiveReader in(bytes);
    ReadDataBase(in, db);
}

void SaveDataBaseFile(const std::string& path, const QDataBase& db, ReadOnlyFiles readOnly) {
    ArchiveWriter out;
    WriteDataBase(out, db);
    WriteFileAtomically(path, out.Data(), true, readOnly);
}

bool LoadTableFileIfExists(const std::string& path, QTable& table) {
    if (!FileExists(path))
        return false;
    LoadTableFile(path, table);
    return true;
}

bool LoadDataBaseFileIfExists(const std::string& path, QDataBase& db) {
    if (!FileExists(path))
        return false;
    LoadDataBaseFile(path, db);
    return true;
}

} // namespace orvo
