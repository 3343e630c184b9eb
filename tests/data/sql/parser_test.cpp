// The tokenizer and parser: every statement form the query screens write,
// and the place reported for a statement that does not parse.
#include "data/sql/parser/parser.h"

#include <gtest/gtest.h>

#include "data/sql/parser/token.h"

namespace kolvio::sql {
namespace {

const SelectStatement& AsSelect(const Statement& st) {
    return std::get<SelectStatement>(st);
}

SqlError ParseError(std::string_view text) {
    try {
        ParseStatement(text);
    } catch (const SqlError& e) {
        return e;
    }
    ADD_FAILURE() << "parsed: " << text;
    return SqlError("");
}

TEST(Tokenizer, DoubledQuoteInsideStringIsOneQuote) {
    const auto tokens = Tokenize("'it''s' \"say \"\"hi\"\"\"");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].text, "it's");
    EXPECT_FALSE(tokens[0].doubleQuoted);
    EXPECT_EQ(tokens[1].text, "say \"hi\"");
    EXPECT_TRUE(tokens[1].doubleQuoted);
}

TEST(Tokenizer, ColumnCountsCharactersNotBytesAfterCzechText) {
    // "čau" is 5 bytes but 3 characters; x starts in column 11.
    const auto tokens = Tokenize("select 'čau', x");
    EXPECT_EQ(tokens[3].text, "x");
    EXPECT_EQ(tokens[3].pos.line, 1);
    EXPECT_EQ(tokens[3].pos.column, 15);
    const auto t2 = Tokenize("'čau' x");
    EXPECT_EQ(t2[1].pos.column, 7);
}

TEST(Tokenizer, LineAndColumnFollowLineBreaks) {
    const auto tokens = Tokenize("select a\n , b\nfrom t");
    EXPECT_EQ(tokens[3].text, "b");
    EXPECT_EQ(tokens[3].pos.line, 2);
    EXPECT_EQ(tokens[3].pos.column, 4);
    EXPECT_EQ(tokens[4].pos.line, 3);
}

TEST(Tokenizer, UnterminatedStringNamesItsStart) {
    try {
        Tokenize("select \"1.1.2024 from t");
        FAIL();
    } catch (const SqlError& e) {
        EXPECT_EQ(e.pos().column, 8);
        EXPECT_NE(std::string(e.what()).find("řádek 1, sloupec 8"), std::string::npos);
    }
}

TEST(Tokenizer, TwoCharacterOperatorsAreOneToken) {
    const auto tokens = Tokenize("a<=b<>c>=d!=e");
    EXPECT_EQ(tokens[1].text, "<=");
    EXPECT_EQ(tokens[3].text, "<>");
    EXPECT_EQ(tokens[5].text, ">=");
    EXPECT_EQ(tokens[7].text, "!=");
}

TEST(Tokenizer, NumberGluedToLettersIsRefused) {
    EXPECT_THROW(Tokenize("select 12abc from t"), SqlError);
}

TEST(Parser, WorkedExampleOfTheRouteStatisticsParses) {
    const char* text =
        "select TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, COUNT (JIZDY.TRS_C) AS COUNT_JIZ, SUM "
        "(JIZDY.DELKA) AS SUM_DEL \n"
        ", JIZDY.TRS_C\n"
        "from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld\n"
        "where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = "
        "typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c \n"
        " and  ( jizdy.datum BETWEEN \"1.1.2024\" AND \"31.12.2024\" ) \n"
        " and  ( jizdy.kol_c NOT IN (\"1\",\"3\" )) \n"
        " group by TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.TRS_C\n"
        " order by TYP_TRS.TRS_START, JIZDY.TRS_C\n";
    const Statement st = ParseStatement(text);
    const SelectStatement& s = AsSelect(st);
    ASSERT_EQ(s.items.size(), 5u);
    EXPECT_EQ(s.items[2].alias, "COUNT_JIZ");
    EXPECT_EQ(s.items[2].expr->kind, ParsedExpr::Kind::kAggregate);
    ASSERT_EQ(s.from.size(), 6u);
    EXPECT_EQ(s.from[5].name, "typ_hld");
    EXPECT_EQ(s.groupBy.size(), 3u);
    ASSERT_EQ(s.orderBy.size(), 2u);
    EXPECT_EQ(s.orderBy[1].expr->qualifier, "JIZDY");
}

