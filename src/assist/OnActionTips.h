#pragma once

#include "store/QDataBase.h"

#include <string>
#include <string_view>

namespace orvo {

// One-time help texts: the key recorded in "User knows" once the tip was
// shown, and the text.
struct OnActionTip {
    const char* key;
    const char* text;
};

extern const OnActionTip kQuickViewTip;
extern const OnActionTip kDropImagesTip;
extern const OnActionTip kMaximizeTip;
extern const OnActionTip kSearchTip;
extern const OnActionTip kQuickAccessBarTip;
extern const OnActionTip kFavoritesTip;

// True when the tip is to be shown now: on-action tips are on and the
// user has not seen this one.
bool NeedsOnActionTip(const QDataBase& options, std::string_view key);
// Records that the user has seen the tip (adds the "User knows" table to a
// database that lacks it).
void MarkTipKnown(QDataBase& options, std::string_view key);
// The text as the dialog shows it.
std::string OnActionTipDisplayText(std::string_view text);

} // namespace orvo
