#include "settings/FileGroups.h"

#include "settings/CellReading.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "store/Collation.h"

#include <algorithm>

namespace orvo {

namespace {

bool IsAscii(std::string_view s) {
    return std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// Every drawn row asks for its group, so the common all-ASCII case folds
// case on the fly instead of building a lower-case copy of each list.
bool ListHolds(std::string_view list, std::string_view lowerNeedle) {
    if (IsAscii(list)) {
        auto it = std::search(list.begin(), list.end(), lowerNeedle.begin(), lowerNeedle.end(),
                              [](char a, char b) { return AsciiLower(a) == b; });
        return it != list.end();
    }
    return LowerCaseText(list).find(lowerNeedle) != std::string::npos;
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
    std::string scratch;
    for (int row = 0; row < groups->GetRecordCount(); ++row)
        if (ListHolds(NormalisedList(*groups, column, row, scratch), needle))
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
    int row = colors->FindRecord(QConditionList::Equal("Name", QValue(name)), 0);
    if (row < 0)
        return false;
    color = ColorOfRow(*colors, row);
    return true;
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
