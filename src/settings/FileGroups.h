#pragma once

#include "store/QDataBase.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RgbColor&) const = default;
};

// A colour of a style; unset means "draw in the default colour".
struct GroupColor {
    RgbColor rgb;
    bool set = false;
};

// How the files of a group are drawn.
struct FileGroupStyle {
    bool found = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool shadow = false;
    int32_t fontSize = 0;
    GroupColor color;
    GroupColor shadowColor;
};

// The row of "File groups" whose "Extensions" list holds the extension
// (ignoring case), the first in row order; -1 for none or an empty
// extension. On its way it stores every list it reads back with commas at
// both ends, so each list is rewritten at most once.
int FindFileGroup(QDataBase& db, std::string_view extension);
FileGroupStyle GetFileGroupStyle(QDataBase& db, std::string_view extension);
// The colour of the first "Colors" row of that name (ignoring case); false
// and the output untouched when there is none.
bool GetColorByName(const QDataBase& db, std::string_view name, RgbColor& color);
// Every group's name and its extensions as a pattern list ("jpg;gif"), in
// row order; returns the number of groups.
int GetFileGroupLists(const QDataBase& db, std::vector<std::string>& names,
                      std::vector<std::string>& patterns);

// The same on the process-wide options database.
int FindFileGroup(std::string_view extension);
FileGroupStyle GetFileGroupStyle(std::string_view extension);
bool GetColorByName(std::string_view name, RgbColor& color);
int GetFileGroupLists(std::vector<std::string>& names, std::vector<std::string>& patterns);

} // namespace orvo
