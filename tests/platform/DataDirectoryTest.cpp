#include "platform/DataDirectory.h"

#include "TestDirectory.h"
#include "platform/FileIO.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::ScopedEnv;
using orvo::test::TestDirectory;

TEST(DataDirectory, EnvironmentDecidesThePlace) {
    {
        ScopedEnv home("ORVO_HOME", "/srv/orvo/");
        EXPECT_EQ(DataFilePath("images/bkgnd.jpg"), "/srv/orvo/images/bkgnd.jpg");
    }
    ScopedEnv none("ORVO_HOME", nullptr);
    ScopedEnv user("HOME", "/home/u");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(DataDirectoryPath(), "/cfg/orvo-browser");
    }
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(DataDirectoryPath(), "/home/u/.config/orvo-browser");
}

TEST(DataDirectory, EveryStartAddsWhatIsMissingAndKeepsTheUsersFiles) {
    TestDirectory shipped, place;
    shipped.Write("images/bkgnd.jpg", "JPEG");
    shipped.Write("help/keymap.txt", "keys");
    shipped.Write("File types/Text.txt", "template");
    ScopedEnv source("ORVO_SOURCE_DATA", shipped.Path());
    EXPECT_EQ(ShippedDataDirectory(), shipped.Path());

    // A directory that already holds the options (and a keyboard map of
    // the user's own) still gets the rest.
    place.Write("OrvoOptions.qad", "options");
    place.Write("help/keymap.txt", "my keys");
    ScopedEnv home("ORVO_HOME", place.Path());
    EXPECT_EQ(EnsureDataDirectory(), place.Path());
    EXPECT_EQ(ReadFile(place / "images/bkgnd.jpg"), "JPEG");
    EXPECT_EQ(ReadFile(place / "File types/Text.txt"), "template");
    EXPECT_EQ(ReadFile(place / "help/keymap.txt"), "my keys");
    EXPECT_EQ(ReadFile(place / "OrvoOptions.qad"), "options");

    // Later starts: a changed file is kept, a deleted one stays deleted,
    // a file shipped since arrives.
    std::filesystem::remove(place / "File types/Text.txt");
    place.Write("images/bkgnd.jpg", "mine");
    shipped.Write("File types/Page.html", "<html>");
    EnsureDataDirectory();
    EXPECT_FALSE(std::filesystem::exists(place / "File types/Text.txt"));
    EXPECT_EQ(ReadFile(place / "images/bkgnd.jpg"), "mine");
    EXPECT_EQ(ReadFile(place / "File types/Page.html"), "<html>");
    EXPECT_EQ(SeedDataDirectory(shipped.Path(), place.Path()), 0);
}

TEST(DataDirectory, SeedingSkipsWhatCannotBeCopied) {
    TestDirectory shipped, place;
    shipped.Write("images/bkgnd.jpg", "JPEG");
    shipped.Write("help/keymap.txt", "keys");
    std::filesystem::create_symlink("/etc/passwd", shipped / "help/outside");
    // A file where a directory belongs blocks only what lies beneath it.
    place.Write("images", "not a directory");
    EXPECT_EQ(SeedDataDirectory(shipped.Path(), place.Path()), 1);
    EXPECT_EQ(ReadFile(place / "help/keymap.txt"), "keys");
    EXPECT_FALSE(std::filesystem::exists(place / "help/outside"));
    // Once the way is clear, the picture comes on the next start.
    std::filesystem::remove(place / "images");
    EXPECT_EQ(SeedDataDirectory(shipped.Path(), place.Path()), 1);
    EXPECT_EQ(ReadFile(place / "images/bkgnd.jpg"), "JPEG");
}

TEST(DataDirectory, AFileInTheWayIsAnError) {
    TestDirectory dir;
    ScopedEnv home("ORVO_HOME", dir.Write("not-a-directory"));
    EXPECT_THROW(EnsureDataDirectory(), FileError);
}
