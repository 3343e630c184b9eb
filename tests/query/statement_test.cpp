// The statement the builder assembles, line by line with every blank, and
// that the engine accepts what the catalogue and the presets produce.
#include "query/statement.h"

#include <gtest/gtest.h>

#include "data/database/database.h"
#include "data/sql/sql_engine.h"
#include "query/column_catalogue.h"
#include "query/criteria.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using Lines = std::vector<std::string>;

const std::string kFrom = "from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld";
const std::string kWhere =
    "where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = "
    "typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c ";

BuilderState Preset(const char* button) {
    BuilderState state;
    ApplyPreset(&state, PresetOfButton(button));
    return state;
}

TEST(Statement, WorkedExampleGivesItsEightLinesBlanksIncluded) {
    BuilderState state = Preset("RButton12");  // "Statistika tratí"
    state.DateCriterion = CurrentYearFragment(2024, false);
    state.BikeCriterion = CodesFragment("jizdy.kol_c", {1, 3}, true);
    const Lines lines = AssembleStatement(
        &state, {"TRASA START", "TRASA CÍL", "POČET PRŮJEZDŮ", "CELK.UJET.DÉLKA"});
    const Lines expected = {
        "select TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, COUNT (JIZDY.TRS_C) AS COUNT_JIZ, SUM "
        "(JIZDY.DELKA) AS SUM_DEL ",
        ", JIZDY.TRS_C",
        kFrom,
        kWhere,
        " and  ( jizdy.datum BETWEEN \"1.1.2024\" AND \"31.12.2024\" ) ",
        " and  ( jizdy.kol_c NOT IN (\"1\",\"3\" )) ",
        " group by TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.TRS_C",
        " order by TYP_TRS.TRS_START, JIZDY.TRS_C",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(state.OrderList, "TYP_TRS.TRS_START, JIZDY.TRS_C");
}

TEST(Statement, MonthlyPresetPutsTheMonthFirstAndGroupsAndOrdersByIt) {
    BuilderState state = Preset("RButton16");
    const Lines lines = AssembleStatement(&state, {"MAX.DÉLKA", "POČET JÍZD"});
    const Lines expected = {
        "select JIZDY.MESIC_C AS MESIC",
        " , MAX (JIZDY.DELKA) AS MAX_DEL, COUNT (JIZDY.TRS_C) AS COUNT_JZD ",
        kFrom,
        kWhere,
        " group by JIZDY.MESIC_C",
        " order by JIZDY.MESIC_C",
    };
    EXPECT_EQ(lines, expected);
}

TEST(Statement, AggregatesAloneWithoutGroupingOrderByTheFirstAlias) {
    BuilderState state = Preset("RButton11");  // "Statistika"
    const Lines lines = AssembleStatement(&state, {"MAX.DÉLKA", "CELK.PRŮMĚR"});
    const Lines expected = {
        "select MAX (JIZDY.DELKA) AS MAX_DEL, (SUM (JIZDY.DELKA) / SUM (JIZDY.CAS)) AS AVG_PRU ",
        kFrom,
        kWhere,
        " order by MAX_DEL",
    };
    EXPECT_EQ(lines, expected);
}

TEST(Statement, GroupingByCodeAloneWhenOnlyAggregatesAreChosen) {
    BuilderState state = Preset("RButton13");  // "Statistika kol"
    const Lines lines = AssembleStatement(&state, {"POČET POUŽITÍ"});
    EXPECT_EQ(lines.at(lines.size() - 2), " group by JIZDY.KOL_C");
    EXPECT_EQ(lines.back(), " order by COUNT_KOL, JIZDY.KOL_C");
}

TEST(Statement, MaximumSpeedFirstOrdersByItsAlias) {
    BuilderState state = Preset("RButton10");
    const Lines lines = AssembleStatement(&state, {"JÍZDA MAX.RYCHLOST", "DATUM"});
    EXPECT_EQ(lines.front(), "select JIZDY.RYCHL_MAX AS RYCH_MAX, JIZDY.DATUM ");
    EXPECT_EQ(lines.back(), " order by RYCH_MAX");
}

TEST(Statement, NoChosenColumnGivesAnEmptySelectListAndNoOrdering) {
    BuilderState state = Preset("RButton10");
    const Lines lines = AssembleStatement(&state, {});
    EXPECT_EQ(lines, (Lines{"select ", kFrom, kWhere}));
}

TEST(Statement, FragmentsFollowInTheirFixedOrderWhateverWasTickedFirst) {
    BuilderState state;
    state.HeartCriterion = "H";
    state.PersonsCriterion = "P";
    state.BikeCriterion = "B";
    state.RideTypeCriterion = "T";
    state.RouteCriterion = "R";
    state.RoutesCriterion = "S";
    state.DateCriterion = "D";
    Lines lines;
    SQLWherePridej(state, &lines);
    EXPECT_EQ(lines, (Lines{kWhere, " and D", " and S", " and R", " and T", " and B", " and P",
                            " and H"}));
    state.RoutesCriterion.clear();
    state.PersonsCriterion.clear();
    lines.clear();
    SQLWherePridej(state, &lines);
    EXPECT_EQ(lines, (Lines{kWhere, " and D", " and R", " and T", " and B", " and H"}));
}

TEST(Statement, RebuildingKeepsTheFragmentsAndReplacesTheLists) {
    BuilderState state = Preset("RButton12");
    state.DateCriterion = CurrentYearFragment(2024, false);
    AssembleStatement(&state, {"TRASA START", "MAX.DÉLKA"});
    const Lines again = AssembleStatement(&state, {"MAX.DÉLKA"});
    EXPECT_EQ(state.SelectList, "MAX (JIZDY.DELKA) AS MAX_DEL ");
    EXPECT_EQ(state.OrderList, "MAX_DEL, JIZDY.TRS_C");
    EXPECT_EQ(again.at(4), " and " + CurrentYearFragment(2024, false));
}

// The statements run by the engine over a fresh database: every column of
// every list with every preset, and every kind of fragment.
class StatementRuns : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
        Table& rides = db.Table1();
        ASSERT_TRUE(rides.append().ok());
        ASSERT_TRUE(rides.setValue("DATUM", *Date::FromYmd(2024, 5, 6)).ok());
        for (const char* code : {"TRS_C", "KOL_C", "TRNZ_C"})
            ASSERT_TRUE(rides.setValue(code, 1).ok());
        ASSERT_TRUE(rides.setValue("TRN_C", 201).ok());
        ASSERT_TRUE(rides.setValue("THL_C", 0).ok());
        ASSERT_TRUE(rides.setValue("OSOB", 2).ok());
        ASSERT_TRUE(rides.setValue("SR_PLP", 10).ok());
        ASSERT_TRUE(rides.post().ok());
    }

    // Rows of the statement, or -1 when the engine refuses it.
    int64_t Rows(const Lines& lines) {
        std::unique_ptr<sql::ResultSet> result;
        const Status st = sql::Query(tmp.path(), sql::JoinStatementLines(lines), &result);
        EXPECT_TRUE(st.ok()) << st.message() << "\n" << sql::JoinStatementLines(lines);
        return st.ok() ? result->size() : -1;
    }

    testing::TempDir tmp;
    Database db;
};

