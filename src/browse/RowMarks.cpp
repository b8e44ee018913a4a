#include "browse/RowMarks.h"

namespace orvo {

void RowMarks::SetMarkedPaths(const std::vector<std::string>& paths) {
    marked_ = std::unordered_set<std::string>(paths.begin(), paths.end());
}

void RowMarks::SetQuickAccessPaths(const std::vector<std::string>& paths) {
    quickAccess_ = std::unordered_set<std::string>(paths.begin(), paths.end());
}

bool RowMarks::IsMarked(std::string_view path) const {
    const std::unordered_set<std::string>& set = marked_.empty() ? quickAccess_ : marked_;
    return !set.empty() && set.count(std::string(path)) > 0;
}

} // namespace orvo
