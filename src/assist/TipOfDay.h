#pragma once

#include "store/QDataBase.h"

#include <string>
#include <vector>

namespace orvo {

// What the tip-of-the-day dialog starts with.
struct TipOfDaySetup {
    std::vector<std::string> tips; // the "Tip" column of "Tips", in row order
    int position = 0;              // the tip to show first
    bool showAtStart = true;       // the "Show Tips" option
};

// What the dialog hands back when it closes.
struct TipOfDayResult {
    int index = 0;        // the tip shown last
    bool reset = false;   // "Reset" was pressed
    bool showAtStart = true;
};

TipOfDaySetup PrepareTipOfDay(const QDataBase& options);
// At start-up the dialog appears only when the user asked for it; from the
// menu it always does.
bool ShouldShowTipOfDay(const TipOfDaySetup& setup, bool startupFinished);
// Stores the next position, forgets the shown on-action tips on a reset,
// and keeps the check box.
void FinishTipOfDay(QDataBase& options, const TipOfDayResult& result);

// The text of a tip index, cycling: an index past the end starts over.
int NormalizeTipIndex(int index, size_t tipCount);

} // namespace orvo
