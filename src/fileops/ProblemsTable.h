#pragma once

#include "store/QTable.h"

#include <string>
#include <unordered_map>

namespace orvo {

// The problems of an operation: one row per path it would overwrite or per
// protected file it would delete, "Execute" TRUE to go ahead, FALSE to
// leave the path alone.
void InitProblemsTable(QTable& table);
// A row for path, "Execute" TRUE.
void AddProblem(QTable& table, const std::string& path);
// "Yes to all" (true) and "Skip all" (false).
void SetAllExecute(QTable& table, bool execute);
// Switches one row between TRUE and FALSE.
void ToggleExecute(QTable& table, int row);

// The decisions of a problems table, looked up by path during the
// transfer. The first row of a path decides, as a search from the top
// would find it; a path without a row is worked on.
class ProblemIndex {
public:
    void Build(const QTable& table);
    bool IsSkipped(const std::string& path) const;
    // Whether path has a row at all (the person was asked about it).
    bool IsListed(const std::string& path) const { return execute_.count(path) != 0; }
    bool Empty() const { return execute_.empty(); }

private:
    std::unordered_map<std::string, bool> execute_;
};

} // namespace orvo
