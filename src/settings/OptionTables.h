#pragma once

#include "store/QTable.h"

#include <memory>
#include <string_view>
#include <vector>

namespace orvo {

// Names of the tables of the options database. Table names match ignoring
// case, like every table lookup of the record store.
inline constexpr const char* kBoolOptionsTable = "Bool options";
inline constexpr const char* kStringOptionsTable = "String options";
inline constexpr const char* kIntOptionsTable = "Integer options";
inline constexpr const char* kBrowseWindowsTable = "Browse windows";
inline constexpr const char* kFileGroupsTable = "File groups";
inline constexpr const char* kColorsTable = "Colors";
inline constexpr const char* kSpecialFilesTable = "Special files";
inline constexpr const char* kImportantFilesTable = "Important files";
inline constexpr const char* kTipsTable = "Tips";
inline constexpr const char* kUserKnowsTable = "User knows";

// The key and value columns of the three option tables.
inline constexpr const char* kOptionNameColumn = "Name";
inline constexpr const char* kOptionValueColumn = "Value";

// Every table a complete options database holds, in the order a new file
// lists them.
const std::vector<const char*>& OptionTableNames();

// An empty table with the columns the program expects under that name
// (its reference columns wired up); null for a name it does not know.
std::unique_ptr<QTable> MakeOptionTable(std::string_view name);

} // namespace orvo
