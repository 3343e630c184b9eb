// The statements and captions of the result viewer's summaries.
#include "query/summaries.h"

#include <gtest/gtest.h>

namespace kolvio {
namespace {

TEST(Summaries, OneStatementPerKindOverTheResultTable) {
    EXPECT_EQ(SummaryStatement(SummaryKind::kSum, "DELKA", "VYSLEDEK.dbf"),
              "select SUM (DELKA) AS vysl from VYSLEDEK.dbf");
    EXPECT_EQ(SummaryStatement(SummaryKind::kAverage, "SUM_CAS", "VYSLEDEK.dbf"),
              "select AVG (SUM_CAS) AS vysl from VYSLEDEK.dbf");
    EXPECT_EQ(SummaryStatement(SummaryKind::kMaximum, "MAX_DEL", "VYSLEDEK.dbf"),
              "select MAX (MAX_DEL) AS vysl from VYSLEDEK.dbf");
    EXPECT_EQ(SummaryStatement(SummaryKind::kMinimum, "SR_X", "VYSLEDEK.dbf"),
              "select MIN (SR_X) AS vysl from VYSLEDEK.dbf");
}

TEST(Summaries, ANameThatIsNoPlainFieldNameGivesNoStatement) {
    for (const char* name : {"", "A B", "X) from jizdy --", "DÉLKA", "a;b", "\"X\""})
        EXPECT_EQ(SummaryStatement(SummaryKind::kSum, name, "VYSLEDEK.dbf"), "") << name;
}

TEST(Summaries, CaptionsNameTheKindAndTheColumnTitle) {
    EXPECT_EQ(SummaryCaption(SummaryKind::kSum, "celk.ujet.čas"), "Součet-celk.ujet.čas:");
    EXPECT_EQ(SummaryCaption(SummaryKind::kAverage, "měřená délka"), "Průměr-měřená délka:");
    EXPECT_EQ(SummaryCaption(SummaryKind::kMaximum, "max.tep"), "Maximum-max.tep:");
    EXPECT_EQ(SummaryCaption(SummaryKind::kMinimum, "kcal"), "Minimum-kcal:");
}

}  // namespace
}  // namespace kolvio
