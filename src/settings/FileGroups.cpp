#include "settings/FileGroups.h"

#include "settings/CellReading.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "store/Collation.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace orvo {

namespace {

// Without an early exit, so the compiler can test many bytes at a time.
bool IsAscii(std::string_view s) {
    unsigned char high = 0;
    for (char c : s)
        high |= static_cast<unsigned char>(c);
    return high < 0x80;
}

enum class TextKind { LowerAscii, Ascii, Other };

// One pass without early exits (vectorised), as above.
TextKind Classify(std::string_view s) {
    unsigned char high = 0;
    size_t upper = 0;
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        high |= u;
        upper += static_cast<unsigned char>(u - 'A') < 26;
    }
    return high >= 0x80 ? TextKind::Other : (upper ? TextKind::Ascii : TextKind::LowerAscii);
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Whether the list holds needle (",ext," in lower case). Every drawn row
// asks for its group, so the usual lists (lower-case ASCII) are searched
// as they are, and only the others pay for folding case.
bool ListHolds(std::string_view list, std::string_view needle, bool needleAscii) {
    TextKind kind = needleAscii ? Classify(list) : TextKind::Other;
    // memmem, unlike a find that stops at every comma, skips along the list.
    if (kind == TextKind::LowerAscii)
        return memmem(list.data(), list.size(), needle.data(), needle.size()) != nullptr;
    if (kind == TextKind::Ascii) {
        auto it = std::search(list.begin(), list.end(), needle.begin(), needle.end(),
                              [](char a, char b) { return AsciiLower(a) == b; });
        return it != list.end();
    }
    return LowerCaseText(list).find(needle) != std::string::npos;
}

bool SameName(const QValue& cell, std::string_view name) {
    if (cell.Type() == QVT_LPSTR) {
        std::string_view text = cell.AsStringView();
        // An empty cell's text has no storage; strncasecmp must not see it.
        if (IsAscii(text) && IsAscii(name))
            return text.size() == name.size() &&
                   (name.empty() || strncasecmp(text.data(), name.data(), name.size()) == 0);
    }
    return cell.Matches(QOP_EQUAL, QValue(name));
}

std::string LowerExtension(std::string_view extension) {
    if (!IsAscii(extension))
        return LowerCaseText(extension);
    std::string lower(extension);
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
    return lower;
}

// The list of a row with a comma at each end; a text cell that lacked one
// is rewritten so the next lookup finds it ready.
std::string_view NormalisedList(QTable& groups, int column, int row, std::string& scratch) {
    const QValue& cell = groups.GetValue(column, row);
    if (cell.Type() != QVT_LPSTR) {
        scratch = cell.ToText();
    } else {
        std::string_view text = cell.AsStringView();
        if (!text.empty() && text.front() == ',' && text.back() == ',')
            return text;
        scratch.assign(text);
    }
    bool changed = false;
    if (scratch.empty() || scratch.front() != ',') {
        scratch.insert(scratch.begin(), ',');
        changed = true;
    }
    if (scratch.back() != ',') {
        scratch.push_back(',');
        changed = true;
    }
    if (changed && cell.Type() == QVT_LPSTR)
        groups.SetValue(column, row, QValue(std::string_view(scratch)));
    return scratch;
}

RgbColor ColorOfRow(const QTable& colors, int row) {
    auto component = [&](const char* column) {
        return static_cast<uint8_t>(CellAsInt(colors.GetValue(column, row)) & 0xFF);
    };
    return {component("Red"), component("Green"), component("Blue")};
}

} // namespace

int FindFileGroup(QDataBase& db, std::string_view extension) {
    // A comma would let the extension span two entries of a list.
    if (extension.empty() || extension.find(',') != std::string_view::npos)
        return -1;
    QTable* groups = db.GetTable(kFileGroupsTable);
    if (!groups)
        return -1;
    int column = groups->FieldIndex("Extensions");
    if (column < 0)
        return -1;
    std::string needle = "," + LowerExtension(extension) + ",";
    bool ascii = IsAscii(needle);
    std::string scratch;
    for (int row = 0; row < groups->GetRecordCount(); ++row)
        if (ListHolds(NormalisedList(*groups, column, row, scratch), needle, ascii))
            return row;
    return -1;
}

FileGroupStyle GetFileGroupStyle(QDataBase& db, std::string_view extension) {
    FileGroupStyle style;
    int row = FindFileGroup(db, extension);
    if (row < 0)
        return style;
    const QTable& groups = *db.GetTable(kFileGroupsTable);
    style.found = true;
    style.bold = CellIsTrue(groups.GetValue("Bold", row));
    style.italic = CellIsTrue(groups.GetValue("Italic", row));
    style.underline = CellIsTrue(groups.GetValue("Underline", row));
    style.shadow = CellIsTrue(groups.GetValue("Shadow", row));
    style.fontSize = CellAsInt(groups.GetValue("Font size", row));
    style.color.set = GetColorByName(db, groups.GetText("Color", row), style.color.rgb);
    if (style.shadow)
        style.shadowColor.set =
            GetColorByName(db, groups.GetText("Color of shadow", row), style.shadowColor.rgb);
    return style;
}

bool GetColorByName(const QDataBase& db, std::string_view name, RgbColor& color) {
    const QTable* colors = db.GetTable(kColorsTable);
    if (!colors)
        return false;
    int column = colors->FieldIndex("Name");
    if (column < 0)
        return false;
    for (int row = 0; row < colors->GetRecordCount(); ++row) {
        if (SameName(colors->GetValue(column, row), name)) {
            color = ColorOfRow(*colors, row);
            return true;
        }
    }
    return false;
}

int GetFileGroupLists(const QDataBase& db, std::vector<std::string>& names,
                      std::vector<std::string>& patterns) {
    names.clear();
    patterns.clear();
    const QTable* groups = db.GetTable(kFileGroupsTable);
    if (!groups)
        return 0;
    for (int row = 0; row < groups->GetRecordCount(); ++row) {
        names.push_back(groups->GetText("Group name", row));
        std::string pattern = groups->GetText("Extensions", row);
        std::replace(pattern.begin(), pattern.end(), ',', ';');
        if (!pattern.empty() && pattern.front() == ';')
            pattern.erase(pattern.begin());
        if (!pattern.empty() && pattern.back() == ';')
            pattern.pop_back();
        patterns.push_back(std::move(pattern));
    }
    return static_cast<int>(names.size());
}

int FindFileGroup(std::string_view extension) {
    return FindFileGroup(GetOptionsDatabase(), extension);
}
FileGroupStyle GetFileGroupStyle(std::string_view extension) {
    return GetFileGroupStyle(GetOptionsDatabase(), extension);
}
bool GetColorByName(std::string_view name, RgbColor& color) {
    return GetColorByName(GetOptionsDatabase(), name, color);
}
int GetFileGroupLists(std::vector<std::string>& names, std::vector<std::string>& patterns) {
    return GetFileGroupLists(GetOptionsDatabase(), names, patterns);
}

} // namespace orvo
