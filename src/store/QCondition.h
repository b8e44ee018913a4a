#pragma once

#include "store/QValue.h"

#include <string>
#include <vector>

namespace orvo {

// A test of one cell (or of any cell when the column name is empty).
struct QCondition {
    std::string column;
    int op = QOP_EQUAL;
    QValue value;
    // Non-zero: the condition holds without testing.
    uint32_t skip = 0;
};

struct QConditionList {
    std::vector<QCondition> conditions;
    // Every row from the start on matches.
    bool selectAll = false;
    // One holding condition is enough (otherwise all must hold).
    bool anyMatch = false;

    // The usual list: one column equal to one value.
    static QConditionList Equal(std::string column, QValue value) {
        QConditionList list;
        list.conditions.push_back({std::move(column), QOP_EQUAL, std::move(value), 0});
        return list;
    }
};

} // namespace orvo
