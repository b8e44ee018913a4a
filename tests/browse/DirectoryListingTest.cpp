#include "browse/DirectoryListing.h"

#include "../platform/TestDirectory.h"

#include <fcntl.h>
#include <gtest/gtest.h>
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

// Name, Extension, Comment, Size, Attr, Directory of a row.
std::vector<std::string> Cells(const QRecord* row) {
    std::vector<std::string> cells;
    for (const char* column : {"Name", "Extension", "Comment", "Size", "Attr", "Directory"})
        cells.push_back(row->GetText(column));
    return cells;
}

using Row = std::vector<std::string>;

} // namespace

TEST(DirectoryListing, NamesPathsAndLetters) {
    TestDirectory dir;
    dir.Write("archive.tar.gz", "12345");
    dir.Write(".profile");
    dir.Write(".config.json");
    dir.Write("..two");
    dir.Write("README");
    dir.Write("ends.");
    dir.MakeDirectory("sub.d");
    ASSERT_EQ(::symlink("sub.d", (dir / "link").c_str()), 0);

    DirectoryListing listing;
    EXPECT_EQ(listing.ReadDirectory(dir.Path() + "/"), 1);
    EXPECT_FALSE(listing.ReadFailed());
    EXPECT_EQ(listing.GetDirectoryPath(), dir.Path());
    auto rows = RowsByPath(listing);
    ASSERT_EQ(rows.size(), 8u); // no "." or ".."

    EXPECT_EQ(Cells(rows[dir / "archive.tar.gz"]),
              (Row{"archive.tar", "gz", "", "5", "-a--", "FALSE"}));
    // A leading dot hides a file and starts no extension.
    EXPECT_EQ(Cells(rows[dir / ".profile"]), (Row{".profile", "", "", "0", "-ah-", "FALSE"}));
    EXPECT_EQ(Cells(rows[dir / ".config.json"]),
              (Row{".config", "json", "", "0", "-ah-", "FALSE"}));
    EXPECT_EQ(Cells(rows[dir / "..two"]), (Row{"..two", "", "", "0", "-ah-", "FALSE"}));
    EXPECT_EQ(Cells(rows[dir / "README"]), (Row{"README", "", "", "0", "-a--", "FALSE"}));
    EXPECT_EQ(Cells(rows[dir / "ends."]), (Row{"ends", "", "", "0", "-a--", "FALSE"}));
    EXPECT_EQ(Cells(rows[dir / "sub.d"]), (Row{"sub", "d", "", "0", "----", "TRUE"}));
    EXPECT_EQ(Cells(rows[dir / "link"]), (Row{"link", "", "", "0", "----", "TRUE"}));
    const QRecord* tar = rows[dir / "archive.tar.gz"];
    EXPECT_EQ(tar->GetValue("Date").AsDouble(), tar->GetValue("Time").AsDouble());

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
