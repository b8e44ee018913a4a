#pragma once

#include "store/QValue.h"

#include <cstdint>

namespace orvo {

// Reading option and catalog cells whose tag may not be the one the column
// promises (a hand-edited or foreign file). Reading the payload of another
// tag would turn pointer bits into numbers, so each tag is read for what it
// holds.

// True for a bool cell holding exactly 1 (as the program always read it),
// an integer cell holding 1, or a text cell saying TRUE in any case.
bool CellIsTrue(const QValue& value);

// The number a cell holds: integers as they are, fractions truncated
// (clamped to the 32-bit range), text parsed like atoi, anything else 0.
int32_t CellAsInt(const QValue& value);

} // namespace orvo
