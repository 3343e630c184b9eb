// Name resolution, typing and result fields, over tables given in memory.
#include "data/sql/binder/binder.h"

#include <gtest/gtest.h>

#include "data/sql/parser/parser.h"

namespace kolvio::sql {
namespace {

class BinderTest : public ::testing::Test {
protected:
    BinderTest() {
        catalog_.add("jizdy.dbf",
                     {FieldDef::DateField("DATUM"), FieldDef::Float("MESIC_C", 20, 4),
                      FieldDef::Float("TRS_C", 20, 4), FieldDef::Float("KOL_C", 20, 4),
                      FieldDef::Float("DELKA", 20, 4), FieldDef::Float("CAS", 20, 4),
                      FieldDef::Float("RYCHL_MAX", 20, 4), FieldDef::Char("POPIS1", 100),
                      FieldDef::Logical("SR_MER"), FieldDef::Integer("BINI")});
        catalog_.add("typ_trs.dbf",
                     {FieldDef::Float("TRS_C", 20, 4), FieldDef::Char("TRS_START", 20),
                      FieldDef::Char("TRS_CIL", 20)});
    }

    BoundQuery Bind(std::string_view text) {
        const Statement st = ParseStatement(text);
        return BindSelect(std::get<SelectStatement>(st), catalog_);
    }

    SqlError BindError(std::string_view text) {
        try {
            Bind(text);
        } catch (const SqlError& e) {
            return e;
        }
        ADD_FAILURE() << "bound: " << text;
        return SqlError("");
    }

