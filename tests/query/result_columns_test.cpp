// Titles, alignments and formatters of the result viewer's columns, and the
// rule that decides which columns can be summed.
#include "query/result_columns.h"

#include <gtest/gtest.h>

namespace kolvio {
namespace {

TEST(ResultColumns, KnownFieldsGetTheirTitleAlignmentAndFormatter) {
    struct Row {
        const char* field;
        const char* title;
        ValueAlignment alignment;
        ResultFormatter formatter;
    };
    const Row rows[] = {
        {"DATUM", "datum jízdy", ValueAlignment::kRight, ResultFormatter::kNone},
        {"datum", "datum jízdy", ValueAlignment::kRight, ResultFormatter::kNone},
        {"TRS_SMER", "trasa-směr jízdy", ValueAlignment::kCentre, ResultFormatter::kSMER},
        {"POPIS1", "popis", ValueAlignment::kDefault, ResultFormatter::kNone},
        {"SUM_CAS", "celk.ujet.čas", ValueAlignment::kCentre, ResultFormatter::kCAS},
        {"SR_PLC", "čas přek.t.lim", ValueAlignment::kRight, ResultFormatter::kCASNull},
        {"MESIC", "měsíc", ValueAlignment::kRight, ResultFormatter::kMESIC},
        {"RYCH_MAX", "max.rychlost", ValueAlignment::kRight, ResultFormatter::kRYCHL_MAX},
        {"MIN_SAL", "min.prům./lim.tep[%]", ValueAlignment::kRight, ResultFormatter::kSR_Procent},
        {"EXTREM", "extrém", ValueAlignment::kRight, ResultFormatter::kNone},
    };
    for (const Row& r : rows) {
        const ResultColumnStyle* s = FindResultColumnStyle(r.field);
        ASSERT_NE(s, nullptr) << r.field;
        EXPECT_EQ(s->title, r.title) << r.field;
        EXPECT_EQ(s->alignment, r.alignment) << r.field;
        EXPECT_EQ(s->formatter, r.formatter) << r.field;
    }
}

TEST(ResultColumns, UnknownFieldsKeepTheirNameAsTitle) {
    EXPECT_EQ(FindResultColumnStyle("EXPR1"), nullptr);
    EXPECT_EQ(ResultColumnTitle("EXPR1"), "EXPR1");
    EXPECT_EQ(ResultColumnTitle("RYCHL_MAX"), "RYCHL_MAX");  // the alias is RYCH_MAX
    EXPECT_EQ(ResultColumnTitle("DELKA"), "měřená délka");
}

TEST(ResultColumns, OnlyNumbersThatAreNotCodesCanBeSummed) {
    struct Row {
        const char* field;
        FieldType type;
        bool summable;
    };
    const Row rows[] = {
        {"DELKA", FieldType::kFloat, true},     {"COUNT_JIZ", FieldType::kNumeric, true},
        {"OSOB", FieldType::kInteger, true},    {"SUM_CAS", FieldType::kFloat, true},
        {"MESIC", FieldType::kFloat, false},    {"TRS_C", FieldType::kFloat, false},
        {"trs_smer", FieldType::kFloat, false}, {"KOL_C", FieldType::kNumeric, false},
        {"TRNZ_C", FieldType::kFloat, false},   {"TRN_C", FieldType::kFloat, false},
        {"THL_C", FieldType::kFloat, false},    {"DATUM", FieldType::kDate, false},
        {"TRS_START", FieldType::kChar, false}, {"SR_MER", FieldType::kLogical, false},
        {"POPIS", FieldType::kMemo, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(IsSummableColumn(r.field, r.type), r.summable) << r.field;
}

}  // namespace
}  // namespace kolvio
