// The extremes ranking over a hand-worked diary of five rides:
//
//   ride  date        DELKA  CAS   PRUMER  SR_MAX  bike
//   1     1. 5. 2024  40     2     20      170     1
//   2     2. 5. 2024  60     2     30      -       2
//   3     3. 5. 2024  25     1     25      185     1
//   4     4. 5. 2024  60     3     20      150     1
//   5     5. 5. 2024  12     0.5   24      -       2
//
// PRUMER from the highest: 30 (2), 25 (3), 24 (5), 20 (1), 20 (4); the
// rides of equal value rank in diary order, the earlier first, both ways.
// DELKA from the highest: 60 (2), 60 (4), 40 (1), 25 (3), 12 (5). SR_MAX
// only of rides 1, 3 and 4; nobody has SR_PLC.
#include "query/extremes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/database/database.h"
#include "query/extreme_entries.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Ride {
    int day;
    double km, hours;
    std::optional<int> heartMax;
    int bike;
};

// The caption of an entry by its code.
std::string Caption(int code) {
    for (const ExtremeEntry& e : ExtremeEntries()) {
        if (e.code == code) return e.caption;
    }
    return "?";
}

std::vector<ChosenExtreme> Entries(std::initializer_list<int> codes) {
    std::vector<ChosenExtreme> out;
    for (int code : codes)
        out.push_back({Caption(code), code});
    return out;
}

class ExtremesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
        const Ride rides[] = {{1, 40, 2, 170, 1},
                              {2, 60, 2, std::nullopt, 2},
                              {3, 25, 1, 185, 1},
                              {4, 60, 3, 150, 1},
                              {5, 12, 0.5, std::nullopt, 2}};
        Table& t = db.Table1();
        for (const Ride& r : rides) {
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("DATUM", *Date::FromYmd(2024, 5, r.day)).ok());
            ASSERT_TRUE(t.setValue("MESIC_C", 2024005).ok());
            ASSERT_TRUE(t.setValue("TRS_C", 1).ok());
            ASSERT_TRUE(t.setValue("TRS_SMER", 1).ok());
            ASSERT_TRUE(t.setValue("TRNZ_C", 2).ok());
            ASSERT_TRUE(t.setValue("TRN_C", 201).ok());
            ASSERT_TRUE(t.setValue("KOL_C", r.bike).ok());
            ASSERT_TRUE(t.setValue("THL_C", r.heartMax ? 1 : 0).ok());
            ASSERT_TRUE(t.setValue("DELKA", r.km).ok());
            ASSERT_TRUE(t.setValue("CAS", r.hours).ok());
            ASSERT_TRUE(t.setValue("PRUMER", r.km / r.hours).ok());
            if (r.heartMax) {
                ASSERT_TRUE(t.setValue("SR_MAX", *r.heartMax).ok());
            }
            ASSERT_TRUE(t.post().ok());
        }
    }

    // Runs the ranking with the builder's criteria in `state`; the rows of
    // VYSLEDEK as "caption | day of the ride | field..." texts.
    Status Run(const std::vector<ChosenExtreme>& entries, const std::vector<std::string>& labels) {
        std::vector<int> codes;
        for (const ChosenExtreme& e : entries)
            codes.push_back(e.code);
        const auto lines = ExtremeStatement(&state, ExtremeSelectColumns(codes, labels));
        return BuildExtremes(tmp.path(), lines, entries, labels, db.TPOMOCNE(), &report);
    }

    // Each row of VYSLEDEK: its caption and the day of its ride ("-" for
    // an empty date).
    std::vector<std::string> Rows() {
        Table t(tmp.path(), "VYSLEDEK.dbf");
        std::vector<std::string> out;
        if (!t.open().ok()) return out;
        for (Status st = t.first(); st.ok() && !t.eof(); st = t.next()) {
            const Value date = t.value("DATUM");
            out.push_back(t.getString("EXTREM") + " | " +
                          (date.isDate() ? std::to_string(date.asDate().day()) : "-"));
        }
        return out;
    }

    std::vector<std::string> FieldNames() {
        Table t(tmp.path(), "VYSLEDEK.dbf");
        std::vector<std::string> out;
        if (!t.open().ok()) return out;
        for (const FieldLayout& f : t.fields())
            out.push_back(f.name);
        return out;
    }

    testing::TempDir tmp;
    Database db;
    BuilderState state;
    ExtremesReport report;
};

