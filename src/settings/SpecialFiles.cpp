#include "settings/SpecialFiles.h"

#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"

namespace orvo {

namespace {

std::string_view Trimmed(std::string_view s) {
    constexpr const char* blanks = " \t\r\n";
    size_t begin = s.find_first_not_of(blanks);
    if (begin == std::string_view::npos)
        return {};
    size_t end = s.find_last_not_of(blanks);
    return s.substr(begin, end - begin + 1);
}

} // namespace

std::vector<std::string> GetSpecialFilePatterns(const QDataBase& db, std::string_view group) {
    std::vector<std::string> patterns;
    const QTable* table = db.GetTable(kSpecialFilesTable);
    if (!table)
        return patterns;
    int row = table->FindByText("Group name", group, 0);
    if (row < 0)
        return patterns;
    // People type "exe, dll": the blank is not part of the pattern, and an
    // empty pattern would never match anything anyway.
    std::string cell = table->GetText("File name", row);
    std::string_view rest = cell;
    while (true) {
        size_t comma = rest.find(',');
        std::string_view piece = Trimmed(rest.substr(0, comma));
        if (!piece.empty())
            patterns.emplace_back(piece);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return patterns;
}

std::vector<std::string> GetSpecialFilePatterns(std::string_view group) {
    return GetSpecialFilePatterns(GetOptionsDatabase(), group);
}

} // namespace orvo