TEST_F(StatementRuns, EveryPresetRunsWithItsWholeColumnList) {
    for (const EvaluationButton& button : EvaluationButtons()) {
        BuilderState state;
        ApplyPreset(&state, button.preset);
        const Lines lines = AssembleStatement(&state, ColumnListLabels(button.preset.columnList));
        EXPECT_EQ(Rows(lines), 1) << button.name;
    }
}

TEST_F(StatementRuns, EveryKindOfFragmentIsAcceptedAndSelects) {
    const Date may6 = *Date::FromYmd(2024, 5, 6);
    struct Case {
        std::string fragment;
        int64_t rows;
    };
    PersonsInput persons;
    persons.lower = {true, ">=", "2"};
    persons.upper = {true, "<", "3"};
    HeartInput heart;
    heart.watchTypes = {0, 2};
    heart.limits[5] = {true, "<=", "50"};
    HeartInput notHeart = heart;
    notHeart.negate = true;
    const Case cases[] = {
        {CurrentYearFragment(2024, false), 1},
        {CurrentYearFragment(2024, true), 0},
        {UsedYearsFragment({2023, 2024}, false), 1},
        {UsedYearsFragment({2023, 2024}, true), 0},
        {DateRangeFragment(may6, may6, false), 1},
        {CodesFragment("jizdy.trs_c", {1, 7}, false), 1},
        {CodesFragment("jizdy.trn_c", {201}, true), 0},
        {SingleRouteFragment(1, RouteDirection::kBoth), 1},
        {SingleRouteFragment(1, RouteDirection::kShown), 0},
        {PersonsFragment(persons), 1},
        {HeartFragment(heart), 1},
        {HeartFragment(notHeart), 0},
    };
    for (const Case& c : cases) {
        BuilderState state = Preset("RButton10");
        state.DateCriterion = c.fragment;
        EXPECT_EQ(Rows(AssembleStatement(&state, {"DATUM"})), c.rows) << c.fragment;
    }
}

}  // namespace
}  // namespace kolvio