TEST(Parser, AndBindsTighterThanOrAndNotTighterThanAnd) {
    const Statement st = ParseStatement("select a from t where not a = 1 or b = 2 and c = 3");
    const ParsedExpr& w = *AsSelect(st).where;
    ASSERT_EQ(w.kind, ParsedExpr::Kind::kOr);
    EXPECT_EQ(w.children[0]->kind, ParsedExpr::Kind::kNot);
    EXPECT_EQ(w.children[1]->kind, ParsedExpr::Kind::kAnd);
}

TEST(Parser, BetweenBoundsDoNotSwallowTheFollowingAnd) {
    const Statement st =
        ParseStatement("select a from t where a between 1 and 2 and b not between 3 and 4");
    const ParsedExpr& w = *AsSelect(st).where;
    ASSERT_EQ(w.kind, ParsedExpr::Kind::kAnd);
    EXPECT_EQ(w.children[0]->kind, ParsedExpr::Kind::kBetween);
    EXPECT_TRUE(w.children[1]->negated);
}

TEST(Parser, ArithmeticPrecedenceIsProductBeforeSum) {
    // a + (b * c) - (d / e): one chain of three terms, two of them products.
    const Statement st = ParseStatement("select a + b * c - d / e from t");
    const ParsedExpr& e = *AsSelect(st).items[0].expr;
    ASSERT_EQ(e.kind, ParsedExpr::Kind::kArith);
    ASSERT_EQ(e.children.size(), 3u);
    EXPECT_EQ(e.arithOps, (std::vector<ArithOp>{ArithOp::kAdd, ArithOp::kSub}));
    EXPECT_EQ(e.children[1]->arithOps, std::vector<ArithOp>{ArithOp::kMul});
    EXPECT_EQ(e.children[2]->arithOps, std::vector<ArithOp>{ArithOp::kDiv});
}

TEST(Parser, QuotientOfTwoSumsInParenthesesWithAlias) {
    const Statement st =
        ParseStatement("select (SUM (JIZDY.DELKA) / SUM (JIZDY.CAS)) AS AVG_PRU from jizdy");
    const SelectItem& item = AsSelect(st).items[0];
    EXPECT_EQ(item.alias, "AVG_PRU");
    EXPECT_EQ(item.expr->arithOps, std::vector<ArithOp>{ArithOp::kDiv});
}

TEST(Parser, TableNamesWithAndWithoutExtensionAndQuotes) {
    const Statement st = ParseStatement("select SUM (DELKA) AS vysl from VYSLEDEK.dbf");
    EXPECT_EQ(AsSelect(st).from[0].name, "VYSLEDEK.dbf");
    const Statement quoted = ParseStatement("select x from \"pomocne.dbf\" p, jizdy");
    EXPECT_EQ(AsSelect(quoted).from[0].name, "pomocne.dbf");
    EXPECT_EQ(AsSelect(quoted).from[0].alias, "p");
    EXPECT_EQ(AsSelect(quoted).from[1].alias, "");
}

TEST(Parser, QualifierMayCarryTheFileExtension) {
    const Statement st = ParseStatement("select jizdy.dbf.datum, \"typ_kol.dbf\".kol_c from jizdy");
    const auto& items = AsSelect(st).items;
    EXPECT_EQ(items[0].expr->qualifier, "jizdy.dbf");
    EXPECT_EQ(items[0].expr->name, "datum");
    EXPECT_EQ(items[1].expr->qualifier, "typ_kol.dbf");
}

TEST(Parser, DoubleQuotedTextIsALiteralInExpressions) {
    const Statement st = ParseStatement("select a from t where t.x = \"5\"");
    const ParsedExpr& w = *AsSelect(st).where;
    EXPECT_EQ(w.children[1]->kind, ParsedExpr::Kind::kString);
}

TEST(Parser, KeywordsInAnyCaseAndTrailingSemicolon) {
    const Statement st = ParseStatement("SeLeCt DISTINCT a FrOm t OrDeR bY a DeSc;");
    EXPECT_TRUE(AsSelect(st).distinct);
    EXPECT_TRUE(AsSelect(st).orderBy[0].descending);
}

