#include "settings/OptionsStore.h"

#include "TempDir.h"
#include "settings/DefaultOptions.h"
#include "settings/FileGroups.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/SpecialFiles.h"
#include "store/StoreArchive.h"

#include <filesystem>
#include <map>
#include <gtest/gtest.h>

using namespace orvo;

TEST(OptionsFirstRun, AMissingFileGivesEveryTableWithItsDefaults) {
    TempDir dir;
    OptionsStore store;
    OptionsLoadResult r = store.Load(OptionsFilePath(dir.Path()));
    EXPECT_EQ(r.status, OptionsLoadResult::Status::NewFile);
    EXPECT_TRUE(r.message.empty());
    const QDataBase& db = store.Database();
    for (const char* name : OptionTableNames())
        EXPECT_NE(db.GetTable(name), nullptr) << name;

    // Every key has a row, so none reads as a missing key.
    for (const char* key :
         {kBracketDirectoriesKey, kUseColorsKey, kHideCommentFileKey, kAllProblemsAtStartKey,
          kShowTipsKey, kShowOnActionTipsKey, kConvertDroppedImageKey, kShowQuickAccessBarKey})
        EXPECT_GE(FindOptionRow(*db.GetTable(kBoolOptionsTable), key), 0) << key;
    EXPECT_TRUE(GetBoolOption(db, kHideCommentFileKey));
    EXPECT_TRUE(GetBoolOption(db, kShowTipsKey));
    EXPECT_EQ(GetStringOption(db, kBackgroundImagePathKey), "Default");
    EXPECT_EQ(GetIntOption(db, kTipPositionKey), 0);

    EXPECT_GE(db.GetTable(kTipsTable)->GetRecordCount(), 15);
    EXPECT_EQ(db.GetTable(kBrowseWindowsTable)->GetRecordCount(), 0);
    EXPECT_EQ(db.GetTable(kUserKnowsTable)->GetRecordCount(), 0);
    EXPECT_GE(db.GetTable(kImportantFilesTable)->GetRecordCount(), 5);

    // Every colour a group names is in "Colors".
    const QTable& groups = *db.GetTable(kFileGroupsTable);
    ASSERT_GE(groups.GetRecordCount(), 7);
    for (int row = 0; row < groups.GetRecordCount(); ++row) {
        RgbColor c;
        EXPECT_TRUE(GetColorByName(db, groups.GetText("Color", row), c)) << row;
        EXPECT_TRUE(GetColorByName(db, groups.GetText("Color of shadow", row), c)) << row;
    }
    // The families of a Linux desktop have groups, and the lists are
    // already in the form a lookup keeps, so lookups write nothing.
    std::string before;
    {
        ArchiveWriter out;
        WriteDataBase(out, db);
        before = out.Take();
    }
    for (const char* ext : {"png", "flac", "mkv", "deb", "cpp", "pdf", "sh"})
        EXPECT_GE(FindFileGroup(store.Database(), ext), 0) << ext;
    ArchiveWriter after;
    WriteDataBase(after, db);
    EXPECT_EQ(after.Data(), before);

    std::vector<std::string> binary = GetSpecialFilePatterns(db, "Binary");
    for (const char* p : {"*.o", "*.so", "*.a", "*.zip", "*.png", "*.mp3"})
        EXPECT_NE(std::find(binary.begin(), binary.end(), p), binary.end()) << p;

    // The first save writes the file, and it reads back the same.
    ASSERT_TRUE(store.Save().saved);
    OptionsStore again;
    EXPECT_EQ(again.Load(store.Path()).status, OptionsLoadResult::Status::Loaded);
    ArchiveWriter reread;
    WriteDataBase(reread, again.Database());
    EXPECT_EQ(reread.Data(), after.Data());
}