TEST_F(ExtremesTest, HighestAndLowestRanksWithTiesInDiaryOrder) {
    ASSERT_TRUE(Run(Entries({101, 102, 104, 105, 151, 152, 153, 201, 202, 251}), {"DATUM"}).ok());
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{
                  "průměr 1. nejvyšší | 2", "průměr 2. nejvyšší | 3", "průměr 4. nejvyšší | 1",
                  "průměr 5. nejvyšší | 4", "průměr 1. nejnižší | 1", "průměr 2. nejnižší | 4",
                  "průměr 3. nejnižší | 5", "délka jízdy 1. nejvyšší | 2",
                  "délka jízdy 2. nejvyšší | 4", "délka jízdy 1. nejnižší | 5"}));
    EXPECT_EQ(report.rides, 5);
    EXPECT_EQ(report.rows, 10);
}

TEST_F(ExtremesTest, RanksBeyondTheRidesStopAtTheLastRide) {
    // Ten rides asked for, five there: the 10th highest is the lowest
    // value, the 10th lowest the highest.
    ASSERT_TRUE(Run(Entries({110, 160, 209, 259}), {"DATUM"}).ok());
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "průměr 10. nejvyšší | 4", "průměr 10. nejnižší | 2",
                          "délka jízdy 9. nejvyšší | 5", "délka jízdy 9. nejnižší | 4"}));
}

TEST_F(ExtremesTest, RidesWithoutTheFigureTakeNoRank) {
    // Only rides 1, 3 and 4 had a monitor: 150 (4), 170 (1), 185 (3).
    ASSERT_TRUE(Run(Entries({601, 651, 653, 655, 901}), {"DATUM", "TEP MAX"}).ok());
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"tep max 1. nejvyšší | 3", "tep max 1. nejnižší | 4",
                                        "tep max 3. nejnižší | 3", "tep max 5. nejnižší | 3",
                                        // Nobody has the time over the limit.
                                        "tep překr.čas 1. nejvyšší | -"}));
}

TEST_F(ExtremesTest, NoRidePassingGivesEveryEntryItsCaptionAlone) {
    state.BikeCriterion = " ( jizdy.kol_c IN (\"9\" )) ";
    ASSERT_TRUE(Run(Entries({101, 251}), {"DATUM", "JÍZDA DÉLKA"}).ok());
    EXPECT_EQ(report.rides, 0);
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"průměr 1. nejvyšší | -", "délka jízdy 1. nejnižší | -"}));
    Table t(tmp.path(), "VYSLEDEK.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.first().ok());
    EXPECT_TRUE(t.value("DELKA").isNull());
}

TEST_F(ExtremesTest, CriteriaNarrowTheRidesRanked) {
    state.BikeCriterion = " ( jizdy.kol_c IN (\"1\" )) ";
    ASSERT_TRUE(Run(Entries({101, 151}), {"DATUM"}).ok());
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"průměr 1. nejvyšší | 3", "průměr 1. nejnižší | 1"}));
}

TEST_F(ExtremesTest, ResultHoldsTheEntryAndTheChosenColumnsOnly) {
    // The speed is ranked on, but shown only when asked for.
    ASSERT_TRUE(Run(Entries({101}), {"DATUM"}).ok());
    EXPECT_EQ(FieldNames(), (std::vector<std::string>{"EXTREM", "DATUM"}));
    ASSERT_TRUE(Run(Entries({101}), {"JÍZDA PRŮMER", "DATUM", "KOLO TYP"}).ok());
    EXPECT_EQ(FieldNames(), (std::vector<std::string>{"EXTREM", "PRUMER", "DATUM", "KOL_TYP"}));
    Table t(tmp.path(), "VYSLEDEK.dbf");
    ASSERT_TRUE(t.open().ok());
    ASSERT_TRUE(t.first().ok());
    EXPECT_EQ(t.value("PRUMER").asDouble(), 30);
    EXPECT_EQ(t.getString("KOL_TYP"), "SILNIČNÍ ZIMNÍ");
    const FieldLayout& extrem = t.fields()[0];
    EXPECT_EQ(extrem.type, FieldType::kChar);
    EXPECT_EQ(extrem.length, 100);
}

