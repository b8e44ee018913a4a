#include "browse/RowDrawing.h"

#include "platform/DisplayText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvo {

namespace {

uint8_t Clamp(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// Whether position i of a UTF-8 text starts a character.
bool StartsCharacter(std::string_view text, size_t i) {
    return i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
}

} // namespace

std::string SizeCellText(uint64_t size, bool isDirectory, bool isParent) {
    if (isParent)
        return {};
    std::string text = NumberText(size);
    if (isDirectory && size != 0)
        text += " kb";
    return text;
}

std::string DisplayName(std::string_view name, std::string_view extension, bool isDirectory,
                        bool isParent, bool bracketDirectories) {
    std::string full(name);
    if (!extension.empty()) {
        full += '.';
        full += extension;
    }
    if (isDirectory && !isParent && bracketDirectories)
        return "[" + full + "]";
    return full;
}

std::string CutText(std::string_view text, int width,
                    const std::function<int(std::string_view)>& measure) {
    if (measure(text) <= width)
        return std::string(text);
    // The longest start that still fits with the dots; widths grow with
    // the length, so a binary search over the places between characters
    // finds it. Place 0 (nothing but the dots) is taken when nothing fits.
    std::vector<size_t> cuts;
    for (size_t i = 0; i < text.size(); ++i)
        if (StartsCharacter(text, i))
            cuts.push_back(i);
    auto fits = [&](size_t cut) {
        return measure(std::string(text.substr(0, cuts[cut])) + "...") <= width;
    };
    size_t low = 0, high = cuts.empty() ? 0 : cuts.size() - 1;
    while (low < high) {
        const size_t mid = (low + high + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    return std::string(text.substr(0, cuts.empty() ? 0 : cuts[low])) + "...";
}

RgbColor AddToColor(RgbColor color, int red, int green, int blue) {
    return {Clamp(color.red + red), Clamp(color.green + green), Clamp(color.blue + blue)};
}

RowColors ComputeRowColors(const FileGroupStyle& style, const RowState& state,
                           const SystemColors& system, const BackgroundTone& tone) {
    RowColors colors;
    colors.text = style.color.set ? style.color.rgb : system.text;
    if (tone.present && tone.brightness < 140)
        colors.text = AddToColor(colors.text, 230 - tone.average.red, 230 - tone.average.green,
                                 230 - tone.average.blue);
    if (state.selected) {
        colors.text = system.highlightText;
        colors.background = system.highlight;
        if (!state.focusedList)
            colors.background = AddToColor(colors.background, 30, 30, 30);
        return colors;
    }
    colors.background = system.window;
    if (state.directory && state.focusedList)
        colors.background = AddToColor(colors.background, -20, -20, 0);
    colors.fillBackground = !tone.present;
    return colors;
}

RowFont ComputeRowFont(const FileGroupStyle& style, bool marked) {
    RowFont font;
    font.derived = style.bold || style.italic || style.underline || style.shadow ||
                   style.fontSize != 0 || marked;
    if (!font.derived)
        return font;
    font.bold = style.bold || marked;
    font.italic = style.italic;
    font.underline = style.underline;
    font.heightDelta = style.fontSize;
    font.shadow = style.shadow;
    if (style.shadow) {
        font.extraSpacing = 2;
        // A shadow colour missing from the colour table draws in grey.
        font.shadowColor = style.shadowColor.set ? style.shadowColor.rgb : RgbColor{128, 128, 128};
    }
    return font;
}

int SizeBarLength(int cellWidth, uint64_t size, bool isDirectory, uint64_t total) {
    const int room = cellWidth - 20;
    if (total == 0 || room <= 0)
        return 0;
    const double bytes =
        isDirectory ? static_cast<double>(size) * 1024.0 : static_cast<double>(size);
    const double share = bytes / (static_cast<double>(total) + 1.0);
    // A row can outgrow a total counted earlier; the bar stays in its cell.
    return static_cast<int>(room * std::min(share, 1.0));
}

} // namespace orvo
