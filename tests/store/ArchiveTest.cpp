#include "platform/FileIO.h"
#include "store/StoreArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace orvo;

namespace {

const QFieldDef kNameOnly[] = {{"Name", QVT_LPSTR, 0xC06}};

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Le32(uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

// The table of the worked example: NoName, one column Name, one row a.txt.
std::string WorkedExample(uint32_t created, uint32_t storedId = 0) {
    std::string b;
    b += '\x0E';
    b += "+QTable v.1.0+";
    b += '\x06';
    b += "NoName";
    b += Le32(created);
    b += '\x00';
    b += Le32(1);
    b += '\x04';
    b += "Name";
    b += std::string("\x05\x00", 2) + std::string("\x06\x0C\x00\x00", 4) + std::string(5, '\0');
    b += Le32(1);
    b += Le32(storedId) + Le32(1) + std::string("\x05\x00", 2) + Le32(5) + "a.txt";
    return b;
}

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/orvo-store-XXXXXX";
        path_ = ::mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const char* name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace

TEST(ArchiveFormat, WorkedExampleReadsAndWritesByteForByte) {
    std::string bytes = WorkedExample(0x5F000000);
    QTable t;
    ArchiveReader in(bytes);
    ReadTable(in, t);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(t.GetName(), "NoName");
    EXPECT_EQ(t.GetCreated(), 0x5F000000u);
    ASSERT_EQ(t.GetRecordCount(), 1);
    EXPECT_EQ(t.GetText("Name", 0), "a.txt");
    ArchiveWriter out;
    WriteTable(out, t);
    EXPECT_EQ(Hex(out.Data()), Hex(bytes));
}

TEST(ArchiveFormat, TextPrefixesAtTheirBoundaries) {
    struct Case {
        size_t length;
        std::string prefix;
    } cases[] = {
        {0, "00"},        {254, "FE"},          {255, "FFFF00"},
        {65533, "FFFDFF"}, {65534, "FFFFFFFEFF0000"}, {70000, "FFFFFF70110100"},
    };
    for (const Case& c : cases) {
        ArchiveWriter out;
        out.Text(std::string(c.length, 'x'));
        EXPECT_EQ(Hex(out.Data().substr(0, c.prefix.size() / 2)), c.prefix) << c.length;
        EXPECT_EQ(out.Data().size(), c.length + c.prefix.size() / 2);
        ArchiveReader in(out.Data());
        EXPECT_EQ(in.Text().size(), c.length);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(ArchiveFormat, EveryValueTagRoundTrips) {
    std::vector<QValue> values;
    values.emplace_back();
    values.emplace_back(int32_t{-7}, QVT_INT);
    values.emplace_back(uint32_t{4000000000u}, QVT_DWORD);
    values.emplace_back(2.5, QVT_DOUBLE);
    values.emplace_back(std::string_view(""));
    values.emplace_back(std::string_view("text"));
    values.emplace_back(true, QVT_BOOL);
    values.emplace_back(45000.5, QVT_DATE);
    values.push_back(QValue::Blob(std::string_view("\0\1\2", 3)));
    QValue odd;
    odd.SetFromText("", 42);
    values.push_back(odd);

    ArchiveWriter out;
    for (const QValue& v : values)
        WriteValue(out, v);
    EXPECT_EQ(Hex(out.Data()),
              "0100"                       // empty
              "0200F9FFFFFF"               // int
              "030000286BEE"               // dword
              "04000000000000000440"       // double
              "050000000000"               // empty string: tag and length 0
              "050004000000" "74657874"    // text
              "060001000000"               // bool true as a u32
              "070000000000" "10F9E540"     // date
              "080003000000000102"         // blob
              "2A00");                     // unknown tag: no payload
    ArchiveReader in(out.Data());
    for (const QValue& v : values) {
        QValue r = ReadValue(in);
        EXPECT_EQ(r.Type(), v.Type());
        EXPECT_EQ(r.ToText(), v.ToText());
    }
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ArchiveFormat, EmptyDataBaseAndIdsRenumberedOnLoad) {
    QDataBase db;
    db.SetName("opts");
    ArchiveWriter out;
    WriteDataBase(out, db);
    EXPECT_EQ(out.Data().size(), 56u + 5u + 4u);
    EXPECT_EQ(static_cast<unsigned char>(out.Data()[0]), 0x37);

    std::string bytes = WorkedExample(1, 7);
    // Add a second row stored with id 9.
    bytes.replace(bytes.size() - (4 + 4 + 2 + 4 + 5) - 4, 4, Le32(2));
    bytes += Le32(9) + Le32(1) + std::string("\x05\x00", 2) + Le32(1) + "b";
    QTable t;
    ArchiveReader in(bytes);
    ReadTable(in, t);
    ASSERT_EQ(t.GetRecordCount(), 2);
    EXPECT_EQ(t.GetRecord(0)->GetId(), 0u);
    EXPECT_EQ(t.GetRecord(1)->GetId(), 1u);
}

TEST(ArchiveFormat, WideTextsAreReadAsUtf8) {
    // 0xFF, 0xFFFE, then a one-byte length of 3 characters: "Aé€".
    std::string bytes = std::string("\xFF\xFE\xFF\x03", 4) + std::string("A\0\xE9\0\xAC\x20", 6);
    ArchiveReader in(bytes);
    EXPECT_EQ(in.Text(), "A\xC3\xA9\xE2\x82\xAC");
    // A surrogate pair becomes one four-byte character.
    std::string pair = std::string("\xFF\xFE\xFF\x02", 4) + std::string("\x3D\xD8\x00\xDE", 4);
    ArchiveReader in2(pair);
    EXPECT_EQ(in2.Text(), "\xF0\x9F\x98\x80");
}

TEST(ArchiveErrors, WrongBannersKeepTheObjectAndSayWhy) {
    QTable t(kNameOnly, 1);
    t.SetName("Mine");
    t.AddRecord(t.NewRecord());
    QDataBase db;
    ArchiveWriter dbOut;
    WriteDataBase(dbOut, db);
    ArchiveReader in(dbOut.Data());
    try {
        ReadTable(in, t);
        FAIL() << "a database was read as a table";
    } catch (const ArchiveError& e) {
        EXPECT_STREQ(e.what(), "Internal error occured. Trying to load NON QTable to a QTable object. Name : Mine");
    }
    EXPECT_EQ(t.GetRecordCount(), 1);

    ArchiveWriter tableOut;
    WriteTable(tableOut, t);
    auto keep = std::make_unique<QTable>();
    keep->SetName("kept");
    db.AddTable(std::move(keep));
    ArchiveReader in2(tableOut.Data());
    EXPECT_THROW(ReadDataBase(in2, db), ArchiveError);
    EXPECT_EQ(db.GetTableCount(), 1);
    EXPECT_NE(db.GetTable("kept"), nullptr);
}

TEST(ArchiveErrors, DamagedFilesFailCleanlyAtEveryCut) {
    QTable t(kNameOnly, 1);
    for (const char* n : {"one", "two", "three"}) {
        QRecord r = t.NewRecord();
        r.SetText("Name", n);
        t.AddRecord(r);
    }
    ArchiveWriter out;
    WriteTable(out, t);
    const std::string& full = out.Data();
    for (size_t cut = 0; cut < full.size(); ++cut) {
        QTable target(kNameOnly, 1);
        target.SetName("before");
        ArchiveReader in(std::string_view(full).substr(0, cut));
        EXPECT_THROW(ReadTable(in, target), ArchiveError) << cut;
        EXPECT_EQ(target.GetName(), "before");
        EXPECT_EQ(target.GetRecordCount(), 0);
    }

    // Counts far beyond the file size are refused before any allocation.
    std::string huge = WorkedExample(0);
    size_t rowCountAt = huge.size() - (4 + 4 + 2 + 4 + 5) - 4;
    huge.replace(rowCountAt, 4, Le32(0xFFFFFFFF));
    QTable target;
    ArchiveReader in(huge);
    try {
        ReadTable(in, target);
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_NE(std::string(e.what()).find("rows"), std::string::npos);
    }
    std::string longText = std::string("\x0E") + "+QTable v.1.0+" + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7);
    ArchiveReader in2(longText);
    EXPECT_THROW(ReadTable(in2, target), ArchiveError);
}

TEST(ArchiveFiles, SaveReplacesAtomicallyAndLoadRoundTrips) {
    TempDir dir;
    std::string path = dir.File("OrvoOptions.qad");
    QDataBase db;
    db.SetName("Options");
    auto t = std::make_unique<QTable>(kNameOnly, 1);
    t->SetName("Tips");
    QRecord r = t->NewRecord();
    r.SetText("Name", std::string(300, 'z'));
    t->AddRecord(r);
    db.AddTable(std::move(t));
    SaveDataBaseFile(path, db);
    std::string first = ReadWholeFile(path);

    QDataBase loaded;
    EXPECT_TRUE(LoadDataBaseFileIfExists(path, loaded));
    EXPECT_EQ(loaded.GetName(), "Options");
    ASSERT_NE(loaded.GetTable("tips"), nullptr);
    EXPECT_EQ(loaded.GetTable("tips")->GetText("Name", 0), std::string(300, 'z'));
    SaveDataBaseFile(path, loaded);
    EXPECT_EQ(ReadWholeFile(path), first);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")), {}), 1);

    EXPECT_FALSE(LoadDataBaseFileIfExists(dir.File("missing.qad"), loaded));
    EXPECT_THROW(LoadTableFile(dir.File("missing.orl"), *loaded.GetTableAt(0)), FileError);
    // A save that cannot be written leaves no stray file and throws.
    EXPECT_THROW(SaveTableFile(dir.File("no/such/dir/x.orl"), *loaded.GetTableAt(0)), FileError);
}

TEST(ArchiveFiles, LoadedRowsOutliveTheirTableOnlyAsCopies) {
    // Loaded rows and texts live in the table's arena; every way a row or a
    // cell leaves the table must copy, edits must not free arena text, and
    // a second load must release the first one's rows (ASan watches).
    QTable source(kNameOnly, 1);
    for (const char* n : {"alpha", "beta", "gamma"}) {
        QRecord r = source.NewRecord();
        r.SetText("Name", n);
        source.AddRecord(r);
    }
    ArchiveWriter out;
    WriteTable(out, source);

    QTable copyTarget(kNameOnly, 1);
    QValue kept;
    {
        auto loaded = std::make_unique<QTable>();
        ArchiveReader in(out.Data());
        ReadTable(in, *loaded);
        ASSERT_TRUE(loaded->GetRecord(0)->InArena());
        loaded->SetText("Name", 1, "replaced");
        loaded->GetRecord(2)->ResizeValues(2);
        loaded->DeleteRecord(0);
        copyTarget.AddRecord(*loaded->GetRecord(1));
        QTable copied(*loaded);
        kept = loaded->GetValue("Name", 0);
        ArchiveReader again(out.Data());
        ReadTable(again, *loaded);
        EXPECT_EQ(loaded->GetRecordCount(), 3);
        EXPECT_EQ(copied.GetText("Name", 0), "replaced");
    }
    EXPECT_EQ(copyTarget.GetText("Name", 0), "gamma");
    EXPECT_STREQ(kept.AsString(), "replaced");
}
