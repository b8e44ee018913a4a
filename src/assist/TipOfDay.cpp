#include "assist/TipOfDay.h"

#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"

namespace orvo {

TipOfDaySetup PrepareTipOfDay(const QDataBase& options) {
    TipOfDaySetup setup;
    setup.position = GetIntOption(options, kTipPositionKey);
    if (setup.position < 0)
        setup.position = 0;
    if (const QTable* tips = options.GetTable(kTipsTable)) {
        int column = tips->FieldIndex("Tip");
        for (int i = 0; column >= 0 && i < tips->GetRecordCount(); ++i)
            setup.tips.push_back(tips->GetText(column, i));
    }
    setup.showAtStart = GetBoolOption(options, kShowTipsKey);
    return setup;
}

bool ShouldShowTipOfDay(const TipOfDaySetup& setup, bool startupFinished) {
    return setup.showAtStart || startupFinished;
}

void FinishTipOfDay(QDataBase& options, const TipOfDayResult& result) {
    SetIntOption(options, kTipPositionKey, result.index + 1);
    if (result.reset)
        if (QTable* known = options.GetTable(kUserKnowsTable))
            known->RemoveAll();
    SetBoolOption(options, kShowTipsKey, result.showAtStart);
}

int NormalizeTipIndex(int index, size_t tipCount) {
    if (index < 0 || static_cast<size_t>(index) >= tipCount)
        return 0;
    return index;
}

} // namespace orvo