    MemoryCatalog catalog_;
};

TEST_F(BinderTest, NamesAndTablesMatchInAnyLetterCase) {
    const BoundQuery q = Bind("select Jizdy.Delka, DATUM from JIZDY.DBF where jizdy.kol_c = 1");
    ASSERT_EQ(q.fields.size(), 2u);
    EXPECT_EQ(q.fields[0].name, "DELKA");
    EXPECT_EQ(q.fields[1].name, "DATUM");
}

TEST_F(BinderTest, UnknownTableIsNamedWithItsPlace) {
    const SqlError e = BindError("select a\nfrom jizdy, typ_xyz");
    EXPECT_NE(e.bareMessage().find("typ_xyz.dbf"), std::string::npos);
    EXPECT_EQ(e.pos().line, 2);
    EXPECT_EQ(e.pos().column, 13);
    EXPECT_EQ(e.code(), Status::Code::kNotFound);
}

TEST_F(BinderTest, UnknownColumnIsNamedWithItsPlace) {
    const SqlError e = BindError("select jizdy.datum, jizdy.nic from jizdy");
    EXPECT_NE(e.bareMessage().find("nic"), std::string::npos);
    EXPECT_EQ(e.pos().column, 21);
}

TEST_F(BinderTest, QualifierNotInFromIsRefused) {
    const SqlError e = BindError("select typ_kol.kol_c from jizdy");
    EXPECT_NE(e.bareMessage().find("typ_kol"), std::string::npos);
}

TEST_F(BinderTest, UnqualifiedNameInTwoTablesIsAmbiguous) {
    const SqlError e = BindError("select trs_c from jizdy, typ_trs");
    EXPECT_NE(e.bareMessage().find("uveďte tabulku"), std::string::npos);
}

TEST_F(BinderTest, SameTableTwiceNeedsAnAlias) {
    EXPECT_THROW(Bind("select datum from jizdy, jizdy"), SqlError);
    const BoundQuery q = Bind("select a.datum, b.datum from jizdy a, jizdy b");
    EXPECT_EQ(q.fields[1].name, "DATUM_2");
}

TEST_F(BinderTest, QuotedNumberComparedWithNumericColumnIsReadAsNumber) {
    const BoundQuery q = Bind("select datum from jizdy where kol_c IN (\"1\",\"3\" )");
    const BoundExpr& in = *q.where;
    EXPECT_EQ(in.children[1]->type, SqlType::kNumber);
    EXPECT_EQ(in.children[2]->constant, Value(3.0));
}

TEST_F(BinderTest, QuotedDateComparedWithDateColumnIsReadAsDate) {
    const BoundQuery q = Bind(
        "select datum from jizdy where datum BETWEEN \"1.1.2024\" AND "
        "\"31.12.2024\"");
    EXPECT_EQ(q.where->children[2]->constant, Value(*Date::FromYmd(2024, 12, 31)));
    // The literal may also stand on the left.
    const BoundQuery left = Bind("select datum from jizdy where \"1.1.2024\" <= datum");
    EXPECT_EQ(left.where->children[0]->type, SqlType::kDate);
}

TEST_F(BinderTest, UnreadableDateNamesTheLiteralAndItsPlace) {
    const SqlError e = BindError("select datum from jizdy\nwhere datum >= \"31.2.2024\"");
    EXPECT_NE(e.bareMessage().find("\"31.2.2024\""), std::string::npos);
    EXPECT_EQ(e.pos().line, 2);
    EXPECT_EQ(e.pos().column, 16);
}

TEST_F(BinderTest, UnreadableNumberNamesTheLiteral) {
    const SqlError e = BindError("select datum from jizdy where delka > \"dlouho\"");
    EXPECT_NE(e.bareMessage().find("dlouho"), std::string::npos);
}

TEST_F(BinderTest, ComparingDateWithNumberIsATypeError) {
    EXPECT_THROW(Bind("select datum from jizdy where datum = 5"), SqlError);
    EXPECT_THROW(Bind("select datum from jizdy where jizdy.datum = jizdy.delka"), SqlError);
}

TEST_F(BinderTest, AggregateInWhereIsRefused) {
    const SqlError e = BindError("select datum from jizdy where sum(delka) > 5");
    EXPECT_NE(e.bareMessage().find("WHERE"), std::string::npos);
}

TEST_F(BinderTest, SumOfTextIsRefused) {
    EXPECT_THROW(Bind("select sum(popis1) from jizdy"), SqlError);
}

TEST_F(BinderTest, UngroupedColumnBesideAggregateIsRefused) {
    const SqlError e = BindError("select datum, count(*) from jizdy");
    EXPECT_NE(e.bareMessage().find("GROUP BY"), std::string::npos);
    EXPECT_NE(e.bareMessage().find("DATUM"), std::string::npos);
}

TEST_F(BinderTest, GroupedColumnAndAliasedGroupKeyAreAccepted) {
    const BoundQuery q = Bind(
        "select JIZDY.MESIC_C AS MESIC , MAX (JIZDY.DELKA) AS MAX_DEL, COUNT (JIZDY.TRS_C) "
        "AS COUNT_JZD from jizdy group by JIZDY.MESIC_C order by JIZDY.MESIC_C");
    EXPECT_TRUE(q.aggregated);
    ASSERT_EQ(q.groups.size(), 1u);
    ASSERT_EQ(q.aggregates.size(), 2u);
    EXPECT_EQ(q.outputs.size(), 3u);  // the order key is the first output, nothing hidden
    EXPECT_EQ(q.order[0].column, 0);
    EXPECT_EQ(q.fields[0].name, "MESIC");
}

TEST_F(BinderTest, GroupByOutputAliasAndOrdinal) {
    const BoundQuery byAlias = Bind("select mesic_c as m, count(*) from jizdy group by m");
    EXPECT_EQ(byAlias.groups.size(), 1u);
    const BoundQuery byOrdinal = Bind("select mesic_c, count(*) from jizdy group by 1 order by 2");
    EXPECT_EQ(byOrdinal.order[0].column, 1);
}

TEST_F(BinderTest, OrderByAliasOfPlainColumnAndByAggregateAlias) {
    const BoundQuery q = Bind("select JIZDY.RYCHL_MAX AS RYCH_MAX from jizdy order by RYCH_MAX");
    EXPECT_EQ(q.order[0].column, 0);
    EXPECT_EQ(q.outputs.size(), 1u);
    const BoundQuery agg = Bind("select MAX (JIZDY.DELKA) AS MAX_DEL from jizdy order by MAX_DEL");
    EXPECT_EQ(agg.order[0].column, 0);
}

TEST_F(BinderTest, OrderByColumnNotSelectedBecomesHiddenOutput) {
    const BoundQuery q = Bind("select datum from jizdy order by delka desc");
    EXPECT_EQ(q.visibleCount, 1u);
    EXPECT_EQ(q.outputs.size(), 2u);
    EXPECT_TRUE(q.order[0].descending);
    EXPECT_EQ(q.fields.size(), 1u);
}

TEST_F(BinderTest, OrdinalOutsideTheListIsRefused) {
    EXPECT_THROW(Bind("select datum from jizdy order by 2"), SqlError);
    // Beyond any integer type, fractional or zero: refused, never cast.
    for (const char* ordinal : {"1.5e34", "1e300", "1.5", "0"}) {
        EXPECT_THROW(Bind(std::string("select datum from jizdy order by ") + ordinal), SqlError)
            << ordinal;
        EXPECT_THROW(Bind(std::string("select datum from jizdy group by ") + ordinal), SqlError)
            << ordinal;
    }
}

TEST_F(BinderTest, NestedAggregateIsRefused) {
    EXPECT_THROW(Bind("select max(sum(delka)) from jizdy"), SqlError);
}

TEST_F(BinderTest, ResultNamesOfUnaliasedAggregatesAndExpressions) {
    const BoundQuery q =
        Bind("select min(datum), count(*), sum(delka / cas), max(popis1) from jizdy");
    EXPECT_EQ(q.fields[0].name, "MIN_DATUM");
    EXPECT_EQ(q.fields[1].name, "COUNT");
    EXPECT_EQ(q.fields[2].name, "SUM");
    EXPECT_EQ(q.fields[3].name, "MAX_POPIS1");
    const BoundQuery plain = Bind("select datum, delka / cas, 'x' from jizdy");
    EXPECT_EQ(plain.fields[1].name, "EXPR2");
    EXPECT_EQ(plain.fields[2].name, "EXPR3");
}

TEST_F(BinderTest, ResultNamesAreCutToTenCharactersAndKeptUnique) {
    const BoundQuery q = Bind(
        "select delka as prumerna_delka, cas as prumerna_delka2, rychl_max as \"rychlost max\", "
        "kol_c as průměr, min(rychl_max) from jizdy group by delka, cas, rychl_max, kol_c");
    EXPECT_EQ(q.fields[0].name, "PRUMERNA_D");
    EXPECT_EQ(q.fields[1].name, "PRUMERNA_2");
    EXPECT_EQ(q.fields[2].name, "RYCHLOST_M");
    EXPECT_EQ(q.fields[3].name, "PR_M_R");
    EXPECT_EQ(q.fields[4].name, "MIN_RYCHL_");
}

TEST_F(BinderTest, ResultFieldDefinitions) {
    const BoundQuery q = Bind(
        "select typ_trs.trs_start, count(jizdy.trs_c), sum(jizdy.delka), avg(jizdy.delka), "
        "(sum(jizdy.delka) / sum(jizdy.cas)) as avg_pru, min(jizdy.datum), max(jizdy.bini), "
        "'ab' as t from jizdy, typ_trs where jizdy.trs_c = typ_trs.trs_c group by "
        "typ_trs.trs_start");
    EXPECT_EQ(q.fields[0], FieldDef::Char("TRS_START", 20));
    EXPECT_EQ(q.fields[1], FieldDef::Numeric("COUNT_TRS_", 11, 0));
    EXPECT_EQ(q.fields[2], FieldDef::Numeric("SUM_DELKA", 20, 4));
    EXPECT_EQ(q.fields[3], FieldDef::Numeric("AVG_DELKA", 20, 6));
    EXPECT_EQ(q.fields[4], FieldDef::Numeric("AVG_PRU", 20, 6));
    EXPECT_EQ(q.fields[5], FieldDef::DateField("MIN_DATUM"));
    EXPECT_EQ(q.fields[6], FieldDef::Numeric("MAX_BINI", 11, 0));
    EXPECT_EQ(q.fields[7], FieldDef::Char("T", 2));
}

TEST_F(BinderTest, StarExpandsEveryTableInFromOrder) {
    const BoundQuery q = Bind("select * from typ_trs, jizdy where typ_trs.trs_c = jizdy.trs_c");
    EXPECT_EQ(q.fields.size(), 13u);
    EXPECT_EQ(q.fields[0].name, "TRS_C");
    EXPECT_EQ(q.fields[3].name, "DATUM");
    EXPECT_EQ(q.fields[5].name, "TRS_C_2");
}

TEST_F(BinderTest, DistinctWithOrderOutsideTheListIsRefused) {
    EXPECT_THROW(Bind("select distinct datum from jizdy order by delka"), SqlError);
}

}  // namespace
}  // namespace kolvio::sql
