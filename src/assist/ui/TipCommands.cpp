#include "assist/ui/TipCommands.h"

#include "assist/TipOfDay.h"
#include "assist/ui/TipDialog.h"
#include "settings/OptionsStore.h"

namespace orvo {

void RunTipOfDay(QWidget* parent, QDataBase& options, bool startupFinished) {
    TipOfDaySetup setup = PrepareTipOfDay(options);
    if (!ShouldShowTipOfDay(setup, startupFinished))
        return;
    QStringList tips;
    for (const std::string& tip : setup.tips)
        tips << QString::fromStdString(tip);
    TipDialog dialog(parent);
    dialog.SetTips(tips, setup.position);
    dialog.SetShowAtStartup(setup.showAtStart);
    dialog.Run();
    FinishTipOfDay(options, {dialog.CurrentIndex(), dialog.WasReset(), dialog.ShowAtStartup()});
}

void ShowOnActionTip(QWidget* parent, QDataBase& options, const OnActionTip& tip) {
    if (!NeedsOnActionTip(options, tip.key))
        return;
    TipDialog dialog(parent);
    dialog.SetSingleTipMode(true);
    dialog.SetTips({QString::fromStdString(OnActionTipDisplayText(tip.text))}, 0);
    dialog.Run();
    MarkTipKnown(options, tip.key);
}

void ShowOnActionTip(QWidget* parent, const OnActionTip& tip) {
    ShowOnActionTip(parent, GetOptionsDatabase(), tip);
}

} // namespace orvo
