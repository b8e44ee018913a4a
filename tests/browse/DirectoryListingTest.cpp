#include "../platform/TestDirectory.h"
#include "browse/DirectoryListing.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <map>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

// Rows by full path, since the reader keeps the file system's order.
std::map<std::string, const QRecord*> RowsByPath(const DirectoryListing& listing) {
    std::map<std::string, const QRecord*> rows;
    for (int i = 0; i < listing.GetRecordCount(); ++i)
        rows[listing.GetText("Path", i)] = listing.GetRecord(i);
    return rows;
}

std::string Cell(const QRecord* row, const char* column) { return row->GetText(column); }

} // namespace

TEST(DirectoryListing, NamesPathsAndLetters) {
    TestDirectory dir;
    dir.Write("archive.tar.gz", "12345");
    dir.Write(".profile");
    dir.Write("README");
    dir.Write("ends.");
    dir.MakeDirectory("sub.d");
    ASSERT_EQ(::symlink("sub.d", (dir / "link").c_str()), 0);

    DirectoryListing listing;
    EXPECT_EQ(listing.ReadDirectory(dir.Path() + "/"), 1);
    EXPECT_FALSE(listing.ReadFailed());
    EXPECT_EQ(listing.GetDirectoryPath(), dir.Path());
    auto rows = RowsByPath(listing);
    ASSERT_EQ(rows.size(), 6u); // no "." or ".."

    const QRecord* tar = rows[dir / "archive.tar.gz"];
    EXPECT_EQ(Cell(tar, "Name"), "archive.tar");
    EXPECT_EQ(Cell(tar, "Extension"), "gz");
    EXPECT_EQ(tar->GetValue("Size").AsDword(), 5u);
    EXPECT_EQ(Cell(tar, "Attr"), "-a--");
    EXPECT_EQ(Cell(tar, "Comment"), "");
    EXPECT_EQ(tar->GetValue("Date").AsDouble(), tar->GetValue("Time").AsDouble());

    const QRecord* profile = rows[dir / ".profile"];
    EXPECT_EQ(Cell(profile, "Name"), "");
    EXPECT_EQ(Cell(profile, "Extension"), "profile");
    EXPECT_EQ(Cell(profile, "Attr"), "-ah-");

    EXPECT_EQ(Cell(rows[dir / "README"], "Name"), "README");
    EXPECT_EQ(Cell(rows[dir / "README"], "Extension"), "");
    EXPECT_EQ(Cell(rows[dir / "ends."], "Name"), "ends");

    const QRecord* sub = rows[dir / "sub.d"];
    EXPECT_TRUE(sub->GetValue("Directory").AsBool());
    EXPECT_EQ(sub->GetValue("Size").AsDword(), 0u);
    EXPECT_EQ(Cell(sub, "Attr"), "----");
    EXPECT_TRUE(rows[dir / "link"]->GetValue("Directory").AsBool());

    EXPECT_TRUE(listing.Columns()[listing.FieldIndex("Directory")].IsPrecedenceKey());
    EXPECT_EQ(listing.GetName(), "NoName");
}

TEST(DirectoryListing, RereadingReplacesEverything) {
    TestDirectory dir;
    dir.Write("a");
    DirectoryListing listing;
    uint32_t created = listing.GetCreated();
    listing.ReadDirectory(dir.Path());
    ASSERT_EQ(listing.GetRecordCount(), 1);

    // A file of 5 GiB keeps its size beyond the 32-bit cell.
    int fd = ::open((dir / "big").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(5ull << 30)), 0);
    ::close(fd);
    listing.ReadDirectory(dir.Path());
    auto rows = RowsByPath(listing);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[dir / "big"]->GetValue("Size").AsDword(), 0xFFFFFFFFu);
    EXPECT_EQ(listing.FullSize(*rows[dir / "big"]), 5ull << 30);
    QRecord copy(*rows[dir / "big"]);
    EXPECT_EQ(listing.FullSize(copy), 5ull << 30);
    EXPECT_EQ(listing.GetCreated(), created);

    // A directory that cannot be read leaves an empty listing.
    for (const std::string& bad : {dir / "missing", dir / "a"}) {
        listing.ReadDirectory(bad);
        EXPECT_EQ(listing.GetRecordCount(), 0) << bad;
        EXPECT_TRUE(listing.ReadFailed()) << bad;
    }
    EXPECT_EQ(listing.GetName(), "NoName");
}

TEST(DirectoryListing, DriveListFromTheVolumes) {
    MountedVolume root{"/", "/dev/sda1", "ext4", "", DRIVE_FIXED};
    MountedVolume usb{"/media/usb", "/dev/sdb1", "vfat", "STICK", DRIVE_REMOVABLE};
    DirectoryListing listing;
    std::vector<int> types{42};
    ReadComputer(listing, types, {root, usb});
    ASSERT_EQ(listing.GetRecordCount(), 2);
    EXPECT_EQ(listing.GetText("Name", 1), "/media/usb STICK (vfat)");
    EXPECT_EQ(listing.GetText("Path", 1), "/media/usb");
    EXPECT_EQ(listing.GetText("Extension", 1), "");
    EXPECT_TRUE(listing.GetValue("Directory", 0).AsBool());
    EXPECT_EQ(types, (std::vector<int>{DRIVE_FIXED, DRIVE_REMOVABLE}));
    EXPECT_EQ(listing.GetDirectoryPath(), kComputerPath);
}
