#include "browse/RowMarks.h"

#include <algorithm>

namespace orvo {

void RowMarks::SetMarkedRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows_ = std::move(rows);
}

void RowMarks::SetQuickAccessPaths(const std::vector<std::string>& paths) {
    quickAccess_ = std::unordered_set<std::string>(paths.begin(), paths.end());
}

bool RowMarks::IsMarked(int row, std::string_view path) const {
    if (!rows_.empty())
        return std::binary_search(rows_.begin(), rows_.end(), row);
    return !quickAccess_.empty() && quickAccess_.count(std::string(path)) > 0;
}

} // namespace orvo
