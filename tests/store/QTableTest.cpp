#include "store/ListingFields.h"
#include "store/QDataBase.h"
#include "store/QTable.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace orvo;

namespace {

const QFieldDef kNameOnly[] = {{"Name", QVT_LPSTR, 0xC06}};

std::vector<uint32_t> Ids(const QTable& t) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < t.GetRecordCount(); ++i)
        ids.push_back(t.GetRecord(i)->GetId());
    return ids;
}

std::vector<std::string> Names(const QTable& t) {
    std::vector<std::string> names;
    for (int i = 0; i < t.GetRecordCount(); ++i)
        names.push_back(t.GetText("Name", i));
    return names;
}

void AddListingRow(QTable& t, const char* name, bool dir, const char* ext = "") {
    QRecord r = t.NewRecord();
    r.SetValue("Name", QValue(std::string_view(name)));
    r.SetValue("Extension", QValue(std::string_view(ext)));
    r.SetValue("Directory", QValue(dir, QVT_BOOL));
    t.AddRecord(r);
}

} // namespace

TEST(QTableIds, FollowTheRowBeforeTheLast) {
    QTable t(kNameOnly, 1);
    for (const char* n : {"c", "a", "b"}) {
        QRecord r = t.NewRecord();
        r.SetText("Name", n);
        t.AddRecord(r);
    }
    EXPECT_EQ(Ids(t), (std::vector<uint32_t>{0, 1, 2}));

    // Sorted so that id 0 ("c") is last: the next row follows it.
    t.Sort("Name", true);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(t.AddRecord(t.NewRecord()), 1u); // the row before the new one is "c", id 0

    QTable u(kNameOnly, 1);
    for (int i = 0; i < 3; ++i)
        u.AddRecord(u.NewRecord());
    u.DeleteRecord(1);
    EXPECT_EQ(Ids(u), (std::vector<uint32_t>{0, 2}));
    EXPECT_EQ(u.AddRecord(u.NewRecord()), 3u);
    for (int i = 0; i < 3; ++i)
        u.AddRecord(u.NewRecord());
    EXPECT_EQ(u.DeleteRecords({1, 0, 1, 0, 1}), 3); // rows past the flags stay
    EXPECT_EQ(Ids(u), (std::vector<uint32_t>{2, 4, 6}));

    QTable w(kNameOnly, 1);
    for (int i = 0; i < 3; ++i)
        w.AddRecord(w.NewRecord());
    EXPECT_EQ(w.InsertRecord(0, w.NewRecord()), 2u);
    EXPECT_EQ(Ids(w), (std::vector<uint32_t>{2, 0, 1, 2}));
}

TEST(QTableView, KeepsTheCallersRowsAndIds) {
    QTable owner(kNameOnly, 1);
    owner.AddRecord(owner.NewRecord());
    owner.AddRecord(owner.NewRecord());
    QTable view(true);
    QRecord* second = owner.GetRecord(1);
    EXPECT_EQ(view.AddRecord(second), 1u);
    EXPECT_EQ(view.GetRecord(0), second);
    view.RemoveAll(); // must not delete the owner's row
    EXPECT_EQ(owner.GetRecord(1), second);
}

TEST(QTableRows, CopiesValuesAndReadsMissingColumnsAsEmpty) {
    QTable t(kListingFieldsA, kListingFieldCount);
    QRecord r = t.NewRecord();
    EXPECT_EQ(r.GetFieldCount(), 9);
    EXPECT_EQ(r.GetValue("Size").Type(), QVT_DWORD);
    EXPECT_EQ(r.FieldIndex("name"), -1); // column names are case-sensitive
    EXPECT_EQ(r.GetValue("NoSuchColumn").Type(), QVT_EMPTY);
    r.SetText("Size", "123abc");
    EXPECT_EQ(r.GetValue("Size").AsDword(), 123u);
    t.AddRecord(r);
    r.SetText("Size", "9");
    EXPECT_EQ(t.GetValue("Size", 0).AsDword(), 123u);

    // A row with a private column list gives only its values to the table.
    QRecord loose;
    loose.UseColumns(&t.Columns(), true);
    loose.SetText("Name", "x");
    t.AddRecord(loose);
    EXPECT_EQ(t.GetText("Name", 1), "x");
    EXPECT_EQ(t.GetRecord(1)->Columns(), &t.Columns());

    QRecord copy(loose);
    EXPECT_TRUE(copy.OwnsColumns());
    EXPECT_NE(copy.Columns(), loose.Columns());
    t.SetRecord(0, copy);
    EXPECT_EQ(t.GetText("Name", 0), "x");
    EXPECT_EQ(t.GetRecord(0)->GetId(), 0u);
}

