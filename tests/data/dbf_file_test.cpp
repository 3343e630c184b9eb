// The .dbf format on disk: what we write, and what damaged files do.
#include "data/dbf/dbf_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "data/dbf/memo_file.h"
#include "data/table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

uint8_t Byte(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]);
}

class DbfFileTest : public ::testing::Test {
protected:
    void MakeTable(int rows) {
        ASSERT_TRUE(Table::Create(dir.path(), "t.dbf",
                                  {FieldDef::Char("NAME", 12), FieldDef::Float("KM", 20, 4),
                                   FieldDef::DateField("DAY"), FieldDef::Logical("OK")})
                        .ok());
        Table t(dir.path(), "t.dbf");
        ASSERT_TRUE(t.open().ok());
        for (int i = 0; i < rows; ++i) {
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("NAME", "Žďár " + std::to_string(i)).ok());
            ASSERT_TRUE(t.setValue("KM", 1.25 * i).ok());
            ASSERT_TRUE(t.setValue("DAY", *Date::FromYmd(2020, 2, 29)).ok());
            ASSERT_TRUE(t.setValue("OK", i % 2 == 0).ok());
            ASSERT_TRUE(t.post().ok());
        }
    }

    // Opens and walks every row; must never crash, whatever the file holds.
    Status OpenAndScan() {
        Table t(dir.path(), "t.dbf");
        KOLVIO_RETURN_IF_ERROR(t.open());
        for (Status st = t.first(); !t.eof(); st = t.next()) {
            KOLVIO_RETURN_IF_ERROR(st);
            for (int f = 0; f < static_cast<int>(t.fields().size()); ++f)
                (void)t.value(f);
        }
        return Status::Ok();
    }

    TempDir dir;
};

TEST_F(DbfFileTest, HeaderHasTheBytesOtherDbaseProgramsExpect) {
    MakeTable(3);
    const std::string b = ReadAll(dir.file("t.dbf"));
    EXPECT_EQ(Byte(b, 0), 0x03);  // level 5 table without memo
    EXPECT_EQ(Byte(b, 4), 3);     // record count
    EXPECT_EQ(Byte(b, 8), 32 + 4 * 32 + 1);
    EXPECT_EQ(Byte(b, 10), 1 + 12 + 20 + 8 + 1);
    EXPECT_EQ(Byte(b, 28), 0);     // no production index
    EXPECT_EQ(Byte(b, 29), 0x1F);  // code page 852
    EXPECT_EQ(Byte(b, 32 + 4 * 32), 0x0D);
    EXPECT_EQ(b.size(), 161u + 3 * 42 + 1);
    EXPECT_EQ(b.back(), 0x1A);
    // The text is stored in code page 852: Ž = 0xA6, ď = 0xD4, á = 0xA0.
    EXPECT_EQ(b.substr(162, 4), std::string("\xA6\xD4\xA0r"));
    EXPECT_EQ(b.substr(162 + 12 + 20, 8), "20200229");
}

TEST_F(DbfFileTest, TableWithBlobGetsMemoVersionAndMemoFile) {
    ASSERT_TRUE(Table::Create(dir.path(), "typ_trs.dbf",
                              {FieldDef::Float("TRS_C", 20, 4), FieldDef::Blob("TRS_OBR")})
                    .ok());
    Table t(dir.path(), "typ_trs.dbf");
    ASSERT_TRUE(t.open().ok());
    const std::string picture("\x89PNG\0\x01\x02", 7);
    ASSERT_TRUE(t.append().ok());
    ASSERT_TRUE(t.setValue("TRS_OBR", picture).ok());
    ASSERT_TRUE(t.post().ok());
    t.close();
    EXPECT_EQ(Byte(ReadAll(dir.file("typ_trs.dbf")), 0), 0x8B);
    ASSERT_TRUE(t.open().ok());
    EXPECT_EQ(t.getString("TRS_OBR"), picture);
}

TEST_F(DbfFileTest, MissingEndOfFileMarkerIsAccepted) {
    MakeTable(2);
    std::string b = ReadAll(dir.file("t.dbf"));
    b.pop_back();
    WriteAll(dir.file("t.dbf"), b);
    Table t(dir.path(), "t.dbf");
    ASSERT_TRUE(t.open().ok());
    EXPECT_EQ(t.recordCount(), 2);
}

