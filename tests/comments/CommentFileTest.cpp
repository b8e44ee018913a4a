#include "comments/CommentFile.h"

#include "../platform/TestDirectory.h"

#include <clocale>
#include <gtest/gtest.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::TestDirectory;

namespace {

std::string Le16(uint16_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}
std::string Le32(uint32_t v) {
    return Le16(static_cast<uint16_t>(v)) + Le16(static_cast<uint16_t>(v >> 16));
}

// count, then key and comment with one-byte lengths.
std::string FileOf(std::initializer_list<std::pair<std::string, std::string>> entries) {
    std::string b = Le32(static_cast<uint32_t>(entries.size()));
    for (const auto& [k, c] : entries)
        b += std::string(1, static_cast<char>(k.size())) + k +
             std::string(1, static_cast<char>(c.size())) + c;
    return b;
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

TEST(CommentFileFormat, ThreeLengthForms) {
    std::string c254(254, 'x'), c255(255, 'y'), c65533(65533, 'z'), c65534(65534, 'w');
    std::string bytes =
        CommentFile::Serialize({{"a.txt", c254}, {"b", c255}, {"c", c65533}, {"d", c65534}});
    std::string expected = Le32(4) +
                           "\x05"
                           "a.txt" +
                           "\xFE" + c254 +
                           "\x01"
                           "b" +
                           "\xFF" + Le16(255) + c255 +
                           "\x01"
                           "c" +
                           "\xFF" + Le16(65533) + c65533 +
                           "\x01"
                           "d" +
                           "\xFF" + Le16(0xFFFF) + Le32(65534) + c65534;
    EXPECT_EQ(bytes, expected);

    std::vector<CommentEntry> back;
    EXPECT_TRUE(CommentFile::ParseEntries(bytes + "trailing bytes mean nothing", back));
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[3].comment, c65534);
}

TEST(CommentFileFormat, SixteenBitStringsBecomeUtf8) {
    // Key "é.txt" and comment "Ω" as 16-bit strings: 0xFF, 0xFFFE, length.
    std::string bytes = Le32(1) + "\xFF" + Le16(0xFFFE) + "\x05" + Le16(0xE9) + Le16('.') +
                        Le16('t') + Le16('x') + Le16('t') + "\xFF" + Le16(0xFFFE) + "\x01" +
                        Le16(0x03A9);
    std::vector<CommentEntry> entries;
    ASSERT_TRUE(CommentFile::ParseEntries(bytes, entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].key, "\xC3\xA9.txt");
    EXPECT_EQ(entries[0].comment, "\xCE\xA9");
}

TEST(CommentFileFormat, DamagedInputKeepsTheCompleteEntries) {
    std::string good = FileOf({{"one", "1"}, {"two", "2"}});
    std::vector<CommentEntry> entries;
    const size_t firstEntryEnd = 4 + (1 + 3) + (1 + 1);
    for (size_t cut = 0; cut < good.size(); ++cut) {
        bool complete = CommentFile::ParseEntries(good.substr(0, cut), entries);
        EXPECT_EQ(complete, cut == 0) << cut; // no bytes at all is an empty file
        EXPECT_EQ(entries.size(), cut >= firstEntryEnd ? 1u : 0u) << cut;
    }
    // A count far beyond the bytes: what is there is read, no more.
    EXPECT_FALSE(CommentFile::ParseEntries(Le32(0xFFFFFFFF) + "\x01"
                                                              "a"
                                                              "\x01"
                                                              "b",
                                           entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].comment, "b");
}

TEST(CommentFileLookup, CaseFallbackOnlyToOrphanKeysAndOnlyForReading) {
    std::setlocale(LC_ALL, "C.UTF-8");
    TestDirectory dir;
    dir.Write("dir_info.orb", FileOf({{"README", "upper"},
                                      {"readme", "lower"},
                                      {"Notes.TXT", "orphan"},
                                      {"\xC3\x84RGER.txt", "umlaut"},
                                      {"A.TXT", "the twin's"},
                                      {":THIS_DIR:", "the directory's"}}));
    // On disk: case twins, and two names whose keys were written on a file
    // system that ignores case.
    for (const char* name : {"README", "readme", "notes.txt", "\xC3\xA4rger.TXT", "a.txt", "A.TXT"})
        dir.Write(name);
    CommentFile file;
    ASSERT_EQ(file.Load(dir.Path()), 6);
    EXPECT_EQ(file.GetComment("readme"), "lower");
    EXPECT_EQ(file.GetComment("README"), "upper");
    EXPECT_EQ(file.GetComment("ReadMe"), ""); // both keys belong to entries on disk
    EXPECT_EQ(file.GetComment("notes.txt"), "orphan");
    EXPECT_EQ(file.GetComment("\xC3\xA4rger.TXT"), "umlaut");
    EXPECT_EQ(file.GetComment("a.txt"), "");
    EXPECT_EQ(file.GetComment("A.TXT"), "the twin's");
    // An entry named like the directory's key has no comment, in any case.
    EXPECT_EQ(file.GetComment(":THIS_DIR:"), "");
    EXPECT_EQ(file.GetComment(":this_dir:"), "");
    EXPECT_EQ(file.OwnComment(), "the directory's");

    // Storing and taking match the exact key only.
    EXPECT_FALSE(file.SetComment("a.txt", "")); // nothing to remove
    EXPECT_EQ(file.TakeComment("a.txt"), "");
    EXPECT_TRUE(file.SetComment("a.txt", "its own"));
    EXPECT_EQ(file.GetComment("a.txt"), "its own");
    EXPECT_EQ(file.GetComment("A.TXT"), "the twin's");
    EXPECT_TRUE(file.SetComment("notes.txt", "exact"));
    EXPECT_EQ(file.Entries()[2], (CommentEntry{"Notes.TXT", "orphan"}));
    EXPECT_EQ(file.GetComment("notes.txt"), "exact");
    EXPECT_EQ(file.TakeComment("README"), "upper");
    EXPECT_EQ(file.GetComment("README"), "");
    EXPECT_EQ(file.Entries().size(), 7u);
    std::setlocale(LC_ALL, "C");
}

TEST(CommentFileSaving, WritesOnlyWhatChangedAndDeletesWhenEmpty) {
    TestDirectory dir;
    std::string path = dir.Write("dir_info.orb", FileOf({{"a", "1"}}) + "junk");
    ino_t before = InodeOf(path);
    {
        CommentFile file;
        ASSERT_EQ(file.Load(dir.Path() + "/"), 1);
        EXPECT_EQ(file.GetComment("a"), "1");
    } // closing an unchanged file leaves it alone
    EXPECT_EQ(InodeOf(path), before);
    EXPECT_EQ(ReadFile(path), FileOf({{"a", "1"}}) + "junk");

    {
        CommentFile file;
        file.Load(dir.Path());
        file.SetComment("b", "2");
    }
    EXPECT_EQ(ReadFile(path), FileOf({{"a", "1"}, {"b", "2"}}));
    EXPECT_NE(InodeOf(path), before); // replaced by rename, never rewritten in place

    ::unlink(path.c_str());
    CommentFile created;
    EXPECT_EQ(created.Load(dir.Path()), -1);
    EXPECT_FALSE(created.IsOpen());
    ASSERT_EQ(created.Create(dir.Path()), 0);
    EXPECT_EQ(ReadFile(path), "");
    created.SetComment(std::string(kThisDirKey), "mine");
    created.Close();
    EXPECT_EQ(ReadFile(path), FileOf({{":THIS_DIR:", "mine"}}));
    EXPECT_EQ(CommentFile().Create(dir / "missing"), -1);
}

TEST(CommentFileSaving, DamagedOrForeignFilesAreNeverReplaced) {
    TestDirectory dir;
    std::string truncated = FileOf({{"keep", "me"}, {"lost", "tail"}});
    truncated.resize(truncated.size() - 2);
    std::string path = dir.Write("dir_info.orb", truncated);
    {
        CommentFile file;
        ASSERT_EQ(file.Load(dir.Path()), 1);
        EXPECT_TRUE(file.IsDamaged());
        EXPECT_EQ(file.GetComment("keep"), "me");
        EXPECT_TRUE(file.SetComment("new", "x"));
        EXPECT_FALSE(file.Save(dir.Path()));
    }
    EXPECT_EQ(ReadFile(path), truncated);

    // Neither a directory nor a FIFO of that name may hang or vanish.
    TestDirectory odd;
    odd.MakeDirectory("dir_info.orb/inside");
    odd.MakeDirectory("sub");
    ASSERT_EQ(::mkfifo((odd / "sub/dir_info.orb").c_str(), 0644), 0);
    for (const std::string& d : {odd.Path(), odd / "sub"}) {
        CommentFile f;
        EXPECT_EQ(f.Load(d), 0);
        EXPECT_TRUE(f.IsDamaged());
        f.SetComment("x", "y");
        EXPECT_FALSE(f.Save(d));
    }
    struct stat st {};
    EXPECT_EQ(::stat((odd / "dir_info.orb/inside").c_str(), &st), 0);
}

namespace {

// Whether another holder has the directory flocked: flock holds per open
// file, so a fresh open of this process counts as another.
bool FlockedElsewhere(const std::string& directory) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

} // namespace

TEST(CommentFileLock, WritersHoldTheDirectoryAcrossProcessesReadersDoNot) {
    TestDirectory dir;
    dir.Write("dir_info.orb", FileOf({{"a", "1"}}));
    {
        CommentFile reader;
        ASSERT_EQ(reader.Read(dir.Path()), 1);
        EXPECT_FALSE(FlockedElsewhere(dir.Path()));
        EXPECT_TRUE(reader.SetComment("b", "2"));
        EXPECT_FALSE(reader.Save(dir.Path())); // a reader never writes
    }
    CommentFile writer;
    ASSERT_EQ(writer.Load(dir.Path()), 1);
    EXPECT_TRUE(FlockedElsewhere(dir.Path()));
    {
        // The same thread again, by another spelling of the path: shares
        // the hold instead of waiting for itself.
        CommentFileLock again(dir.Path() + "/.");
        EXPECT_TRUE(FlockedElsewhere(dir.Path()));
    }
    EXPECT_TRUE(FlockedElsewhere(dir.Path())); // the outer hold goes on
    writer.Close();
    EXPECT_FALSE(FlockedElsewhere(dir.Path()));
}
