// Feeds arbitrary bytes to the record-store readers: whatever the input,
// they must end in an ArchiveError or a loaded object, and a loaded object
// must write out and read back to the same bytes.
#include "store/StoreArchive.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        orvo::ArchiveReader in(bytes);
        orvo::QDataBase db;
        orvo::ReadDataBase(in, db);
        orvo::ArchiveWriter out;
        orvo::WriteDataBase(out, db);
        orvo::ArchiveReader again(out.Data());
        orvo::QDataBase copy;
        orvo::ReadDataBase(again, copy);
        orvo::ArchiveWriter out2;
        orvo::WriteDataBase(out2, copy);
        if (out.Data() != out2.Data())
            std::abort();
    } catch (const orvo::ArchiveError&) {
    }
    try {
        orvo::ArchiveReader in(bytes);
        orvo::QTable table;
        orvo::ReadTable(in, table);
    } catch (const orvo::ArchiveError&) {
    }
    return 0;
}
