// orvo store dump FILE | orvo store copy IN OUT
#include "app/cli/CliCommand.h"
#include "platform/FileIO.h"
#include "store/StoreArchive.h"

#include <cstdio>

namespace orvo::cli {

namespace {

void DumpTable(const QTable& table) {
    std::string out = "table " + table.GetName() + "\n";
    for (int c = 0; c < table.GetFieldCount(); ++c) {
        if (c)
            out += '\t';
        out += EscapeCell(table.Columns()[c].GetName());
    }
    out += '\n';
    for (int r = 0; r < table.GetRecordCount(); ++r) {
        const QRecord& row = *table.GetRecord(r);
        for (uint32_t c = 0; c < row.GetValueCount(); ++c) {
            if (c)
                out += '\t';
            out += EscapeCell(row.GetValueAt(static_cast<int>(c)).ToText());
        }
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

int Dump(const std::string& path) {
    std::string bytes = ReadWholeFile(path);
    ArchiveReader in(bytes);
    switch (DetectArchiveKind(bytes)) {
    case ArchiveKind::DataBase: {
        QDataBase db;
        ReadDataBase(in, db);
        for (int i = 0; i < db.GetTableCount(); ++i)
            DumpTable(*db.GetTableAt(i));
        return 0;
    }
    case ArchiveKind::Table: {
        QTable table;
        ReadTable(in, table);
        DumpTable(table);
        return 0;
    }
    default:
        return Fail(path + ": not a record-store file (no database or table banner)");
    }
}

int Copy(const std::string& from, const std::string& to) {
    std::string bytes = ReadWholeFile(from);
    ArchiveReader in(bytes);
    switch (DetectArchiveKind(bytes)) {
    case ArchiveKind::DataBase: {
        QDataBase db;
        ReadDataBase(in, db);
        SaveDataBaseFile(to, db);
        return 0;
    }
    case ArchiveKind::Table: {
        QTable table;
        ReadTable(in, table);
        SaveTableFile(to, table);
        return 0;
    }
    default:
        return Fail(from + ": not a record-store file (no database or table banner)");
    }
}

int Run(const CliArguments& arguments) {
    const std::vector<std::string>& args = arguments.operands;
    try {
        if (args.size() == 2 && args[0] == "dump")
            return Dump(args[1]);
        if (args.size() == 3 && args[0] == "copy")
            return Copy(args[1], args[2]);
    } catch (const ArchiveError& e) {
        return Fail(args[1] + ": " + e.what());
    }
    return UsageError("store");
}

const CliRegistration
    registration({"store",
                  "  orvo store dump FILE       print every table of a .qad or .orl file\n"
                  "  orvo store copy IN OUT     load a record-store file and save it again",
                  Run,
                  {},
                  "dump copy"});

} // namespace

} // namespace orvo::cli
