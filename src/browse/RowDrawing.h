#pragma once

#include "settings/FileGroups.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvo {

// The rules a browse window follows when it draws one row: the texts of its
// cells, its colours and its font. They live here, away from the painter,
// so that every rule can be checked without a display.

// The Size cell. A directory's size is counted in kilobytes and gets " kb",
// except 0 (empty, or not counted yet). The parent entry shows nothing.
std::string SizeCellText(uint64_t size, bool isDirectory, bool isParent);

// The name a row shows: a file's full name, a directory's name in brackets
// when asked (never the parent entry's).
std::string DisplayName(std::string_view name, std::string_view extension, bool isDirectory,
                        bool isParent, bool bracketDirectories);

// The text cut to fit width, ending with "..." when cut; measure gives the
// width of a text. Cuts fall between characters, never inside one.
std::string CutText(std::string_view text, int width,
                    const std::function<int(std::string_view)>& measure);

// The state of one row as the list reports it.
struct RowState {
    bool selected = false;
    bool focusedList = false; // the list has the keyboard focus
    bool directory = false;
    bool marked = false;
};

// The colours the row takes from the system.
struct SystemColors {
    RgbColor text;          // the list's text
    RgbColor window;        // the list's background
    RgbColor highlight;     // selected background
    RgbColor highlightText; // selected text
};

// What the directory's background picture tells the drawing.
struct BackgroundTone {
    bool present = false;
    int brightness = 255; // 0..255
    RgbColor average;
};

struct RowColors {
    RgbColor text;
    RgbColor background;
    // False when an unselected row lies over the background picture, which
    // then shows through.
    bool fillBackground = true;
};

RowColors ComputeRowColors(const FileGroupStyle& style, const RowState& state,
                           const SystemColors& system, const BackgroundTone& tone);

// Channel by channel, each result clamped to 0..255.
RgbColor AddToColor(RgbColor color, int red, int green, int blue);

// The font of a row, as changes to the list's font.
struct RowFont {
    bool derived = false; // false: the list's font as it is
    bool bold = false;    // weight 800
    bool italic = false;
    bool underline = false;
    int heightDelta = 0;  // added to the font's pixel height
    int extraSpacing = 0; // added between characters
    bool shadow = false;  // the text is drawn once more in shadowColor
    RgbColor shadowColor;
};

RowFont ComputeRowFont(const FileGroupStyle& style, bool marked);

// Length in pixels of the bar behind the Size cell's text: the cell width
// less 20, times the row's share of the listing's total (directories
// counted in kilobytes). 0 when no total is known.
int SizeBarLength(int cellWidth, uint64_t size, bool isDirectory, uint64_t total);

// The colour of that bar.
inline constexpr RgbColor kSizeBarColor{150, 200, 150};

} // namespace orvo
