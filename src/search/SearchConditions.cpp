#include "search/SearchConditions.h"

#include <cmath>

namespace orvo {

namespace {

uint64_t Shifted(uint64_t n, SizeUnit unit) {
    int shift = unit == SizeUnit::KBytes ? 10 : unit == SizeUnit::MBytes ? 20 : 0;
    // Fields hold at most a few digits; anything that would overflow is
    // larger than any file anyway.
    return n > (UINT64_MAX >> shift) ? UINT64_MAX : n << shift;
}

double SpanInDays(uint64_t n, TimeUnit unit) {
    double v = static_cast<double>(n);
    switch (unit) {
    case TimeUnit::Seconds:
        return v / 86400.0;
    case TimeUnit::Minutes:
        return v / 1440.0;
    case TimeUnit::Hours:
        return v / 24.0;
    case TimeUnit::Days:
        return v;
    case TimeUnit::Weeks:
        return 7 * v;
    case TimeUnit::Months:
        return 30 * v;
    case TimeUnit::Years:
        return 365 * v;
    }
    return v;
}

template <typename T> bool Compare(T value, SearchConditions::Op op, T bound) {
    switch (op) {
    case SearchConditions::Op::Equal:
        return value == bound;
    case SearchConditions::Op::Less:
        return value < bound;
    case SearchConditions::Op::Greater:
        return value > bound;
    case SearchConditions::Op::AtLeast:
        return value >= bound;
    }
    return false;
}

} // namespace

SearchConditions SearchConditions::Build(const SearchCriteria& c, double now) {
    SearchConditions list;
    auto add = [&list](Column column, Op op, double date, uint64_t size) {
        list.conditions_.push_back({column, op, date, size});
    };
    if (c.dateBetween) {
        // Whole calendar days, both named days included.
        add(Column::Date, Op::AtLeast, std::floor(c.dateFrom), 0);
        add(Column::Date, Op::Less, std::floor(c.dateTo) + 1, 0);
    }
    if (c.noOlderThan)
        add(Column::Date, Op::Greater,
            now - SpanInDays(ReadCriterionNumber(c.ageNumber), c.ageUnit), 0);
    if (c.sizeBetween) {
        // The typed bounds widen by one before the unit applies: 1 to 2
        // KBytes finds 1 to 3071 bytes. A lower bound typed as 0 takes
        // empty files in.
        uint64_t lo = ReadCriterionNumber(c.sizeLow);
        uint64_t hi = ReadCriterionNumber(c.sizeHigh);
        if (lo > 0)
            add(Column::Size, Op::Greater, 0, Shifted(lo - 1, c.sizeBetweenUnit));
        add(Column::Size, Op::Less, 0, Shifted(hi > 0 ? hi + 1 : 0, c.sizeBetweenUnit));
    }
    if (c.sizeCompare) {
        uint64_t n = Shifted(ReadCriterionNumber(c.sizeNumber), c.sizeCompareUnit);
        Op op = c.sizeRelation == SizeRelation::MoreThan   ? Op::Greater
                : c.sizeRelation == SizeRelation::LessThan ? Op::Less
                                                           : Op::Equal;
        add(Column::Size, op, 0, n);
    }
    return list;
}

bool SearchConditions::NeedsDate() const {
    for (const Condition& c : conditions_)
        if (c.column == Column::Date)
            return true;
    return false;
}

bool SearchConditions::Holds(double date, uint64_t size) const {
    for (const Condition& c : conditions_) {
        bool holds =
            c.column == Column::Date ? Compare(date, c.op, c.date) : Compare(size, c.op, c.size);
        if (!holds)
            return false;
    }
    return true;
}

} // namespace orvo