TEST(Parser, CountStarAndAliasWithoutAs) {
    const Statement st = ParseStatement("select count(*) pocet, min(datum) from jizdy");
    const auto& items = AsSelect(st).items;
    EXPECT_TRUE(items[0].expr->star);
    EXPECT_EQ(items[0].alias, "pocet");
    EXPECT_EQ(items[1].alias, "");
}

TEST(Parser, AlterTableAddColumnForms) {
    const Statement st = ParseStatement("ALTER TABLE \"jizdy.dbf\" add column rok Integer ");
    const auto& a = std::get<AlterAddColumn>(st);
    EXPECT_EQ(a.table.name, "jizdy.dbf");
    EXPECT_EQ(a.column, "rok");
    EXPECT_EQ(a.type.kind, ColumnTypeSpec::Kind::kInteger);
    const auto f = std::get<AlterAddColumn>(
        ParseStatement("alter table \"jizdy.dbf\" ADD COLUMN sr_plp float(20,4)"));
    EXPECT_EQ(f.type.kind, ColumnTypeSpec::Kind::kFloat);
    EXPECT_EQ(f.type.width, 20);
    EXPECT_EQ(f.type.decimals, 4);
    const auto b =
        std::get<AlterAddColumn>(ParseStatement("ALTER TABLE \"jizdy.dbf\" add sr_mer boolean"));
    EXPECT_EQ(b.type.kind, ColumnTypeSpec::Kind::kBoolean);
}

TEST(Parser, UnknownColumnTypeIsNamedWithItsPlace) {
    const SqlError e = ParseError("ALTER TABLE \"jizdy.dbf\" add column x money");
    EXPECT_NE(e.bareMessage().find("money"), std::string::npos);
    EXPECT_EQ(e.pos().column, 38);
}

TEST(Parser, MissingFromIsReportedRightAfterTheLastToken) {
    // The statement lines end with line breaks; the place is where text ends.
    const SqlError e = ParseError("select a, b\n\n");
    EXPECT_NE(e.bareMessage().find("FROM"), std::string::npos);
    EXPECT_NE(e.bareMessage().find("konec příkazu"), std::string::npos);
    EXPECT_EQ(e.pos().line, 1);
    EXPECT_EQ(e.pos().column, 12);
}

TEST(Parser, ReservedWordIsNotTakenForATableAlias) {
    // "where" must end the FROM list, not alias the table.
    const Statement st = ParseStatement("select a from t where a = 1");
    EXPECT_TRUE(AsSelect(st).where != nullptr);
    EXPECT_EQ(AsSelect(st).from[0].alias, "");
}

TEST(Parser, EmptySelectListFromAnotherPageIsRefusedWithPlace) {
    // The builder writes "select " and then the from line when nothing is chosen.
    const SqlError e = ParseError("select \nfrom jizdy\n");
    EXPECT_EQ(e.pos().line, 2);
    EXPECT_EQ(e.pos().column, 1);
}

TEST(Parser, TrailingGarbageIsRefused) {
    const SqlError e = ParseError("select a from t t2 t3");
    EXPECT_EQ(e.pos().column, 20);
}

TEST(Parser, UnknownFunctionIsNamed) {
    const SqlError e = ParseError("select upper(a) from t");
    EXPECT_NE(e.bareMessage().find("upper"), std::string::npos);
}

TEST(Parser, InListAndIsNull) {
    const Statement st =
        ParseStatement("select a from t where a in (1, 2, \"3\") and b is not null and c is null");
    const ParsedExpr& w = *AsSelect(st).where;
    ASSERT_EQ(w.children.size(), 3u);  // one AND of three terms
    const ParsedExpr& in = *w.children[0];
    EXPECT_EQ(in.kind, ParsedExpr::Kind::kIn);
    EXPECT_EQ(in.children.size(), 4u);
    EXPECT_TRUE(w.children[1]->negated);
    EXPECT_FALSE(w.children[2]->negated);
}

}  // namespace
}  // namespace kolvio::sql