TEST_F(DbfFileTest, TruncatedFileIsRefusedWithItsName) {
    MakeTable(5);
    std::string b = ReadAll(dir.file("t.dbf"));
    b.resize(b.size() - 60);
    WriteAll(dir.file("t.dbf"), b);
    const Status st = OpenAndScan();
    EXPECT_EQ(st.code(), Status::Code::kCorrupt);
    EXPECT_NE(st.message().find("t.dbf"), std::string::npos);
}

TEST_F(DbfFileTest, HeaderLengthBeyondFileIsRefused) {
    MakeTable(1);
    std::string b = ReadAll(dir.file("t.dbf"));
    b[8] = '\xFF';
    b[9] = '\x7F';
    WriteAll(dir.file("t.dbf"), b);
    EXPECT_EQ(OpenAndScan().code(), Status::Code::kCorrupt);
}

TEST_F(DbfFileTest, FieldsLongerThanTheRecordAreRefused) {
    MakeTable(1);
    std::string b = ReadAll(dir.file("t.dbf"));
    b[10] = 5;  // record length smaller than the fields
    WriteAll(dir.file("t.dbf"), b);
    EXPECT_EQ(OpenAndScan().code(), Status::Code::kCorrupt);
}

TEST_F(DbfFileTest, FailedOpenNeverWritesToTheFile) {
    MakeTable(3);
    std::string b = ReadAll(dir.file("t.dbf"));
    b[4] = 100;  // claims more rows than there are
    WriteAll(dir.file("t.dbf"), b);
    EXPECT_FALSE(OpenAndScan().ok());
    EXPECT_EQ(ReadAll(dir.file("t.dbf")), b);
}

TEST_F(DbfFileTest, RandomlyDamagedFilesGiveErrorsNotCrashes) {
    MakeTable(20);
    const std::string good = ReadAll(dir.file("t.dbf"));
    std::mt19937 rng(2024);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bad = good;
        const int flips = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < flips; ++i) {
            // Mostly hit the header and descriptors, where lengths live.
            const size_t limit = rng() % 3 == 0 ? bad.size() : 161;
            bad[rng() % limit] = static_cast<char>(rng());
        }
        if (rng() % 5 == 0) bad.resize(rng() % bad.size());
        WriteAll(dir.file("t.dbf"), bad);
        if (!OpenAndScan().ok()) ++refused;
    }
    EXPECT_GT(refused, 0);
}

TEST_F(DbfFileTest, MemoBlockOutsideTheMemoFileReadsAsNull) {
    ASSERT_TRUE(Table::Create(dir.path(), "m.dbf", {FieldDef::Memo("NOTE")}).ok());
    Table t(dir.path(), "m.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.append().ok());
    ASSERT_TRUE(t.setValue("NOTE", "dlouhá poznámka").ok());
    ASSERT_TRUE(t.post().ok());
    EXPECT_EQ(t.getString("NOTE"), "dlouhá poznámka");
    t.close();
    std::string b = ReadAll(dir.file("m.dbf"));
    const size_t field = Byte(b, 8) + 1;
    b.replace(field, 10, "    999999");
    WriteAll(dir.file("m.dbf"), b);
    ASSERT_TRUE(t.open().ok());
    EXPECT_TRUE(t.isNull("NOTE"));
}

TEST_F(DbfFileTest, DbaseThreeTablesWithMemoAndIntegerFieldsAreRead) {
    // Built by hand as dBase III and FoxPro-era tools write them.
    DbfHeader h;
    ASSERT_TRUE(
        MakeHeader({FieldDef::Char("NAME", 8), FieldDef::Memo("NOTE"), FieldDef::Integer("COUNT")},
                   &h)
            .ok());
    h.version = kVersionDb3Memo;
    h.languageDriver = 0;
    h.recordCount = 1;
    std::string b = SerializeHeader(h);
    std::string rec = " Brno    " + std::string("         1") + std::string("\x39\x30\0\0", 4);
    b += rec;  // no end-of-file marker
    WriteAll(dir.file("old.dbf"), b);
    std::string memo(512, '\0');
    memo[0] = 2;
    memo += "Okruh kolem přehrady\x1A\x1A";
    memo.resize(1024, '\0');
    WriteAll(dir.file("old.dbt"), memo);
    Table t(dir.path(), "old.dbf");
    t.setCodePage(CodePage::kCp852);
    ASSERT_TRUE(t.open().ok());
    EXPECT_EQ(t.getString("NAME"), "Brno");
    EXPECT_EQ(t.getInt("COUNT"), 12345);
    EXPECT_EQ(t.getString("NOTE").substr(0, 5), "Okruh");
}

}  // namespace
}  // namespace kolvio
