#include "assist/OnActionTips.h"

#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"

namespace orvo {

const OnActionTip kQuickViewTip = {
    "With Orvo Quick View",
    "With Orvo Quick View you can also see the image files (jpg, tif, png, bmp, gif), multimedia "
    "files (mp3, mpg, avi etc.).\r\nNote that in the view of images you can convert the image to "
    "another format, size, number of colors, etc"};

const OnActionTip kDropImagesTip = {
    "you can also drop the images",
    "In Orvo Browser you can also drop the images to the browsing window. Then, you will be able to "
    "save the image in the approtiate format.\r\nNote : you can also drop files into the programs "
    "(*.exe files) and links to them (*.lnk).\r\nNote : You can create links while "
    "Dragging&Dropping by pressing Alt."};

const OnActionTip kMaximizeTip = {
    "Use Alt+Q to",
    "Use Alt+Q to quickly Maximize\\Restore the current browsing window.\r\nNote : Alt+S tiles the "
    "windows."};

const OnActionTip kSearchTip = {
    "You have selected the searching tool.",
    "You have selected the searching tool. Note that even when it's "
    " running, you can still work with the manager. Besides you can have"
    " a number of simultaneously working searchers... They are in separate threads."
    "\r\nNote : Regular expression supported while searching text in files."
    "\r\nNote : Select one of the found files, and Orvo Browser will go to this file."};

const OnActionTip kQuickAccessBarTip = {
    "Quick Access Bar with Alt+1",
    "Note, that you can toggle Quick Access Bar with Alt+1. This is the quickest way do dot this."};

const OnActionTip kFavoritesTip = {
    "favorites menu is pressing Alt+A",
    "Note : the best way to access the favorites menu is pressing Alt+A - the menu will be shown at "
    "the current mouse position.\r\nNote : you can have also programs in the favorites.\r\nNote : "
    "the favorites is just a directory in the application directory, you construct the menu by "
    "creating shortcuts in this directory."};

bool NeedsOnActionTip(const QDataBase& options, std::string_view key) {
    if (!GetBoolOption(options, kShowOnActionTipsKey))
        return false;
    const QTable* known = options.GetTable(kUserKnowsTable);
    if (!known)
        return true;
    int column = known->FieldIndex("What");
    for (int i = 0; column >= 0 && i < known->GetRecordCount(); ++i)
        if (known->GetValue(column, i).AsStringView() == key)
            return false;
    return true;
}

void MarkTipKnown(QDataBase& options, std::string_view key) {
    QTable* known = options.GetTable(kUserKnowsTable);
    if (!known)
        known = options.AddTable(MakeOptionTable(kUserKnowsTable));
    QRecord row = known->NewRecord();
    row.SetValue("What", QValue(key));
    known->AddRecord(row);
}

std::string OnActionTipDisplayText(std::string_view text) {
    return std::string(text) + " \r\n   This tip will never appear again.";
}

} // namespace orvo
