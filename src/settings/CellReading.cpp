#include "settings/CellReading.h"

#include <cmath>
#include <limits>

namespace orvo {

bool CellIsTrue(const QValue& value) {
    switch (value.Type()) {
    case QVT_BOOL:
        return value.AsBool() == 1;
    case QVT_INT:
        return value.AsInt() == 1;
    case QVT_DWORD:
        return value.AsDword() == 1;
    case QVT_LPSTR: {
        QValue parsed;
        parsed.SetFromText(value.AsStringView(), QVT_BOOL);
        return parsed.AsBool() == 1;
    }
    default:
        return false;
    }
}

int32_t CellAsInt(const QValue& value) {
    switch (value.Type()) {
    case QVT_INT:
        return value.AsInt();
    case QVT_DWORD:
        return static_cast<int32_t>(value.AsDword());
    case QVT_BOOL:
        return value.AsBool();
    case QVT_DOUBLE:
    case QVT_DATE: {
        double d = value.AsDouble();
        if (std::isnan(d))
            return 0;
        constexpr double lo = std::numeric_limits<int32_t>::min();
        constexpr double hi = std::numeric_limits<int32_t>::max();
        return static_cast<int32_t>(std::trunc(d < lo ? lo : (d > hi ? hi : d)));
    }
    case QVT_LPSTR: {
        QValue parsed;
        parsed.SetFromText(value.AsStringView(), QVT_INT);
        return parsed.AsInt();
    }
    default:
        return 0;
    }
}

} // namespace orvo
