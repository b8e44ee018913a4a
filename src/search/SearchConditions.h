#pragma once

#include "search/SearchCriteria.h"

#include <cstdint>
#include <vector>

namespace orvo {

// The date and size conditions of a search, built once per start; an entry
// is a hit only when all of them hold. Dates are local OLE dates of the
// last modification; sizes are the real 64-bit sizes, so bounds in
// megabytes never wrap.
class SearchConditions {
public:
    enum class Column { Date, Size };
    enum class Op { Equal, Less, Greater, AtLeast };
    struct Condition {
        Column column;
        Op op;
        double date = 0;
        uint64_t size = 0;
    };

    // now: the local OLE date the "No older than" span counts back from.
    static SearchConditions Build(const SearchCriteria& criteria, double now);

    bool Empty() const { return conditions_.empty(); }
    // Whether a date condition is among them (the local date costs a time
    // zone conversion, saved when none is).
    bool NeedsDate() const;
    bool Holds(double date, uint64_t size) const;
    const std::vector<Condition>& List() const { return conditions_; }

private:
    std::vector<Condition> conditions_;
};

} // namespace orvo
