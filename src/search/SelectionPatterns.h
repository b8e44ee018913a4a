#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// One row of a browse window as the selection by patterns sees it.
struct SelectableRow {
    std::string name; // Name + "." + Extension (the name alone without one)
    bool selected = false;
    bool isParent = false; // the ".." row, never selected
};

struct SelectionOutcome {
    std::vector<bool> selected; // the new state of every row
    int focusRow = -1;          // the last row an include pattern selected
};

// Applies include and exclude pattern lists (separated by ";", matched as
// name patterns): a row matching an exclude pattern is unselected, else one
// matching an include pattern is selected, else it keeps its state (or is
// unselected when clearFirst is set).
SelectionOutcome ApplySelectionPatterns(const std::vector<SelectableRow>& rows,
                                        std::string_view include, std::string_view exclude,
                                        bool clearFirst);

// The pattern that selects entries like the selected ones: "*." and each
// distinct lower-case extension, joined by ";" ("*." alone stands for
// names without an extension).
std::string MakeSelectionPattern(const std::vector<std::string>& extensions);

// A file group's extension list ("jpg;gif") as name patterns
// ("*.jpg;*.gif"); parts that already hold a "*" or a "." stay as they are.
std::string ExtensionListPattern(std::string_view extensions);

// A ready-made pattern chosen from a list: it replaces the text, or with
// Ctrl held is appended after a ";".
std::string ChoosePattern(std::string_view current, std::string_view chosen, bool append);

} // namespace orvo