TEST(OptionsFirstRun, OnlyMissingTablesAreAddedAndExistingOnesStayAsTheyAre) {
    TempDir dir;
    std::string path = OptionsFilePath(dir.Path());
    {
        // A file with a single bool option and an empty "Tips" table.
        QDataBase db;
        db.AddTable(MakeOptionTable(kBoolOptionsTable));
        db.AddTable(MakeOptionTable(kTipsTable));
        db.GetTable(kTipsTable)->SetName("TIPS");
        SetBoolOption(db, kShowTipsKey, false);
        SaveDataBaseFile(path, db);
    }
    OptionsStore store;
    OptionsLoadResult r = store.Load(path);
    ASSERT_EQ(r.status, OptionsLoadResult::Status::Loaded);
    const QDataBase& db = store.Database();
    EXPECT_EQ(db.GetTable(kBoolOptionsTable)->GetRecordCount(), 1);
    EXPECT_FALSE(GetBoolOption(db, kShowTipsKey));
    EXPECT_FALSE(GetBoolOption(db, kHideCommentFileKey)); // not in the file: a missing key
    EXPECT_EQ(db.GetTable(kTipsTable)->GetRecordCount(), 0);
    EXPECT_EQ(db.GetTable(kTipsTable)->GetName(), "TIPS");
    EXPECT_EQ(r.addedTables.size(), OptionTableNames().size() - 2);
    EXPECT_EQ(GetStringOption(db, kBackgroundImagePathKey), "Default");
    EXPECT_GT(db.GetTable(kFileGroupsTable)->GetRecordCount(), 0);
}

namespace {

std::string SeededFileBytes(const std::string& path) {
    OptionsStore store;
    store.Load(path);
    SetStringOption(store.Database(), kBackgroundImagePathKey, "/pictures/mine.png");
    store.Save();
    return TempDir::Read(path);
}

} // namespace

