#include "assist/OnActionTips.h"
#include "assist/TipOfDay.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace {

void AddTables(QDataBase& db, std::vector<std::string> tips) {
    for (const char* name : {kBoolOptionsTable, kIntOptionsTable, kTipsTable, kUserKnowsTable})
        db.AddTable(MakeOptionTable(name));
    QTable* t = db.GetTable(kTipsTable);
    for (const std::string& tip : tips) {
        QRecord r = t->NewRecord();
        r.SetValue("Tip", QValue(std::string_view(tip)));
        t->AddRecord(r);
    }
}

} // namespace

TEST(TipOfDay, PositionAdvancesAndCycles) {
    QDataBase db;
    AddTables(db, {"one", "two", "three"});
    SetIntOption(db, kTipPositionKey, 2);
    SetBoolOption(db, kShowTipsKey, true);
    TipOfDaySetup setup = PrepareTipOfDay(db);
    EXPECT_EQ(setup.tips.size(), 3u);
    EXPECT_EQ(setup.position, 2);
    FinishTipOfDay(db, {setup.position, false, true});
    EXPECT_EQ(GetIntOption(db, kTipPositionKey), 3);
    // Position 3 is past the end: the next showing starts over.
    EXPECT_EQ(NormalizeTipIndex(PrepareTipOfDay(db).position, 3), 0);

    SetIntOption(db, kTipPositionKey, -5);
    EXPECT_EQ(PrepareTipOfDay(db).position, 0);
}

TEST(TipOfDay, StartupShowsOnlyWhenAskedAndResetForgetsKnownTips) {
    QDataBase db;
    AddTables(db, {"one"});
    SetBoolOption(db, kShowTipsKey, false);
    TipOfDaySetup setup = PrepareTipOfDay(db);
    EXPECT_FALSE(ShouldShowTipOfDay(setup, false));
    EXPECT_TRUE(ShouldShowTipOfDay(setup, true));

    SetBoolOption(db, kShowOnActionTipsKey, true);
    MarkTipKnown(db, kQuickViewTip.key);
    EXPECT_FALSE(NeedsOnActionTip(db, kQuickViewTip.key));
    EXPECT_TRUE(NeedsOnActionTip(db, kSearchTip.key));
    FinishTipOfDay(db, {0, true, true});
    EXPECT_TRUE(NeedsOnActionTip(db, kQuickViewTip.key));
    EXPECT_TRUE(GetBoolOption(db, kShowTipsKey));
}

TEST(OnActionTips, SwitchedOffOrMissingTables) {
    QDataBase db;
    db.AddTable(MakeOptionTable(kBoolOptionsTable));
    SetBoolOption(db, kShowOnActionTipsKey, false);
    EXPECT_FALSE(NeedsOnActionTip(db, kMaximizeTip.key));
    SetBoolOption(db, kShowOnActionTipsKey, true);
    // No "User knows" table yet: the tip is new, and marking it adds the table.
    EXPECT_TRUE(NeedsOnActionTip(db, kMaximizeTip.key));
    MarkTipKnown(db, kMaximizeTip.key);
    EXPECT_FALSE(NeedsOnActionTip(db, kMaximizeTip.key));
    EXPECT_EQ(OnActionTipDisplayText("Hi"), "Hi \r\n   This tip will never appear again.");
    // A key is compared exactly.
    EXPECT_TRUE(NeedsOnActionTip(db, "use alt+q to"));
}