TEST(QTableFind, ConditionListsAndStartIndex) {
    std::setlocale(LC_ALL, "C.UTF-8");
    QTable t(kListingFieldsA, kListingFieldCount);
    AddListingRow(t, "readme", false, "TXT");
    AddListingRow(t, "src", true);
    AddListingRow(t, "notes", false, "md");

    QConditionList anyColumn;
    anyColumn.conditions.push_back({"", QOP_CONTAINS, QValue(std::string_view("txt")), 0});
    EXPECT_EQ(t.FindRecord(anyColumn, 0), 0);
    EXPECT_EQ(t.FindRecord(anyColumn, 1), -1);

    QConditionList emptyAll, emptyAny;
    emptyAny.anyMatch = true;
    EXPECT_EQ(t.FindRecord(emptyAll, 1), 1);
    EXPECT_EQ(t.FindRecord(emptyAny, 0), -1);

    QConditionList all;
    all.selectAll = true;
    EXPECT_EQ(t.FindRecord(all, 2), 2);
    EXPECT_EQ(t.FindRecord(all, 3), -1);

    QConditionList either;
    either.anyMatch = true;
    either.conditions.push_back({"Name", QOP_EQUAL, QValue(std::string_view("nothing")), 0});
    either.conditions.push_back({"Extension", QOP_EQUAL, QValue(std::string_view("MD")), 0});
    EXPECT_EQ(t.FindRecord(either, 0), 2);

    QConditionList skipped;
    skipped.conditions.push_back({"Name", QOP_EQUAL, QValue(std::string_view("zzz")), 1});
    EXPECT_EQ(t.FindRecord(skipped, 0), 0);

    EXPECT_EQ(t.FindByText("Directory", "true", 0), 1);
    EXPECT_EQ(t.FindByText("Name", "NOTES", 0), 2);
    std::setlocale(LC_ALL, "C");
}

TEST(QTableSort, DirectoriesFirstAscendingAndLastDescending) {
    std::setlocale(LC_ALL, "C.UTF-8");
    QTable t(kListingFieldsB, kListingFieldCount);
    AddListingRow(t, "b.txt", false);
    AddListingRow(t, "Zeta", true);
    AddListingRow(t, "a.txt", false);
    AddListingRow(t, "alpha", true);
    AddListingRow(t, "B.doc", false);
    t.Sort("Name", true);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"alpha", "Zeta", "a.txt", "B.doc", "b.txt"}));
    t.Sort("Name", false);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"b.txt", "B.doc", "a.txt", "Zeta", "alpha"}));

    // A partial range leaves the rows outside it alone.
    t.Sort("Name", true, 1, 3);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"b.txt", "a.txt", "B.doc", "Zeta", "alpha"}));

    // Without the precedence key (variant A) directories mix with files.
    QTable a(kListingFieldsA, kListingFieldCount);
    AddListingRow(a, "b", false);
    AddListingRow(a, "a", true);
    AddListingRow(a, "c", true);
    a.Sort("Name", true);
    EXPECT_EQ(Names(a), (std::vector<std::string>{"a", "b", "c"}));
    a.Sort("Directory", true);
    EXPECT_EQ(a.GetValue("Directory", 0).AsBool(), 1);
    EXPECT_EQ(a.GetValue("Directory", 2).AsBool(), 0);
    std::setlocale(LC_ALL, "C");
}

TEST(QDataBaseTables, NamesMatchIgnoringCase) {
    QDataBase db;
    auto t = std::make_unique<QTable>(kNameOnly, 1);
    t->SetName("Bool options");
    QTable* added = db.AddTable(std::move(t));
    EXPECT_EQ(db.GetTable("BOOL OPTIONS"), added);
    EXPECT_EQ(db.FindTable("bool options"), 0);
    EXPECT_EQ(db.GetTable("Missing"), nullptr);
    EXPECT_EQ(db.GetTable("Bool option"), nullptr);

    // Names beyond ASCII fold case through the locale.
    std::setlocale(LC_ALL, "C.UTF-8");
    auto u = std::make_unique<QTable>(kNameOnly, 1);
    u->SetName("Ärger");
    QTable* umlaut = db.AddTable(std::move(u));
    EXPECT_EQ(db.GetTable("äRGER"), umlaut);
    EXPECT_EQ(db.GetTable("arger"), nullptr);
    std::setlocale(LC_ALL, "C");
}

TEST(QTableReference, ChoicesAndErrorEntries) {
    QFieldInfo ref("Color", QVT_LPSTR, QFF_REFERENCE);
    EXPECT_EQ(QTable::ReferenceChoices(ref, nullptr),
              (std::vector<std::string>{"!ERROR QDataBase is NULL while reference type",
                                        "Internal : no database specified."}));
    QDataBase db;
    EXPECT_EQ(QTable::ReferenceChoices(ref, &db),
              (std::vector<std::string>{"!ERROR table not found :", "!ERROR field not found, table : , field : ",
                                        "Table name not specified", "Reference field not specified"}));
    auto colors = std::make_unique<QTable>(kNameOnly, 1);
    colors->SetName("Colors");
    for (const char* n : {"Red", "Blue"}) {
        QRecord r = colors->NewRecord();
        r.SetText("Name", n);
        colors->AddRecord(r);
    }
    db.AddTable(std::move(colors));
    ref.SetRefTable("colors");
    ref.SetRefField("Name");
    EXPECT_EQ(QTable::ReferenceChoices(ref, &db), (std::vector<std::string>{"Red", "Blue"}));
    ref.SetRefField("name");
    EXPECT_EQ(QTable::ReferenceChoices(ref, &db),
              (std::vector<std::string>{"!ERROR field not found, table : colors, field : name"}));
}
