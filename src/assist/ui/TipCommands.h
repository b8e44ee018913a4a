#pragma once

#include "assist/OnActionTips.h"

class QWidget;

namespace orvo {

class QDataBase;

// The tip-of-the-day command: at start-up (startupFinished false) only when
// "Show Tips" is on, from the menu always.
void RunTipOfDay(QWidget* parent, QDataBase& options, bool startupFinished);

// Shows a one-time tip before a command does its work, unless the user has
// seen it or switched such tips off.
void ShowOnActionTip(QWidget* parent, QDataBase& options, const OnActionTip& tip);
// The same on the process-wide options.
void ShowOnActionTip(QWidget* parent, const OnActionTip& tip);

} // namespace orvo
