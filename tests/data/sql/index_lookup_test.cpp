// Equalities answered from an index: the rows are those a full read gives,
// whether the index contents come from the table, from the file beside it,
// through the journal of our own writes, or after another program's write.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/dbf/dbf_file.h"
#include "data/index/index_data.h"
#include "data/index/index_def.h"
#include "data/index/index_store.h"
#include "data/sql/answer_cache.h"
#include "data/sql/sql_engine.h"
#include "data/summary/summary_file.h"
#include "data/table.h"
#include "data/table_writer.h"
#include "data/temp_dir.h"

namespace kolvio::sql {
namespace {

constexpr int kRows = 6000;

std::string Shown(const Value& v) {
    if (v.isNull()) return "null";
    if (v.isText()) return v.asText();
    if (v.isDate()) return v.asDate().toIso();
    return std::to_string(v.asDouble());
}  // more than one block: a smaller table is read whole

class IndexLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetIndexSnapshotMinimumAge(0);
        ZoneCache::Shared().setMinimumAge(0);
        TableWriter w;
        ASSERT_TRUE(
            w.begin(path(), {FieldDef::DateField("DATUM"), FieldDef::Numeric("TRS_C", 5, 0),
                             FieldDef::Char("POPIS1", 20), FieldDef::Numeric("DELKA", 8, 1)})
                .ok());
        const int32_t base = Date::FromYmd(2000, 1, 1)->dayNumber();
        const char* words[] = {"Šumava", "sníh", "Znojmo", "", "Ústí"};
        for (int i = 0; i < kRows; ++i) {
            ASSERT_TRUE(w.setValue(0, Value(Date::FromDayNumber(base + i / 20))).ok());
            ASSERT_TRUE(w.setValue(1, Value(static_cast<double>(i % 50))).ok());
            ASSERT_TRUE(w.setValue(2, Value(std::string(words[i % 5]))).ok());
            ASSERT_TRUE(w.setValue(3, Value(i * 0.5)).ok());
            ASSERT_TRUE(w.addRecord().ok());
        }
        ASSERT_TRUE(w.commit().ok());
        ASSERT_TRUE(WriteIndexDefs(IndexSidecarPath(path()), {{"TRS_C", "TRS_C", false},
                                                              {"DATUM", "DATUM", false},
                                                              {"POPIS1", "POPIS1", false}})
                        .ok());
    }
    void TearDown() override {
        SetIndexSnapshotMinimumAge(3'000'000'000);
        ZoneCache::Shared().setMinimumAge(3'000'000'000);
        ZoneCache::Shared().clear();
        AnswerCache::Shared().clear();
    }

    std::vector<std::string> Rows(const std::string& sql) {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir_.path(), sql, &r);
        EXPECT_TRUE(st.ok()) << st.message() << "\n" << sql;
        std::vector<std::string> rows;
        if (!r) return rows;
        for (int64_t i = 0; i < r->size(); ++i) {
            std::string row;
            for (size_t f = 0; f < r->fields().size(); ++f)
                row += Shown(r->valueAt(i, static_cast<int>(f))) + "|";
            rows.push_back(row);
        }
        return rows;
    }

    // Each equality gives what the same test written without "=" gives
    // (IN is never answered from an index).
    void ExpectSameAsFullRead(const char* when) {
        const char* tests[][2] = {
            {"trs_c = 7", "trs_c in (7)"},
            {"7 = trs_c and delka > 100", "trs_c in (7) and delka > 100"},
            {"datum = \"3.1.2000\"", "datum in (\"3.1.2000\")"},
            {"trs_c = 1000", "trs_c in (1000)"},
            {"popis1 = 'Znojmo'", "popis1 in ('Znojmo')"},  // a fifth of the rows: read whole
        };
        for (const auto& t : tests) {
            const std::string select = "select datum, trs_c, popis1, delka from jizdy where ";
            const std::string order = " order by delka";
            const auto indexed = Rows(select + t[0] + order);
            EXPECT_EQ(indexed, Rows(select + t[1] + order)) << when << ": " << t[0];
        }
    }

    bool IndexFileCurrent() {
        std::unique_ptr<DbfFile> f;
        EXPECT_TRUE(DbfFile::Open(path(), false, LockMode::kNone, &f).ok());
        SummaryStamp stamp;
        EXPECT_TRUE(CurrentFileIdentity(path(), &stamp.identity));
        stamp.layout = LayoutFingerprint(f->header());
        return IndexData::Open(path(), stamp, f->recordCount()) != nullptr;
    }

    std::string path() const { return dir_.file("jizdy.dbf"); }
    testing::TempDir dir_;
};

TEST_F(IndexLookupTest, EqualityGivesTheRowsOfAFullReadFromEverySourceOfTheIndex) {
    EXPECT_EQ(Rows("select delka from jizdy where trs_c = 7").size(), kRows / 50u);
    ASSERT_TRUE(IndexFileCurrent()) << "the first statement leaves the index for the next";
    ExpectSameAsFullRead("from the file");
    {
        Table t(dir_.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        ASSERT_TRUE(t.locate("DELKA", Value(4.0)).ok());  // route 8 becomes 7
        ASSERT_TRUE(t.edit().ok());
        ASSERT_TRUE(t.setValue("TRS_C", Value(7.0)).ok());
        ASSERT_TRUE(t.post().ok());
        ASSERT_TRUE(t.locate("DELKA", Value(28.5)).ok());  // route 7 becomes 9
        ASSERT_TRUE(t.edit().ok());
        ASSERT_TRUE(t.setValue("TRS_C", Value(9.0)).ok());
        ASSERT_TRUE(t.post().ok());
        ASSERT_TRUE(t.locate("DELKA", Value(53.5)).ok());
        ASSERT_TRUE(t.deleteRecord().ok());
        ASSERT_TRUE(t.append().ok());
        ASSERT_TRUE(t.setValue("TRS_C", Value(7.0)).ok());
        ASSERT_TRUE(t.setValue("DELKA", Value(-1.0)).ok());
        ASSERT_TRUE(t.post().ok());
    }
    ASSERT_TRUE(IndexFileCurrent()) << "our writes are journalled";
    ExpectSameAsFullRead("through the journal");
    EXPECT_EQ(Rows("select delka from jizdy where trs_c = 7").size(), kRows / 50u);
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(path(), true, LockMode::kNone, &f).ok());
        std::string rec;
        ASSERT_TRUE(f->readRecord(17, &rec).ok());  // route 17 becomes 7, unjournalled
        const FieldLayout& trs = f->header().fields[1];
        rec.replace(trs.offset, trs.length, "    7");
        ASSERT_TRUE(f->writeRecord(17, rec).ok());
    }
    ASSERT_FALSE(IndexFileCurrent());
    ExpectSameAsFullRead("after another program's write");
    EXPECT_EQ(Rows("select delka from jizdy where trs_c = 7").size(), kRows / 50u + 1);
}

