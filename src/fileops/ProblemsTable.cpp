#include "fileops/ProblemsTable.h"

namespace orvo {

namespace {

constexpr uint32_t kPlainColumn = 0xC06;
const QFieldDef kProblemFields[] = {{"Path", QVT_LPSTR, kPlainColumn},
                                    {"Execute", QVT_BOOL, kPlainColumn}};

} // namespace

void InitProblemsTable(QTable& table) {
    table.RemoveAll();
    table.SetFields(kProblemFields, 2);
}

void AddProblem(QTable& table, const std::string& path) {
    QRecord row = table.NewRecord();
    row.SetValue("Path", QValue(std::string_view(path)));
    row.SetValue("Execute", QValue(true, QVT_BOOL));
    table.AddRecord(row);
}

void SetAllExecute(QTable& table, bool execute) {
    for (int i = 0; i < table.GetRecordCount(); ++i)
        table.SetValue("Execute", i, QValue(execute, QVT_BOOL));
}

void ToggleExecute(QTable& table, int row) {
    if (row < 0 || row >= table.GetRecordCount())
        return;
    bool execute = table.GetText("Execute", row) == "TRUE";
    table.SetValue("Execute", row, QValue(!execute, QVT_BOOL));
}

void ProblemIndex::Build(const QTable& table) {
    execute_.clear();
    int path = table.FieldIndex("Path");
    int execute = table.FieldIndex("Execute");
    if (path < 0 || execute < 0)
        return;
    for (int i = 0; i < table.GetRecordCount(); ++i)
        execute_.emplace(std::string(table.GetValue(path, i).AsStringView()),
                         table.GetText(execute, i) == "TRUE");
}

bool ProblemIndex::IsSkipped(const std::string& path) const {
    if (execute_.empty())
        return false;
    auto it = execute_.find(path);
    return it != execute_.end() && !it->second;
}

} // namespace orvo
