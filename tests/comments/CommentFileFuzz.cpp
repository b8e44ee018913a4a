// Feeds arbitrary bytes to the comment file reader: it must end with the
// entries it could read completely, and those must write out and read back
// unchanged.
#include "comments/CommentFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<orvo::CommentEntry> entries;
    orvo::CommentFile::ParseEntries(bytes, entries);
    std::string written = orvo::CommentFile::Serialize(entries);
    std::vector<orvo::CommentEntry> again;
    if (!orvo::CommentFile::ParseEntries(written, again) || again != entries)
        std::abort();
    if (orvo::CommentFile::Serialize(again) != written)
        std::abort();
    return 0;
}
