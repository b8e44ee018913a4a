// Loads arbitrary bytes as the options file and runs every settings lookup
// on what came out: tables of the wrong shape, cells of the wrong type and
// rows shorter than their columns must give defaults, never a crash.
#include "settings/DefaultOptions.h"
#include "settings/FileGroups.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/SpecialFiles.h"
#include "store/StoreArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvo::QDataBase db;
    try {
        orvo::ArchiveReader in(bytes);
        orvo::ReadDataBase(in, db);
    } catch (const orvo::ArchiveError&) {
        return 0;
    }
    orvo::SeedMissingOptionTables(db);
    for (const char* ext : {"jpg", "TXT", "", "a,b", "\xc3\x84"}) {
        orvo::GetFileGroupStyle(db, ext);
        orvo::RgbColor c;
        orvo::GetColorByName(db, ext, c);
    }
    std::vector<std::string> names, patterns;
    orvo::GetFileGroupLists(db, names, patterns);
    orvo::GetSpecialFilePatterns(db, "Binary");
    orvo::GetBoolOption(db, orvo::kShowTipsKey);
    orvo::GetIntOption(db, orvo::kTipPositionKey);
    orvo::GetStringOption(db, orvo::kBackgroundImagePathKey);
    orvo::SetBoolOption(db, orvo::kShowTipsKey, true);
    orvo::SetIntOption(db, orvo::kTipPositionKey, 3);
    orvo::SetStringOption(db, "New key", "value");
    return 0;
}
