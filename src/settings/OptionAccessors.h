#pragma once

#include "store/QDataBase.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

// Typed access to the key/value rows of "Bool options", "String options"
// and "Integer options". Keys match ignoring letter case. A missing key
// (or a missing table) reads as false, "" and -1; setting a missing key
// adds its row, and setting it in a database without that table first
// adds the table. Nothing reaches the disk before the database is saved.

bool GetBoolOption(const QDataBase& db, std::string_view key);
void SetBoolOption(QDataBase& db, std::string_view key, bool value);
std::string GetStringOption(const QDataBase& db, std::string_view key);
void SetStringOption(QDataBase& db, std::string_view key, std::string_view value);
int32_t GetIntOption(const QDataBase& db, std::string_view key);
void SetIntOption(QDataBase& db, std::string_view key, int32_t value);

// The same on the process-wide options database.
bool GetBoolOption(std::string_view key);
void SetBoolOption(std::string_view key, bool value);
std::string GetStringOption(std::string_view key);
void SetStringOption(std::string_view key, std::string_view value);
int32_t GetIntOption(std::string_view key);
void SetIntOption(std::string_view key, int32_t value);

// The row of a key in one of the option tables, or -1.
int FindOptionRow(const QTable& table, std::string_view key);

} // namespace orvo
