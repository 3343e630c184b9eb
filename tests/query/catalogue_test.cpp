// The column catalogue, the seven column lists and the presets.
#include "query/column_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "query/query_preset.h"
#include "query/result_columns.h"

namespace kolvio {
namespace {

using Labels = std::vector<std::string>;

// The 35 aggregates every statistics list ends with.
Labels CommonAggregates() {
    const Labels all = ColumnListLabels(5);
    return Labels(all.begin() + 3, all.end());
}

Labels Concat(Labels head, const Labels& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(Catalogue, GeneralListIsTheThirtyOnePlainColumnsInOrder) {
    const Labels general = ColumnListLabels(0);
    ASSERT_EQ(general.size(), 31u);
    EXPECT_EQ(general.front(), "DATUM");
    EXPECT_EQ(general[14], "JÍZDA MAX.RYCHLOST");
    EXPECT_EQ(general.back(), "PRŮM./LIM.TEP[%]");
    for (const std::string& label : general)
        EXPECT_TRUE(IsPlainColumn(label)) << label;
}

TEST(Catalogue, StatisticsListsAreTheirHeadThenTheCommonAggregates) {
    const Labels common = CommonAggregates();
    ASSERT_EQ(common.size(), 35u);
    EXPECT_EQ(common.front(), "MAX.PRŮMĚR");
    EXPECT_EQ(common.back(), "CELK.ENERGIE KCAL");
    for (const std::string& label : common)
        EXPECT_FALSE(IsPlainColumn(label)) << label;

    EXPECT_EQ(ColumnListLabels(1), Concat({"TRASA START", "TRASA PRŮJEZDNÍ.B.", "TRASA SMĚR JÍZDY",
                                           "TRASA CÍL", "TRASA KÓD 1", "TRASA KÓD 2", "MAX.DÉLKA",
                                           "MIN.DÉLKA", "POČET PRŮJEZDŮ", "PRUM.DEL.TRATĚ"},
                                          common));
    EXPECT_EQ(ColumnListLabels(2), Concat({"KOLO TYP", "KOLO ZNAČKA", "POČET POUŽITÍ"}, common));
    EXPECT_EQ(ColumnListLabels(3),
              Concat({"TRÉN.ZÁKL.TYP", "MAX.DÉLKA", "MIN.DÉLKA", "POČET POUŽITÍ"}, common));
    EXPECT_EQ(ColumnListLabels(4),
              Concat({"TRÉN.VEDL.TYP", "MAX.DÉLKA", "MIN.DÉLKA", "POČET POUŽITÍ"}, common));
    EXPECT_EQ(ColumnListLabels(5), Concat({"MAX.DÉLKA", "MIN.DÉLKA", "POČET JÍZD"}, common));
    EXPECT_EQ(ColumnListLabels(6),
              Concat({"TEP HLÍD.ZKRATKA", "TEP HLÍD.POPIS", "POČET JÍZD"}, common));
    EXPECT_TRUE(ColumnListLabels(-1).empty());
    EXPECT_TRUE(ColumnListLabels(7).empty());
}

TEST(Catalogue, ExpressionsOrderingKeysAndResultNames) {
    struct Row {
        const char* label;
        const char* expression;
        const char* orderKey;
        const char* resultName;
        bool plain;
    };
    const Row rows[] = {
        {"DATUM", "JIZDY.DATUM", "JIZDY.DATUM", "DATUM", true},
        {"TRASA START", "TYP_TRS.TRS_START", "TYP_TRS.TRS_START", "TRS_START", true},
        {"JÍZDA MAX.RYCHLOST", "JIZDY.RYCHL_MAX AS RYCH_MAX", "RYCH_MAX", "RYCH_MAX", true},
        {"TEP HLÍD.POPIS", "TYP_HLD.THL_POP", "TYP_HLD.THL_POP", "THL_POP", true},
        {"MAX.DÉLKA", "MAX (JIZDY.DELKA) AS MAX_DEL", "MAX_DEL", "MAX_DEL", false},
        {"CELK.PRŮMĚR", "(SUM (JIZDY.DELKA) / SUM (JIZDY.CAS)) AS AVG_PRU", "AVG_PRU", "AVG_PRU",
         false},
        {"POČET JÍZD", "COUNT (JIZDY.TRS_C) AS COUNT_JZD", "COUNT_JZD", "COUNT_JZD", false},
        // Labels compare exactly: letter case and accents count.
        {"datum", "", "", "", false},
        {"JIZDA DELKA", "", "", "", false},
        {"", "", "", "", false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ColumnExpression(r.label), r.expression) << r.label;
        EXPECT_EQ(ColumnOrderKey(r.label), r.orderKey) << r.label;
        EXPECT_EQ(ResultColumnName(r.label), r.resultName) << r.label;
        EXPECT_EQ(IsPlainColumn(r.label), r.plain) << r.label;
    }
}

// Every column a list offers names a result field the viewer has a title
// for, and no two columns of one list give the same result field.
TEST(Catalogue, EveryOfferedColumnHasAViewerTitleAndAUniqueResultName) {
    for (int list = 0; list < kColumnListCount; ++list) {
        std::set<std::string> names;
        for (const std::string& label : ColumnListLabels(list)) {
            EXPECT_FALSE(ColumnExpression(label).empty()) << label;
            const std::string name = ResultColumnName(label);
            EXPECT_NE(FindResultColumnStyle(name), nullptr) << label << " -> " << name;
            EXPECT_TRUE(names.insert(name).second) << "list " << list << ": " << name;
        }
    }
}

TEST(Presets, EachEvaluationButtonHandsItsPreset) {
    auto grouped = [](int list, const char* code) {
        QueryPreset p;
        p.columnList = list;
        p.useGroupBy = true;
        p.selectSuffix = p.groupSuffix = p.orderSuffix = code;
        return p;
    };
    QueryPreset general;
    QueryPreset statistics;
    statistics.columnList = 5;
    QueryPreset monthly;
    monthly.columnList = 5;
    monthly.orderByFirstColumn = false;
    monthly.useGroupBy = true;
    monthly.selectPrefix = "JIZDY.MESIC_C AS MESIC";
    monthly.groupPrefix = monthly.orderPreset = "JIZDY.MESIC_C";
    const std::pair<const char*, QueryPreset> rows[] = {
        {"RButton10", general},
        {"RButton11", statistics},
        {"RButton12", grouped(1, "JIZDY.TRS_C")},
        {"RButton13", grouped(2, "JIZDY.KOL_C")},
        {"RButton14", grouped(3, "JIZDY.TRNZ_C")},
        {"RButton15", grouped(4, "JIZDY.TRN_C")},
        {"RButton18", grouped(6, "JIZDY.THL_C")},
        {"RButton16", monthly},
        {"RButton17", general},  // "Extrémy" opens its own screen
    };
    for (const auto& [button, preset] : rows)
        EXPECT_TRUE(PresetOfButton(button) == preset) << button;
    ASSERT_EQ(EvaluationButtons().size(), 8u);
    EXPECT_EQ(EvaluationButtons().front().name, "RButton10");
}

}  // namespace
}  // namespace kolvio
