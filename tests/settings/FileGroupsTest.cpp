#include "settings/FileGroups.h"

#include "settings/OptionTables.h"
#include "settings/SpecialFiles.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace {

struct Group {
    const char* name;
    const char* extensions;
    bool shadow = false;
    const char* color = "";
    const char* shadowColor = "";
};

// A database with just the given groups and colours.
void Build(QDataBase& db, std::initializer_list<Group> groups,
           std::initializer_list<std::tuple<const char*, int, int, int>> colors = {}) {
    QTable* g = db.AddTable(MakeOptionTable(kFileGroupsTable));
    for (const Group& group : groups) {
        QRecord r = g->NewRecord();
        r.SetText("Group name", group.name);
        r.SetText("Extensions", group.extensions);
        r.SetValue("Shadow", QValue(group.shadow, QVT_BOOL));
        r.SetValue("Bold", QValue(true, QVT_BOOL));
        r.SetText("Font size", "3");
        r.SetText("Color", group.color);
        r.SetText("Color of shadow", group.shadowColor);
        g->AddRecord(r);
    }
    QTable* c = db.AddTable(MakeOptionTable(kColorsTable));
    for (auto [name, red, green, blue] : colors) {
        QRecord r = c->NewRecord();
        r.SetText("Name", name);
        r.SetValue("Red", QValue(int32_t{red}, QVT_INT));
        r.SetValue("Green", QValue(int32_t{green}, QVT_INT));
        r.SetValue("Blue", QValue(int32_t{blue}, QVT_INT));
        c->AddRecord(r);
    }
}

} // namespace

TEST(FindFileGroup, MatchesWholeExtensionsIgnoringCaseEarliestRowFirst) {
    QDataBase db;
    Build(db, {{"Pictures", "Jpg,Gif"}, {"Text", ",txt,md,"}, {"Notes", ",txt,"}});
    EXPECT_EQ(FindFileGroup(db, "JPG"), 0);
    EXPECT_EQ(FindFileGroup(db, "jpg"), 0);
    EXPECT_EQ(FindFileGroup(db, "gif"), 0);
    EXPECT_EQ(FindFileGroup(db, "jp"), -1);
    EXPECT_EQ(FindFileGroup(db, "pg"), -1);
    EXPECT_EQ(FindFileGroup(db, "txt"), 1);
    EXPECT_EQ(FindFileGroup(db, ""), -1);
    // An extension with a comma would otherwise match "jpg,gif" across
    // two entries.
    EXPECT_EQ(FindFileGroup(db, "jpg,gif"), -1);
    EXPECT_EQ(FindFileGroup(db, "zip"), -1);
}

TEST(FindFileGroup, StoresTheListBackWithCommasAtBothEnds) {
    QDataBase db;
    Build(db, {{"Pictures", "Jpg,Gif"}, {"Music", ",mp3"}, {"Empty", ""}, {"Text", "txt"}});
    const QTable& t = *db.GetTable(kFileGroupsTable);
    EXPECT_EQ(FindFileGroup(db, "gif"), 0);
    EXPECT_EQ(t.GetText("Extensions", 0), ",Jpg,Gif,");
    EXPECT_EQ(t.GetText("Extensions", 1), ",mp3") << "rows after the match are not read";
    EXPECT_EQ(FindFileGroup(db, "TXT"), 3);
    EXPECT_EQ(t.GetText("Extensions", 1), ",mp3,");
    EXPECT_EQ(t.GetText("Extensions", 2), ",");
    EXPECT_EQ(t.GetText("Extensions", 3), ",txt,");

    // Non-ASCII extensions fold case through the locale.
    QDataBase utf;
    Build(utf, {{"Greek", "ΑΒΓ"}});
    std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_EQ(FindFileGroup(utf, "αβγ"), 0);
    std::setlocale(LC_ALL, "C");
}

TEST(FileGroupStyle, TakesFlagsSizeAndColoursFromTheGroup) {
    QDataBase db;
    Build(db,
          {{"Pictures", "png", false, "Wide red", "Blue"},
           {"Scripts", "sh", true, "blue", "Blue"},
           {"Lost", "tmp", true, "No such colour", "No such colour"}},
          {{"Wide red", 300, -1, 256}, {"Blue", 0, 0, 255}});

    FileGroupStyle png = GetFileGroupStyle(db, "PNG");
    EXPECT_TRUE(png.found);
    EXPECT_TRUE(png.bold);
    EXPECT_FALSE(png.italic);
    EXPECT_EQ(png.fontSize, 3);
    ASSERT_TRUE(png.color.set);
    EXPECT_EQ(png.color.rgb, (RgbColor{44, 255, 0})); // only the low 8 bits count
    EXPECT_FALSE(png.shadowColor.set) << "shadow off ignores its colour";

    FileGroupStyle sh = GetFileGroupStyle(db, "sh");
    EXPECT_TRUE(sh.shadow);
    EXPECT_TRUE(sh.color.set) << "colour names match ignoring case";
    ASSERT_TRUE(sh.shadowColor.set);
    EXPECT_EQ(sh.shadowColor.rgb, (RgbColor{0, 0, 255}));

    FileGroupStyle lost = GetFileGroupStyle(db, "tmp");
    EXPECT_TRUE(lost.found);
    EXPECT_FALSE(lost.color.set);
    EXPECT_FALSE(lost.shadowColor.set);

    FileGroupStyle none = GetFileGroupStyle(db, "doc");
    EXPECT_FALSE(none.found);
    EXPECT_FALSE(none.bold);
    EXPECT_FALSE(none.color.set);

    RgbColor kept{1, 2, 3};
    EXPECT_FALSE(GetColorByName(db, "Purple", kept));
    EXPECT_EQ(kept, (RgbColor{1, 2, 3}));

    QDataBase empty; // no tables at all
    EXPECT_FALSE(GetFileGroupStyle(empty, "png").found);
    EXPECT_FALSE(GetColorByName(empty, "Blue", kept));
}

TEST(FileGroupLists, GiveNamesAndPatternListsInRowOrder) {
    QDataBase db;
    Build(db, {{"Pictures", ",jpg,gif,"}, {"Music", "mp3"}, {"Odd", ";a,"}});
    std::vector<std::string> names{"stale"}, patterns;
    EXPECT_EQ(GetFileGroupLists(db, names, patterns), 3);
    EXPECT_EQ(names, (std::vector<std::string>{"Pictures", "Music", "Odd"}));
    EXPECT_EQ(patterns, (std::vector<std::string>{"jpg;gif", "mp3", "a"}));
}

TEST(SpecialFilePatterns, SplitTheFirstMatchingGroupAtCommas) {
    QDataBase db;
    QTable* t = db.AddTable(MakeOptionTable(kSpecialFilesTable));
    for (auto [group, names] :
         {std::pair{"Binary", "exe,dll,*.obj"}, {"binary", "other"}, {"Spaced", " *.o , *.a,,"}}) {
        QRecord r = t->NewRecord();
        r.SetText("Group name", group);
        r.SetText("File name", names);
        t->AddRecord(r);
    }
    EXPECT_EQ(GetSpecialFilePatterns(db, "BINARY"),
              (std::vector<std::string>{"exe", "dll", "*.obj"}));
    EXPECT_EQ(GetSpecialFilePatterns(db, "spaced"), (std::vector<std::string>{"*.o", "*.a"}));
    EXPECT_TRUE(GetSpecialFilePatterns(db, "Text").empty());
    QDataBase none;
    EXPECT_TRUE(GetSpecialFilePatterns(none, "Binary").empty());
}
