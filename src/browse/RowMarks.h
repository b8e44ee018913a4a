#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orvo {

// Which entries of a browse window are drawn marked (in bold): the favorite
// targets found by the rebuild and, while there are none, the entries in
// the quick access bar's current list. Entries are known by their Path, so
// the marks stay on them whatever order the rows are sorted in; paths
// compare exactly.
class RowMarks {
public:
    void SetMarkedPaths(const std::vector<std::string>& paths);
    void ClearMarkedPaths() { marked_.clear(); }
    size_t MarkedCount() const { return marked_.size(); }
    void SetQuickAccessPaths(const std::vector<std::string>& paths);

    bool IsMarked(std::string_view path) const;

private:
    std::unordered_set<std::string> marked_;
    std::unordered_set<std::string> quickAccess_;
};

} // namespace orvo