TEST_F(ExtremesTest, ARefusedStatementLeavesBothTablesByteIdentical) {
    ASSERT_TRUE(Run(Entries({101}), {"DATUM"}).ok());
    const std::string vysledek = Bytes(tmp.file("VYSLEDEK.dbf"));
    const std::string pomocne = Bytes(tmp.file("pomocne.dbf"));
    state.DateCriterion = "( jizdy.datum BETWEEN \"31.2.x\" AND \"1.1.2024\" ) ";
    EXPECT_FALSE(Run(Entries({101}), {"DATUM"}).ok());
    EXPECT_EQ(Bytes(tmp.file("VYSLEDEK.dbf")), vysledek);
    EXPECT_EQ(Bytes(tmp.file("pomocne.dbf")), pomocne);
    EXPECT_FALSE(db.TPOMOCNE().isOpen());
}

TEST(ExtremeColumns, EachExpressionOnceFiguresFirst) {
    EXPECT_EQ(ExtremeSelectColumns({101, 151, 201}, {"DATUM", "JÍZDA PRŮMER"}),
              (std::vector<std::string>{"JIZDY.PRUMER", "JIZDY.DELKA", "JIZDY.DATUM"}));
    // A code that names no extreme adds nothing.
    EXPECT_EQ(ExtremeSelectColumns({0, 1401}, {"DATUM"}),
              (std::vector<std::string>{"JIZDY.DATUM"}));
    // One expression inside another is still its own column.
    EXPECT_EQ(ExtremeSelectColumns({}, {"TRASA CÍL", "TRASA ČÍSLO"}),
              (std::vector<std::string>{"TYP_TRS.TRS_CIL", "TYP_TRS.TRS_C"}));
}

TEST(ExtremeColumns, StatementIsSelectFromAndTheWherePart) {
    BuilderState state;
    state.PersonsCriterion = " (  jizdy.osob > \"1\" ) ";
    const auto lines = ExtremeStatement(&state, {"JIZDY.PRUMER", "JIZDY.DATUM"});
    EXPECT_EQ(state.SelectList, "JIZDY.PRUMER, JIZDY.DATUM");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "select JIZDY.PRUMER, JIZDY.DATUM");
    EXPECT_EQ(lines[1], "from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld");
    EXPECT_EQ(lines[2], "where " + std::string(kJoinCondition));
    EXPECT_EQ(lines[3], " and  (  jizdy.osob > \"1\" ) ");
}

TEST(ExtremeColumns, ALabelMissingFromTheAuxiliaryTableGetsNoColumn) {
    std::vector<FieldLayout> pomocne(2);
    pomocne[0].name = "PRUMER";
    pomocne[0].type = FieldType::kFloat;
    pomocne[0].length = 20;
    pomocne[0].decimals = 4;
    pomocne[1].name = "DATUM";
    pomocne[1].type = FieldType::kDate;
    pomocne[1].length = 8;
    std::vector<int> sources;
    const auto fields =
        ExtremeResultFields(pomocne, {"TRASA START", "DATUM", "JÍZDA PRŮMER"}, &sources);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0], FieldDef::Char("EXTREM", 100));
    EXPECT_EQ(fields[1], static_cast<const FieldDef&>(pomocne[1]));
    EXPECT_EQ(fields[2], static_cast<const FieldDef&>(pomocne[0]));
    EXPECT_EQ(sources, (std::vector<int>{1, 0}));
}

}  // namespace
}  // namespace kolvio
