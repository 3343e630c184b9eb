// Every form of the criteria fragments, blanks included, and that nothing
// but whole numbers and offered operators reaches the statement.
#include "query/criteria.h"

#include <gtest/gtest.h>

namespace kolvio {
namespace {

struct Row {
    const char* name;
    std::string got;
    std::string expected;
};

void ExpectRows(const std::vector<Row>& rows) {
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.expected) << r.name;
}

TEST(Criteria, DateFragmentsWithAndWithoutNegation) {
    const Date from = *Date::FromYmd(2024, 3, 5);
    const Date to = *Date::FromYmd(2024, 12, 31);
    ExpectRows({
        {"current year, ANO", CurrentYearFragment(2024, false),
         " ( jizdy.datum BETWEEN \"1.1.2024\" AND \"31.12.2024\" ) "},
        {"current year, NE", CurrentYearFragment(2024, true),
         " ( jizdy.datum NOT BETWEEN \"1.1.2024\" AND \"31.12.2024\" ) "},
        {"no year ticked", UsedYearsFragment({}, false), ""},
        {"one year", UsedYearsFragment({2023}, false),
         " (  ( jizdy.datum BETWEEN \"1.1.2023\" AND \"31.12.2023\" )  ) "},
        {"several years, ANO", UsedYearsFragment({2021, 2023, 2024}, false),
         " (  ( jizdy.datum BETWEEN \"1.1.2021\" AND \"31.12.2021\" ) OR  ( jizdy.datum "
         "BETWEEN \"1.1.2023\" AND \"31.12.2023\" ) OR  ( jizdy.datum BETWEEN \"1.1.2024\" AND "
         "\"31.12.2024\" )  ) "},
        {"several years, NE", UsedYearsFragment({2023, 2024}, true),
         " (  ( jizdy.datum NOT BETWEEN \"1.1.2023\" AND \"31.12.2023\" ) AND  ( jizdy.datum NOT "
         "BETWEEN \"1.1.2024\" AND \"31.12.2024\" )  ) "},
        {"range, ANO", DateRangeFragment(from, to, false),
         "( jizdy.datum BETWEEN \"5.3.2024\" AND \"31.12.2024\" ) "},
        {"range, NE", DateRangeFragment(from, to, true),
         "( jizdy.datum NOT BETWEEN \"5.3.2024\" AND \"31.12.2024\" ) "},
    });
}

TEST(Criteria, CodeListsAndTheirFragments) {
    ExpectRows({
        {"code list", CodeList({3, 7, 12}), "\"3\",\"7\",\"12\""},
        {"empty list", CodesFragment("jizdy.trs_c", {}, false), ""},
        {"empty list, NE", CodesFragment("jizdy.kol_c", {}, true), ""},
        {"routes, ANO", CodesFragment("jizdy.trs_c", {2, 0}, false),
         " ( jizdy.trs_c IN (\"2\",\"0\" )) "},
        {"bikes, NE", CodesFragment("jizdy.kol_c", {1, 3}, true),
         " ( jizdy.kol_c NOT IN (\"1\",\"3\" )) "},
        {"secondary types", CodesFragment("jizdy.trn_c", {201}, false),
         " ( jizdy.trn_c IN (\"201\" )) "},
    });
}

TEST(Criteria, SingleRouteInEachDirection) {
    ExpectRows({
        {"both", SingleRouteFragment(5, RouteDirection::kBoth), " jizdy.trs_c = \"5\" "},
        {"shown", SingleRouteFragment(5, RouteDirection::kShown),
         " ( jizdy.trs_c = \"5\"  AND jizdy.trs_smer = \"1\" ) "},
        {"reverse", SingleRouteFragment(0, RouteDirection::kReverse),
         " ( jizdy.trs_c = \"0\"  AND jizdy.trs_smer = \"2\" ) "},
    });
}

TEST(Criteria, PersonsLimitsAndEquality) {
    PersonsInput none;
    PersonsInput lower;
    lower.lower = {true, ">", "1"};
    PersonsInput both = lower;
    both.upper = {true, "<=", "10"};
    PersonsInput equal;
    equal.equal = {true, "", "3"};
    PersonsInput all = both;
    all.equal = {true, "=", "4"};
    ExpectRows({
        {"nothing ticked", PersonsFragment(none), ""},
        {"lower", PersonsFragment(lower), " (  jizdy.osob > \"1\"  ) "},
        {"lower and upper", PersonsFragment(both),
         " (  jizdy.osob > \"1\"  AND  jizdy.osob <= \"10\"  ) "},
        {"equality", PersonsFragment(equal), " (  jizdy.osob = \"3\"  ) "},
        {"all three", PersonsFragment(all),
         " (  jizdy.osob > \"1\"  AND  jizdy.osob <= \"10\"  AND  jizdy.osob = \"4\"  ) "},
    });
}

TEST(Criteria, HeartRateTypesLimitsAndNegation) {
    HeartInput none;
    HeartInput types;
    types.watchTypes = {1, 2};
    HeartInput limits;
    limits.limits[0] = {true, ">=", "150"};
    limits.limits[3] = {true, "<", "210"};
    limits.limits[4] = {true, ">", "0"};
    HeartInput both = limits;
    both.watchTypes = {2};
    HeartInput negated = both;
    negated.negate = true;
    HeartInput negatedTypes = types;
    negatedTypes.negate = true;
    ExpectRows({
        {"nothing chosen", HeartFragment(none), ""},
        {"types only", HeartFragment(types), " ( jizdy.thl_c IN (\"1\",\"2\" )) "},
        {"limits only", HeartFragment(limits),
         " ( jizdy.sr_lim >= \"150\" )  AND  ( jizdy.sr_max < \"210\" )  AND  ( jizdy.sr_plp > "
         "\"0\" ) "},
        {"types and limits", HeartFragment(both),
         " ( jizdy.thl_c IN (\"2\" ))  AND  ( jizdy.sr_lim >= \"150\" )  AND  ( jizdy.sr_max < "
         "\"210\" )  AND  ( jizdy.sr_plp > \"0\" ) "},
        {"types and limits, NE", HeartFragment(negated),
         " ( NOT (  ( jizdy.thl_c IN (\"2\" ))  AND  ( jizdy.sr_lim >= \"150\" )  AND  ( "
         "jizdy.sr_max < \"210\" )  AND  ( jizdy.sr_plp > \"0\" ) )) "},
        {"types only, NE", HeartFragment(negatedTypes),
         " ( NOT (  ( jizdy.thl_c IN (\"1\",\"2\" )) )) "},
    });
}

// What a box could hold when the rider ticks "Použít" without leaving it.
TEST(Criteria, OnlyWholeNumbersAndOfferedOperatorsReachTheStatement) {
    const LimitInput bad[] = {
        {true, ">", "1\" OR \"1\"=\"1"},
        {true, ">", ""},
        {true, ">", "1.5"},
        {true, ">", "1234567890"},
        {true, "> 0 OR jizdy.osob", "1"},
        {true, "<", "1"},  // an upper operator in a lower field
        {true, "=", "1"},
    };
    for (const LimitInput& limit : bad) {
        PersonsInput persons;
        persons.lower = limit;
        EXPECT_EQ(PersonsFragment(persons), "") << limit.op << limit.number;
        HeartInput heart;
        heart.watchTypes = {1};
        heart.limits[2] = limit;
        EXPECT_EQ(HeartFragment(heart), "") << limit.op << limit.number;
    }
    PersonsInput equal;
    equal.equal = {true, "=", "2 OR 1=1"};
    EXPECT_EQ(PersonsFragment(equal), "");
    PersonsInput negative;
    negative.lower = {true, ">=", "-3"};
    EXPECT_EQ(PersonsFragment(negative), " (  jizdy.osob >= \"-3\"  ) ");
}

TEST(Criteria, WholeNumberText) {
    for (const char* yes : {"0", "7", "-12", "123456789"})
        EXPECT_TRUE(IsWholeNumberText(yes)) << yes;
    for (const char* no : {"", "-", "+1", " 1", "1 ", "1e3", "0x1", "1234567890", "١"})
        EXPECT_FALSE(IsWholeNumberText(no)) << no;
}

}  // namespace
}  // namespace kolvio
