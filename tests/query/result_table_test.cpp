// Writing a result into VYSLEDEK: the rows as the statement gives them, and
// the previous table kept whole whenever the write cannot be done.
#include "query/result_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/database/database.h"
#include "data/dbf/dbf_file.h"
#include "data/index/index_def.h"
#include "data/sql/sql_engine.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ResultTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
        Table& rides = db.Table1();
        for (int i = 1; i <= 3; ++i) {
            ASSERT_TRUE(rides.append().ok());
            ASSERT_TRUE(rides.setValue("DATUM", *Date::FromYmd(2024, i, 10 + i)).ok());
            ASSERT_TRUE(rides.setValue("DELKA", 20.5 * i).ok());
            ASSERT_TRUE(rides.setValue("POPIS1", "jízda č. " + std::to_string(i)).ok());
            ASSERT_TRUE(rides.post().ok());
        }
    }

    Status Write(std::string_view statement) {
        ResultTableReport report;
        const Status st = WriteResultTable(tmp.path(), statement, "VYSLEDEK.dbf", &report);
        rows = report.rows;
        return st;
    }

    std::string vysledek() const { return tmp.file("VYSLEDEK.dbf"); }
    bool noTemporaryFile() const { return !std::filesystem::exists(RewriteTempPath(vysledek())); }

    testing::TempDir tmp;
    Database db;
    int64_t rows = -1;
};

TEST_F(ResultTableTest, RowsAndFieldsAreThoseOfTheStatementInResultOrder) {
    const char* statement =
        "select JIZDY.DATUM, JIZDY.DELKA, JIZDY.POPIS1, MESIC_C AS MESIC from jizdy order by "
        "DELKA desc";
    ASSERT_TRUE(Write(statement).ok());
    EXPECT_EQ(rows, 3);
    std::unique_ptr<sql::ResultSet> expected;
    ASSERT_TRUE(sql::Query(tmp.path(), statement, &expected).ok());

    Table table(tmp.path(), "VYSLEDEK.dbf");
    ASSERT_TRUE(table.open().ok());
    ASSERT_EQ(table.fields().size(), expected->fields().size());
    for (size_t f = 0; f < table.fields().size(); ++f) {
        EXPECT_EQ(table.fields()[f].name, expected->fields()[f].name);
        EXPECT_EQ(table.fields()[f].type, expected->fields()[f].type);
        EXPECT_EQ(table.fields()[f].length, expected->fields()[f].length);
    }
    ASSERT_EQ(table.recordCount(), 3);
    int64_t row = 0;
    for (Status st = table.first(); st.ok() && !table.eof(); st = table.next(), ++row) {
        for (size_t f = 0; f < table.fields().size(); ++f)
            EXPECT_EQ(table.value(static_cast<int>(f)),
                      expected->valueAt(row, static_cast<int>(f)));
    }
    EXPECT_EQ(table.getString("POPIS1"), "jízda č. 1");
    EXPECT_TRUE(noTemporaryFile());
}

TEST_F(ResultTableTest, ARefusedStatementLeavesThePreviousTableByteIdentical) {
    ASSERT_TRUE(Write("select DELKA from jizdy").ok());
    const std::string before = Bytes(vysledek());
    for (const char* bad :
         {"select  from jizdy", "select DATUM from jizdy where datum > \"32.13.x\"",
          "select NOPE from jizdy", "select DATUM from chybi"}) {
        EXPECT_FALSE(Write(bad).ok()) << bad;
        EXPECT_EQ(Bytes(vysledek()), before) << bad;
        EXPECT_TRUE(noTemporaryFile()) << bad;
    }
}

TEST_F(ResultTableTest, ATableHeldOpenElsewhereIsRefusedAndKept) {
    ASSERT_TRUE(Write("select DELKA from jizdy").ok());
    const std::string before = Bytes(vysledek());
    for (bool exclusive : {false, true}) {
        Table other(tmp.path(), "VYSLEDEK.dbf");
        ASSERT_TRUE(other.open(exclusive).ok());
        const Status st = Write("select DATUM, DELKA from jizdy");
        EXPECT_EQ(st.code(), Status::Code::kLocked);
        EXPECT_NE(st.message().find("má otevřenou jiný program nebo okno"), std::string::npos)
            << st.message();
        EXPECT_EQ(Bytes(vysledek()), before);
        EXPECT_TRUE(noTemporaryFile());
    }
}

TEST_F(ResultTableTest, TheSortIndexesOfThePreviousResultAreDropped) {
    ASSERT_TRUE(Write("select DELKA from jizdy").ok());
    {
        Table table(tmp.path(), "VYSLEDEK.dbf");
        ASSERT_TRUE(table.open(true).ok());
        ASSERT_TRUE(table.addIndex({"_DELKA", "DELKA", true}).ok());
    }
    ASSERT_FALSE(ReadIndexDefs(IndexSidecarPath(vysledek())).empty());
    ASSERT_TRUE(Write("select DATUM from jizdy").ok());
    EXPECT_TRUE(ReadIndexDefs(IndexSidecarPath(vysledek())).empty());
}

TEST_F(ResultTableTest, AnEmptyResultGivesAnEmptyTableWithItsFields) {
    ASSERT_TRUE(Write("select DATUM, DELKA from jizdy where DELKA > \"1000\"").ok());
    EXPECT_EQ(rows, 0);
    Table table(tmp.path(), "VYSLEDEK.dbf");
    ASSERT_TRUE(table.open().ok());
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(table.fields().size(), 2u);
}

}  // namespace
}  // namespace kolvio
