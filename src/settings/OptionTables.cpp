#include "settings/OptionTables.h"

#include "store/Collation.h"

namespace orvo {

namespace {

constexpr uint32_t kPlain = 0xC06; // the flags a column gets by default

const QFieldDef kBoolOptionsFields[] = {{"Name", QVT_LPSTR, kPlain}, {"Value", QVT_BOOL, kPlain}};
const QFieldDef kStringOptionsFields[] = {{"Name", QVT_LPSTR, kPlain},
                                          {"Value", QVT_LPSTR, kPlain}};
const QFieldDef kIntOptionsFields[] = {{"Name", QVT_LPSTR, kPlain}, {"Value", QVT_INT, kPlain}};
const QFieldDef kBrowseWindowsFields[] = {{"Path", QVT_LPSTR, kPlain},
                                          {"x1", QVT_INT, kPlain},
                                          {"y1", QVT_INT, kPlain},
                                          {"x2", QVT_INT, kPlain},
                                          {"y2", QVT_INT, kPlain},
                                          {"IsMaximized", QVT_BOOL, kPlain},
                                          {"Selected path", QVT_LPSTR, kPlain}};
// The two colour columns pick their names from "Colors" in the table editor.
const QFieldDef kFileGroupsFields[] = {{"Group name", QVT_LPSTR, kPlain},
                                       {"Extensions", QVT_LPSTR, kPlain},
                                       {"Bold", QVT_BOOL, kPlain},
                                       {"Italic", QVT_BOOL, kPlain},
                                       {"Underline", QVT_BOOL, kPlain},
                                       {"Shadow", QVT_BOOL, kPlain},
                                       {"Font size", QVT_INT, kPlain},
                                       {"Color", QVT_LPSTR, kPlain | QFF_REFERENCE},
                                       {"Color of shadow", QVT_LPSTR, kPlain | QFF_REFERENCE}};
const QFieldDef kColorsFields[] = {{"Name", QVT_LPSTR, kPlain},
                                   {"Red", QVT_INT, kPlain},
                                   {"Green", QVT_INT, kPlain},
                                   {"Blue", QVT_INT, kPlain}};
const QFieldDef kSpecialFilesFields[] = {{"Group name", QVT_LPSTR, kPlain},
                                         {"File name", QVT_LPSTR, kPlain}};
const QFieldDef kImportantFilesFields[] = {{"Title", QVT_LPSTR, kPlain},
                                           {"Extension", QVT_LPSTR, kPlain}};
const QFieldDef kTipsFields[] = {{"Tip", QVT_LPSTR, kPlain}};
const QFieldDef kUserKnowsFields[] = {{"What", QVT_LPSTR, kPlain}};

struct TableSchema {
    const char* name;
    const QFieldDef* fields;
    int count;
};

template <size_t N> TableSchema Schema(const char* name, const QFieldDef (&fields)[N]) {
    return {name, fields, static_cast<int>(N)};
}

const std::vector<TableSchema>& Schemas() {
    static const std::vector<TableSchema> schemas = {
        Schema(kBoolOptionsTable, kBoolOptionsFields),
        Schema(kStringOptionsTable, kStringOptionsFields),
        Schema(kIntOptionsTable, kIntOptionsFields),
        Schema(kBrowseWindowsTable, kBrowseWindowsFields),
        Schema(kFileGroupsTable, kFileGroupsFields),
        Schema(kColorsTable, kColorsFields),
        Schema(kSpecialFilesTable, kSpecialFilesFields),
        Schema(kImportantFilesTable, kImportantFilesFields),
        Schema(kTipsTable, kTipsFields),
        Schema(kUserKnowsTable, kUserKnowsFields),
    };
    return schemas;
}

} // namespace

const std::vector<const char*>& OptionTableNames() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> list;
        for (const TableSchema& s : Schemas())
            list.push_back(s.name);
        return list;
    }();
    return names;
}

std::unique_ptr<QTable> MakeOptionTable(std::string_view name) {
    std::string wanted = LowerCaseText(name);
    for (const TableSchema& s : Schemas()) {
        if (LowerCaseText(s.name) != wanted)
            continue;
        auto table = std::make_unique<QTable>(s.fields, s.count);
        table->SetName(s.name);
        for (QFieldInfo& column : table->MutableColumns()) {
            if (column.IsReference()) {
                column.SetRefTable(kColorsTable);
                column.SetRefField("Name");
            }
        }
        return table;
    }
    return nullptr;
}

} // namespace orvo
