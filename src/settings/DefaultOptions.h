#pragma once

#include "store/QDataBase.h"

#include <string>
#include <vector>

namespace orvo {

// Adds every options table the database lacks, with its columns and the
// rows a new installation starts with; tables the database already holds
// are never touched. Returns the names of the tables it added.
std::vector<std::string> SeedMissingOptionTables(QDataBase& db);

// Replaces the shipped rows an earlier version got wrong where the
// database still holds them unchanged; returns how many it replaced.
int UpdateOutdatedDefaults(QDataBase& db);

// The shipped tips of the day, in the order they are shown.
const std::vector<const char*>& DefaultTips();

} // namespace orvo
