// The result as a dataset, and copying it into tables.
#include <gtest/gtest.h>

#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/sql/batch_copy.h"
#include "data/sql/sql_engine.h"
#include "data/table.h"
#include "data/temp_dir.h"
#include "diary_fixture.h"

namespace kolvio::sql {
namespace {

class ResultTest : public ::testing::Test {
protected:
    void SetUp() override {
        sqltest::WriteTable(dir_.path(),
                            {"t.dbf",
                             {FieldDef::Char("JMENO", 16), FieldDef::Numeric("CISLO", 12, 2)},
                             {{Value("Žluťoučký"), Value(1.5)},
                              {Value("příliš dlouhé"), Value(123456.0)},
                              {Value("kůň"), Value()}},
                             {}});
    }

    std::unique_ptr<ResultSet> Run(const std::string& sql) {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir_.path(), sql, &r);
        EXPECT_TRUE(st.ok()) << st.message();
        return r;
    }

    kolvio::testing::TempDir dir_;
};

TEST_F(ResultTest, CursorWalksBothWaysAndStopsAtTheEnds) {
    auto r = Run("select jmeno, cislo from t order by jmeno");
    ASSERT_EQ(r->recordCount(), 3);
    EXPECT_TRUE(r->isOpen());
    EXPECT_EQ(r->state(), DatasetState::kBrowse);
    ASSERT_TRUE(r->first().ok());
    EXPECT_TRUE(r->bof());
    EXPECT_EQ(r->getString("JMENO"), "kůň");
    ASSERT_TRUE(r->next().ok());
    ASSERT_TRUE(r->next().ok());
    EXPECT_EQ(r->rowNumber(), 2);
    EXPECT_FALSE(r->eof());
    ASSERT_TRUE(r->next().ok());
    EXPECT_TRUE(r->eof());
    EXPECT_EQ(r->rowNumber(), 2);  // stays on the last row
    ASSERT_TRUE(r->moveToRow(1).ok());
    EXPECT_EQ(r->getString("jmeno"), "příliš dlouhé");
    ASSERT_TRUE(r->prior().ok());
    ASSERT_TRUE(r->prior().ok());
    EXPECT_TRUE(r->bof());
    EXPECT_EQ(r->rowNumber(), 0);
    EXPECT_FALSE(r->moveToRow(3).ok());
    ASSERT_TRUE(r->last().ok());
    EXPECT_EQ(r->getString("JMENO"), "Žluťoučký");
    EXPECT_TRUE(r->isNull("NEEXISTUJE"));
}

TEST_F(ResultTest, EmptyResultIsAtBothEnds) {
    auto r = Run("select jmeno from t where cislo > 1000000");
    EXPECT_EQ(r->recordCount(), 0);
    EXPECT_TRUE(r->eof());
    EXPECT_TRUE(r->bof());
    EXPECT_EQ(r->rowNumber(), -1);
    EXPECT_TRUE(r->value(0).isNull());
}

TEST_F(ResultTest, ObserversHearMovesAndCloseEmptiesTheResult) {
    auto r = Run("select jmeno from t");
    int scrolls = 0;
    r->addObserver([&](DataChange c, int) { scrolls += c == DataChange::kScrolled; });
    ASSERT_TRUE(r->next().ok());
    EXPECT_EQ(scrolls, 1);
    r->close();
    EXPECT_FALSE(r->isOpen());
    EXPECT_EQ(r->recordCount(), 0);
    EXPECT_FALSE(r->next().ok());
}

TEST_F(ResultTest, CopyToNewTableTakesEveryRowWithoutTransliteration) {
    auto r = Run("select jmeno, cislo * 2 as dvakrat from t");
    CopyReport report;
    ASSERT_TRUE(CopyToNewTable(*r, dir_.path(), "VYSLEDEK.dbf", &report).ok());
    EXPECT_EQ(report.rows, 3);
    EXPECT_EQ(report.problemValues, 0);
    Table table(dir_.path(), "vysledek.dbf");
    ASSERT_TRUE(table.open().ok());
    EXPECT_EQ(table.recordCount(), 3);
    ASSERT_TRUE(table.first().ok());
    EXPECT_EQ(table.getString("JMENO"), "Žluťoučký");
    EXPECT_EQ(table.getDouble("DVAKRAT"), 3.0);
    ASSERT_TRUE(table.last().ok());
    EXPECT_TRUE(table.isNull("DVAKRAT"));
}

TEST_F(ResultTest, ValuesThatDoNotFitAreCountedAndTheCopyGoesOn) {
    sqltest::WriteTable(
        dir_.path(),
        {"uzky.dbf", {FieldDef::Char("JMENO", 4), FieldDef::Numeric("CISLO", 4, 1)}, {}, {}});
    auto r = Run("select jmeno, cislo from t");
    CopyReport report;
    ASSERT_TRUE(BatchCopy(*r, dir_.path(), "uzky.dbf", &report).ok());
    EXPECT_EQ(report.rows, 3);
    // "Žluťoučký" and "příliš dlouhé" are too long; 123456 has too many digits.
    EXPECT_EQ(report.problemValues, 3);
    EXPECT_FALSE(report.firstProblem.empty());
    Table table(dir_.path(), "uzky.dbf");
    ASSERT_TRUE(table.open().ok());
    ASSERT_EQ(table.recordCount(), 3);
    ASSERT_TRUE(table.first().ok());
    EXPECT_EQ(table.getString("JMENO"), "");
    EXPECT_EQ(table.getDouble("CISLO"), 1.5);
    ASSERT_TRUE(table.next().ok());
    EXPECT_TRUE(table.isNull("CISLO"));
    ASSERT_TRUE(table.next().ok());
    EXPECT_EQ(table.getString("JMENO"), "kůň");
}

TEST_F(ResultTest, BatchCopyAppendsByFieldNameAfterExistingRows) {
    sqltest::WriteTable(dir_.path(), {"cil.dbf",
                                      {FieldDef::Numeric("CISLO", 12, 2), FieldDef::Char("JINE", 5),
                                       FieldDef::Char("JMENO", 20)},
                                      {{Value(9.0), Value("x"), Value("před")}},
                                      {}});
    auto r = Run("select jmeno, cislo from t where cislo is not null");
    CopyReport report;
    ASSERT_TRUE(BatchCopy(*r, dir_.path(), "CIL.DBF", &report).ok());
    auto check = Run("select jmeno, cislo, jine from cil");
    ASSERT_EQ(check->size(), 3);
    EXPECT_EQ(check->valueAt(0, 0), Value("před"));
    EXPECT_EQ(check->valueAt(1, 0), Value("Žluťoučký"));
    EXPECT_EQ(check->valueAt(2, 1), Value(123456.0));
    EXPECT_EQ(check->valueAt(2, 2), Value(""));
}

TEST_F(ResultTest, RefusedStatementLeavesTheResultTableAlone) {
    auto r = Run("select jmeno from t");
    CopyReport report;
    ASSERT_TRUE(CopyToNewTable(*r, dir_.path(), "VYSLEDEK.dbf", &report).ok());
    std::unique_ptr<ResultSet> bad;
    EXPECT_FALSE(Query(dir_.path(), "select jmeno from t where cislo > \"x\"", &bad).ok());
    EXPECT_EQ(bad, nullptr);
    EXPECT_EQ(Run("select count(*) from vysledek")->valueAt(0, 0), Value(3.0));
}

TEST_F(ResultTest, QueryEachStreamsRowsAfterTheFieldList) {
    std::vector<std::string> names;
    int rows = 0;
    const Status st = QueryEach(
        dir_.path(), "select jmeno as j, cislo from t",
        [&](const std::vector<FieldDef>& f) {
            for (const auto& d : f)
                names.push_back(d.name);
        },
        [&](const std::vector<Value>& v) {
            EXPECT_EQ(v.size(), 2u);
            ++rows;
        });
    ASSERT_TRUE(st.ok()) << st.message();
    EXPECT_EQ(names, (std::vector<std::string>{"J", "CISLO"}));
    EXPECT_EQ(rows, 3);
}

TEST_F(ResultTest, QueryRefusesAlterAndAlterChangesTheTable) {
    std::unique_ptr<ResultSet> r;
    EXPECT_FALSE(Query(dir_.path(), "ALTER TABLE \"t.dbf\" add column rok Integer", &r).ok());
    ASSERT_TRUE(Execute(dir_.path(), "ALTER TABLE \"t.dbf\" add column rok Integer ").ok());
    EXPECT_EQ(Run("select rok from t")->fields()[0].length, 11);
}

TEST(ColumnDefinition, TypesOfTheUpgradeClauses) {
    FieldDef f;
    ASSERT_TRUE(ColumnDefinition("rok", "Integer", &f).ok());
    EXPECT_EQ(f, FieldDef::Numeric("ROK", 11, 0));
    ASSERT_TRUE(ColumnDefinition("sr_mer", "boolean", &f).ok());
    EXPECT_EQ(f, FieldDef::Logical("SR_MER"));
    ASSERT_TRUE(ColumnDefinition("sr_plp", "float(20,4)", &f).ok());
    EXPECT_EQ(f, FieldDef::Float("SR_PLP", 20, 4));
    EXPECT_FALSE(ColumnDefinition("x", "blob", &f).ok());
}

}  // namespace
}  // namespace kolvio::sql
