#include "search/SelectionPatterns.h"

#include "search/NamePatterns.h"
#include "store/Collation.h"

#include <algorithm>

namespace orvo {

SelectionOutcome ApplySelectionPatterns(const std::vector<SelectableRow>& rows,
                                        std::string_view include, std::string_view exclude,
                                        bool clearFirst) {
    NamePatternList includes(SplitList(include));
    NamePatternList excludes(SplitList(exclude));
    SelectionOutcome out;
    out.selected.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const SelectableRow& row = rows[i];
        bool selected = row.selected && !clearFirst;
        if (!row.isParent) {
            if (excludes.MatchesAny(row.name)) {
                selected = false;
            } else if (includes.MatchesAny(row.name)) {
                selected = true;
                out.focusRow = static_cast<int>(i);
            }
        } else {
            selected = false;
        }
        out.selected[i] = selected;
    }
    return out;
}

std::string MakeSelectionPattern(const std::vector<std::string>& extensions) {
    std::vector<std::string> seen;
    std::string pattern;
    for (const std::string& e : extensions) {
        std::string lower = LowerCaseText(e);
        if (std::find(seen.begin(), seen.end(), lower) != seen.end())
            continue;
        seen.push_back(lower);
        if (!pattern.empty())
            pattern += ';';
        pattern += "*." + lower;
    }
    return pattern;
}

std::string ExtensionListPattern(std::string_view extensions) {
    std::string pattern;
    for (const std::string& part : SplitList(extensions)) {
        if (!pattern.empty())
            pattern += ';';
        pattern += part.find_first_of("*.") == std::string::npos ? "*." + part : part;
    }
    return pattern;
}

std::string ChoosePattern(std::string_view current, std::string_view chosen, bool append) {
    if (!append || current.empty())
        return std::string(chosen);
    return std::string(current) + ";" + std::string(chosen);
}

} // namespace orvo
