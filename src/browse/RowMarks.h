#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orvo {

// Which rows of a browse window are drawn marked (in bold): the rows of
// favorite targets found by the rebuild and, while there are none, the rows
// whose Path is in the quick access bar's current list.
class RowMarks {
public:
    void SetMarkedRows(std::vector<int> rows);
    void ClearMarkedRows() { rows_.clear(); }
    const std::vector<int>& MarkedRows() const { return rows_; }
    // The quick access bar's current list; paths compare exactly.
    void SetQuickAccessPaths(const std::vector<std::string>& paths);

    bool IsMarked(int row, std::string_view path) const;

private:
    std::vector<int> rows_; // sorted
    std::unordered_set<std::string> quickAccess_;
};

} // namespace orvo
