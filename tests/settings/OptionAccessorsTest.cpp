#include "settings/OptionAccessors.h"

#include "settings/OptionTables.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace {

void AddOptionTables(QDataBase& db) {
    for (const char* name : {kBoolOptionsTable, kStringOptionsTable, kIntOptionsTable})
        db.AddTable(MakeOptionTable(name));
}

int Rows(const QDataBase& db, const char* table) {
    return db.GetTable(table)->GetRecordCount();
}

} // namespace

TEST(OptionAccessors, MissingKeysReadAsFalseEmptyAndMinusOne) {
    QDataBase db;
    AddOptionTables(db);
    EXPECT_FALSE(GetBoolOption(db, "Show Tips"));
    EXPECT_EQ(GetStringOption(db, "Background image path"), "");
    EXPECT_EQ(GetIntOption(db, "Tip of day position"), -1);

    // Without the tables at all, the same.
    QDataBase bare;
    EXPECT_FALSE(GetBoolOption(bare, "Show Tips"));
    EXPECT_EQ(GetIntOption(bare, "Tip of day position"), -1);
    EXPECT_EQ(bare.GetTableCount(), 0);
}

TEST(OptionAccessors, FirstSetAddsOneRowAndLaterSetsChangeIt) {
    QDataBase db;
    AddOptionTables(db);
    SetBoolOption(db, "Show Tips", true);
    EXPECT_EQ(Rows(db, kBoolOptionsTable), 1);
    EXPECT_TRUE(GetBoolOption(db, "Show Tips"));
    SetBoolOption(db, "show tips", false);
    EXPECT_EQ(Rows(db, kBoolOptionsTable), 1);
    EXPECT_FALSE(GetBoolOption(db, "SHOW TIPS"));
    EXPECT_EQ(db.GetTable(kBoolOptionsTable)->GetText("Name", 0), "Show Tips");

    SetIntOption(db, "Tip of day position", 0);
    EXPECT_EQ(GetIntOption(db, "tip of DAY position"), 0);
    SetIntOption(db, "TIP OF DAY POSITION", -7);
    EXPECT_EQ(GetIntOption(db, "Tip of day position"), -7);
    EXPECT_EQ(Rows(db, kIntOptionsTable), 1);

    SetStringOption(db, "Background image path", "Default");
    SetStringOption(db, "background IMAGE path", "");
    EXPECT_EQ(GetStringOption(db, "Background image path"), "");
    EXPECT_EQ(Rows(db, kStringOptionsTable), 1);

    // The three tables are separate: a bool key is no string key.
    EXPECT_EQ(GetStringOption(db, "Show Tips"), "");
}

TEST(OptionAccessors, SettingIntoADatabaseWithoutTheTableAddsIt) {
    QDataBase db;
    SetIntOption(db, "Tip of day position", 3);
    ASSERT_NE(db.GetTable(kIntOptionsTable), nullptr);
    EXPECT_EQ(db.GetTable(kIntOptionsTable)->Columns()[1].GetType(), QVT_INT);
    EXPECT_EQ(GetIntOption(db, "Tip of day position"), 3);
}

TEST(OptionAccessors, CellsOfAnotherTagAreReadForWhatTheyHold) {
    // A hand-made file may store the value column with other tags.
    const QFieldDef textValues[] = {{"Name", QVT_LPSTR, 0xC06}, {"Value", QVT_LPSTR, 0xC06}};
    QDataBase db;
    for (const char* name : {kBoolOptionsTable, kIntOptionsTable}) {
        auto t = std::make_unique<QTable>(textValues, 2);
        t->SetName(name);
        db.AddTable(std::move(t));
    }
    auto add = [&](const char* table, const char* key, const char* value) {
        QTable* t = db.GetTable(table);
        QRecord r = t->NewRecord();
        r.SetText("Name", key);
        r.SetText("Value", value);
        t->AddRecord(r);
    };
    add(kBoolOptionsTable, "a", "true");
    add(kBoolOptionsTable, "b", "yes");
    add(kIntOptionsTable, "n", "42abc");
    EXPECT_TRUE(GetBoolOption(db, "a"));
    EXPECT_FALSE(GetBoolOption(db, "b"));
    EXPECT_EQ(GetIntOption(db, "n"), 42);

    // A bool byte other than 1 is not true.
    QDataBase odd;
    AddOptionTables(odd);
    SetBoolOption(odd, "x", true);
    QValue two;
    two.SetFromText("", QVT_BOOL);
    two.SetRawBool(2);
    odd.GetTable(kBoolOptionsTable)->SetValue("Value", 0, two);
    EXPECT_FALSE(GetBoolOption(odd, "x"));
}

TEST(OptionAccessors, ATableOfAnotherShapeIsLeftAlone) {
    const QFieldDef other[] = {{"Key", QVT_LPSTR, 0xC06}};
    QDataBase db;
    auto t = std::make_unique<QTable>(other, 1);
    t->SetName(kBoolOptionsTable);
    db.AddTable(std::move(t));
    SetBoolOption(db, "Show Tips", true);
    SetBoolOption(db, "Show Tips", true);
    EXPECT_EQ(Rows(db, kBoolOptionsTable), 0);
    EXPECT_FALSE(GetBoolOption(db, "Show Tips"));
}
