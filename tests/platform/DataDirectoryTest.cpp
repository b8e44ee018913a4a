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

TEST(DataDirectory, SeededOnceFromTheShippedData) {
    TestDirectory shipped, place;
    shipped.Write("images/bkgnd.jpg", "JPEG");
    shipped.Write("File types/Text.txt", "template");
    ScopedEnv source("ORVO_SOURCE_DATA", shipped.Path());
    EXPECT_EQ(ShippedDataDirectory(), shipped.Path());

    // An existing but empty directory (as a test's mkdtemp makes) is new.
    ScopedEnv home("ORVO_HOME", place.Path());
    EXPECT_EQ(EnsureDataDirectory(), place.Path());
    EXPECT_EQ(ReadFile(place / "images/bkgnd.jpg"), "JPEG");
    EXPECT_EQ(ReadFile(place / "File types/Text.txt"), "template");

    // Later starts leave the user's changes alone.
    std::filesystem::remove(place / "File types/Text.txt");
    place.Write("images/bkgnd.jpg", "mine");
    EnsureDataDirectory();
    EXPECT_FALSE(std::filesystem::exists(place / "File types/Text.txt"));
    EXPECT_EQ(ReadFile(place / "images/bkgnd.jpg"), "mine");
}

TEST(DataDirectory, AFileInTheWayIsAnError) {
    TestDirectory dir;
    ScopedEnv home("ORVO_HOME", dir.Write("not-a-directory"));
    EXPECT_THROW(EnsureDataDirectory(), FileError);
}