TEST_F(IndexLookupTest, OrderByAnIndexedFieldGivesTheOrderOfASort) {
    // The first order by DATUM builds its index and leaves it in the file.
    ASSERT_FALSE(IndexFileCurrent());
    ASSERT_EQ(Rows("select delka from jizdy order by datum").size(), static_cast<size_t>(kRows));
    ASSERT_TRUE(IndexFileCurrent());
    // Ties of DATUM come in record order, as DELKA grows with it; a second
    // key is never answered from an index.
    auto expectSorted = [&](const char* when) {
        for (const char* select : {"select datum, delka, popis1 from jizdy",
                                   "select delka from jizdy where trs_c in (7, 8)"}) {
            EXPECT_EQ(Rows(std::string(select) + " order by datum"),
                      Rows(std::string(select) + " order by datum, delka"))
                << when << ": " << select;
        }
        EXPECT_EQ(Rows("select delka from jizdy order by trs_c"),
                  Rows("select delka from jizdy order by trs_c, delka"))
            << when << ": an index whose order jumps about";
    };
    expectSorted("from the file");
    // Joined rows follow the ride they belong to, so the index serves a join
    // too; a route listed twice gives each of its rides two rows in a row,
    // in the same order as the sort puts them.
    {
        TableWriter w;
        ASSERT_TRUE(w.begin(dir_.file("trate.dbf"),
                            {FieldDef::Numeric("TRS_C", 5, 0), FieldDef::Numeric("PORADI", 5, 0)})
                        .ok());
        int poradi = 10;
        for (int route : {3, 7, 8, 7, 1, 0}) {
            ASSERT_TRUE(w.setValue(0, Value(static_cast<double>(route))).ok());
            ASSERT_TRUE(w.setValue(1, Value(static_cast<double>(poradi--))).ok());
            ASSERT_TRUE(w.addRecord().ok());
        }
        ASSERT_TRUE(w.commit().ok());
    }
    const std::string joined =
        "select jizdy.datum, trate.poradi, jizdy.delka from jizdy, trate "
        "where jizdy.trs_c = trate.trs_c";
    EXPECT_EQ(Rows(joined + " order by jizdy.datum"),
              Rows(joined + " order by jizdy.datum, jizdy.delka"));
    // An order by a field of the joined table is not the ride index's.
    EXPECT_EQ(Rows(joined + " order by trate.poradi"),
              Rows(joined + " order by trate.poradi, jizdy.delka"));
    {
        Table t(dir_.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        ASSERT_TRUE(t.locate("DELKA", Value(10.0)).ok());  // the 21st ride moves to the end
        ASSERT_TRUE(t.edit().ok());
        ASSERT_TRUE(t.setValue("DATUM", Value(*Date::FromYmd(2030, 1, 1))).ok());
        ASSERT_TRUE(t.post().ok());
    }
    ASSERT_TRUE(IndexFileCurrent());
    expectSorted("after our edit of a date");
    EXPECT_EQ(Rows("select delka from jizdy order by datum").back(), "10.000000|");
}

TEST_F(IndexLookupTest, OrderByAnIndexedFieldUnderAFilterSkipsOnlyBlocksThatCannotMatch) {
    // Three blocks of rides, DELKA growing with the record number, so that
    // the zones prove the last block misses "delka < 3000".
    const std::string table = dir_.file("rok.dbf");
    {
        TableWriter w;
        ASSERT_TRUE(
            w.begin(table, {FieldDef::DateField("DATUM"), FieldDef::Numeric("DELKA", 8, 1)}).ok());
        const int32_t base = Date::FromYmd(2000, 1, 1)->dayNumber();
        for (int i = 0; i < 3 * 4096; ++i) {
            ASSERT_TRUE(w.setValue(0, Value(Date::FromDayNumber(base + i / 3))).ok());
            ASSERT_TRUE(w.setValue(1, Value(i * 0.5)).ok());
            ASSERT_TRUE(w.addRecord().ok());
        }
        ASSERT_TRUE(w.commit().ok());
        ASSERT_TRUE(WriteIndexDefs(IndexSidecarPath(table), {{"DATUM", "DATUM", false}}).ok());
    }
    // The first read learns the zones of DELKA.
    ASSERT_EQ(Rows("select count(*) from rok where delka >= 0").front(), "12288.000000|");
    for (const char* where : {"delka < 3000", "delka > 1000 and delka < 3000", "delka < 500"}) {
        const std::string select = std::string("select datum, delka from rok where ") + where;
        const auto ordered = Rows(select + " order by datum");
        EXPECT_EQ(ordered, Rows(select + " order by datum, delka")) << where;
        EXPECT_EQ(ordered.size(), Rows(select).size()) << where;
    }
}

}  // namespace
}  // namespace kolvio::sql
