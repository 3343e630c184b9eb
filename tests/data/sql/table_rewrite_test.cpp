// AddColumn: the whole-file rewrite behind ALTER TABLE and the upgrade.
#include "data/table_rewrite.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/file.h"
#include "data/temp_dir.h"

namespace kolvio {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AddColumnTest : public ::testing::Test {
protected:
    // Three records: live, deleted, live with a memo reference; language
    // byte of the old Windows tables.
    void SetUp() override {
        path_ = dir_.file("jizdy.dbf");
        DbfHeader h;
        ASSERT_TRUE(MakeHeader({FieldDef::DateField("DATUM"), FieldDef::Numeric("DELKA", 8, 2),
                                FieldDef::Memo("POZN")},
                               &h)
                        .ok());
        h.languageDriver = 0x57;
        ASSERT_TRUE(DbfFile::Create(path_, h).ok());
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(path_, true, LockMode::kExclusive, &f).ok());
        uint32_t recno = 0;
        records_ = {" 20240101   12.50          ", "*20240102    3.00          ",
                    " 20240103   40.25         7"};
        for (const auto& r : records_) {
            ASSERT_EQ(r.size(), f->recordLength());
            ASSERT_TRUE(f->appendRecord(r, &recno).ok());
        }
    }

    kolvio::testing::TempDir dir_;
    std::string path_;
    std::vector<std::string> records_;
};

TEST_F(AddColumnTest, EveryRecordKeepsItsBytesDeletionFlagAndMemoReference) {
    ASSERT_TRUE(AddColumn(dir_.path(), "jizdy.dbf", FieldDef::Numeric("ROK", 11, 0)).ok());
    std::unique_ptr<DbfFile> f;
    ASSERT_TRUE(DbfFile::Open(path_, false, LockMode::kShared, &f).ok());
    ASSERT_EQ(f->recordCount(), 3u);
    ASSERT_EQ(f->header().fields.size(), 4u);
    EXPECT_EQ(f->header().fields[3].name, "ROK");
    EXPECT_EQ(f->recordLength(), records_[0].size() + 11);
    for (uint32_t r = 0; r < 3; ++r) {
        std::string rec;
        ASSERT_TRUE(f->readRecord(r, &rec).ok());
        EXPECT_EQ(rec, records_[r] + std::string(11, ' ')) << r;
    }
}

TEST_F(AddColumnTest, HeaderKeepsLanguageByteAndVersion) {
    const std::string before = ReadAll(path_);
    ASSERT_TRUE(AddColumn(dir_.path(), "JIZDY.DBF", FieldDef::Logical("SR_MER")).ok());
    const std::string after = ReadAll(path_);
    EXPECT_EQ(after[0], before[0]);  // memo-file version stays
    EXPECT_EQ(static_cast<uint8_t>(after[29]), 0x57);
    EXPECT_EQ(after.back(), '\x1A');
}

TEST_F(AddColumnTest, RefusedWhileAnotherHandleHasTheTableAndFileUnchanged) {
    const std::string before = ReadAll(path_);
    std::unique_ptr<DbfFile> reader;
    ASSERT_TRUE(DbfFile::Open(path_, false, LockMode::kShared, &reader).ok());
    const Status st = AddColumn(dir_.path(), "jizdy.dbf", FieldDef::Numeric("ROK", 11, 0));
    EXPECT_EQ(st.code(), Status::Code::kLocked);
    EXPECT_NE(st.message().find("jizdy.dbf"), std::string::npos);
    EXPECT_EQ(ReadAll(path_), before);
    EXPECT_FALSE(PathExists(RewriteTempPath(path_)));
}

TEST_F(AddColumnTest, ExistingColumnIsRefusedInAnyCase) {
    const std::string before = ReadAll(path_);
    const Status st = AddColumn(dir_.path(), "jizdy.dbf", FieldDef::Numeric("delka", 11, 0));
    EXPECT_EQ(st.code(), Status::Code::kInvalid);
    EXPECT_EQ(ReadAll(path_), before);
}

TEST_F(AddColumnTest, MissingTableNamesTheFile) {
    const Status st = AddColumn(dir_.path(), "nic.dbf", FieldDef::Numeric("ROK", 11, 0));
    EXPECT_FALSE(st.ok());
    EXPECT_NE(st.message().find("nic.dbf"), std::string::npos);
}

TEST_F(AddColumnTest, TableGrowsAfterExclusiveUseEnds) {
    {
        std::unique_ptr<DbfFile> holder;
        ASSERT_TRUE(DbfFile::Open(path_, false, LockMode::kShared, &holder).ok());
    }
    EXPECT_TRUE(AddColumn(dir_.path(), "jizdy.dbf", FieldDef::Numeric("ROK", 11, 0)).ok());
    EXPECT_TRUE(AddColumn(dir_.path(), "jizdy.dbf", FieldDef::Float("SR_PLP", 20, 4)).ok());
    std::unique_ptr<DbfFile> f;
    ASSERT_TRUE(DbfFile::Open(path_, false, LockMode::kShared, &f).ok());
    EXPECT_EQ(f->header().fields.size(), 5u);
    EXPECT_EQ(f->recordCount(), 3u);
}

}  // namespace
}  // namespace kolvio