TEST(OptionsDamagedFile, IsReportedAndKeptUnlessTheOptionsChange) {
    TempDir dir;
    std::string path = OptionsFilePath(dir.Path());
    std::string good = SeededFileBytes(path);
    std::string damaged = good.substr(0, good.size() / 2);
    TempDir::Write(path, damaged);

    OptionsStore store;
    OptionsLoadResult r = store.Load(path);
    EXPECT_EQ(r.status, OptionsLoadResult::Status::Failed);
    EXPECT_NE(r.message.find("damaged"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(path), std::string::npos) << r.message;
    // The program goes on with the defaults.
    EXPECT_EQ(GetStringOption(store.Database(), kBackgroundImagePathKey), "Default");
    EXPECT_TRUE(GetBoolOption(store.Database(), kShowTipsKey));

    // Lookups that merely read leave the file alone at exit.
    FindFileGroup(store.Database(), "png");
    OptionsSaveResult s = store.Save();
    EXPECT_FALSE(s.saved);
    EXPECT_TRUE(s.keptDamagedFile);
    EXPECT_EQ(TempDir::Read(path), damaged);

    // A change is saved, and the unreadable file is kept aside.
    SetBoolOption(store.Database(), kShowTipsKey, false);
    s = store.Save();
    EXPECT_TRUE(s.saved);
    EXPECT_EQ(TempDir::Read(path + ".damaged"), damaged);
    OptionsStore after;
    ASSERT_TRUE(after.Load(path).Ok());
    EXPECT_FALSE(GetBoolOption(after.Database(), kShowTipsKey));
}

TEST(OptionsDamagedFile, AFileWithoutTheBannerGivesTheProgramsMessage) {
    TempDir dir;
    std::string path = OptionsFilePath(dir.Path());
    {
        QTable table;
        SaveTableFile(path, table); // a table archive, not a database
    }
    OptionsStore store;
    OptionsLoadResult r = store.Load(path);
    EXPECT_EQ(r.status, OptionsLoadResult::Status::Failed);
    EXPECT_EQ(r.message.rfind(kNotDataBaseMessage, 0), 0u) << r.message;

    TempDir::Write(path, "");
    EXPECT_EQ(store.Load(path).message.rfind(kNotDataBaseMessage, 0), 0u);

    // A path that cannot be read as a file at all.
    std::filesystem::create_directory(dir.File("folder"));
    OptionsStore other;
    r = other.Load(dir.File("folder"));
    EXPECT_EQ(r.status, OptionsLoadResult::Status::Failed);
    EXPECT_FALSE(r.message.empty());
    EXPECT_NE(other.Database().GetTable(kFileGroupsTable), nullptr);
}

TEST(OptionsReread, BringsBackTheFileOrKeepsTheOptionsWhenItFails) {
    TempDir dir;
    std::string path = OptionsFilePath(dir.Path());
    SeededFileBytes(path);

    OptionsStore store;
    ASSERT_TRUE(store.Load(path).Ok());
    int replaced = 0;
    int id = store.AddReplaceListener([&] { ++replaced; });
    SetStringOption(store.Database(), kBackgroundImagePathKey, "");
    ASSERT_TRUE(store.Load(path).Ok());
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(GetStringOption(store.Database(), kBackgroundImagePathKey), "/pictures/mine.png");

    // A re-read of a file damaged meanwhile keeps the options in use.
    std::string good = TempDir::Read(path);
    TempDir::Write(path, good.substr(0, 100));
    SetIntOption(store.Database(), kTipPositionKey, 5);
    OptionsLoadResult r = store.Load(path);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(GetIntOption(store.Database(), kTipPositionKey), 5);
    EXPECT_EQ(GetStringOption(store.Database(), kBackgroundImagePathKey), "/pictures/mine.png");

    // A file deleted meanwhile: the options in use stay and are saved.
    std::filesystem::remove(path);
    r = store.Load(path);
    EXPECT_TRUE(r.Ok());
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(GetIntOption(store.Database(), kTipPositionKey), 5);
    store.RemoveReplaceListener(id);
    EXPECT_TRUE(store.Save().saved);
    OptionsStore after;
    after.Load(path);
    EXPECT_EQ(GetIntOption(after.Database(), kTipPositionKey), 5);

    // Another data directory starts from its own file, or the defaults.
    TempDir other;
    r = store.Load(OptionsFilePath(other.Path()));
    EXPECT_EQ(r.status, OptionsLoadResult::Status::NewFile);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(GetIntOption(store.Database(), kTipPositionKey), 0);
}

namespace {

int GroupRow(const QDataBase& db, std::string_view name) {
    return db.GetTable(kFileGroupsTable)->FindByText("Group name", name, 0);
}

} // namespace

// The first group listing an extension takes it, so an extension in two
// shipped groups draws in the wrong one (TypeScript as video). Files an
// earlier version wrote get the corrected list unless the user changed it.
TEST(ShippedFileGroups, EachExtensionHasOneGroupAndTypeScriptIsSourceCode) {
    TempDir dir;
    OptionsStore fresh;
    fresh.Load(OptionsFilePath(dir.Path()));
    QDataBase& db = fresh.Database();
    std::vector<std::string> names, patterns;
    GetFileGroupLists(db, names, patterns);
    std::map<std::string, std::string> owner;
    for (size_t g = 0; g < names.size(); ++g) {
        std::string list = ";" + patterns[g] + ";";
        for (size_t at = 1, end; (end = list.find(';', at)) != std::string::npos; at = end + 1) {
            std::string ext = list.substr(at, end - at);
            auto [it, added] = owner.emplace(ext, names[g]);
            EXPECT_TRUE(added) << ext << " is in " << it->second << " and " << names[g];
        }
    }
    EXPECT_EQ(FindFileGroup(db, "TS"), GroupRow(db, "Source code"));
    EXPECT_EQ(FindFileGroup(db, "m2ts"), GroupRow(db, "Video"));

    const std::string earlier =
        ",mp4,m4v,mkv,webm,avi,mov,mpg,mpeg,mpe,ogv,wmv,flv,3gp,ts,m2ts,vob,asf,rm,rmvb,";
    for (const std::string& video : {earlier, std::string(",ts,mp4,")}) {
        const std::string path = dir.Path() + "/earlier.qad";
        db.GetTable(kFileGroupsTable)->SetText("Extensions", GroupRow(db, "Video"), video);
        SaveDataBaseFile(path, db);
        OptionsStore store;
        ASSERT_EQ(store.Load(path).status, OptionsLoadResult::Status::Loaded);
        const QDataBase& read = store.Database();
        const bool edited = video != earlier;
        EXPECT_EQ(FindFileGroup(store.Database(), "ts"),
                  GroupRow(read, edited ? "Video" : "Source code"))
            << video;
        EXPECT_EQ(FindFileGroup(store.Database(), "mkv"), edited ? -1 : GroupRow(read, "Video"));
    }
}
