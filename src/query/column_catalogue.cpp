#include "query/column_catalogue.h"

#include <iterator>

namespace kolvio {

namespace {

struct Column {
    std::string_view label;
    std::string_view expression;
};

// In the order of the general list.
constexpr Column kPlain[] = {
    {"DATUM", "JIZDY.DATUM"},
    {"TRASA START", "TYP_TRS.TRS_START"},
    {"TRASA PRŮJEZDNÍ.B.", "TYP_TRS.TRS_MEZI"},
    {"TRASA SMĚR JÍZDY", "JIZDY.TRS_SMER"},
    {"TRASA CÍL", "TYP_TRS.TRS_CIL"},
    {"TRASA KÓD 1", "TYP_TRS.TRS_N1"},
    {"TRASA KÓD 2", "TYP_TRS.TRS_N2"},
    {"TRASA ČÍSLO", "TYP_TRS.TRS_C"},
    {"TRÉN.ZÁKL.TYP", "TYP_TRNZ.TRNZ_N"},
    {"TRÉN.VEDL.TYP", "TYP_TRN.TRN_N"},
    {"KOLO TYP", "TYP_KOL.KOL_TYP"},
    {"KOLO ZNAČKA", "TYP_KOL.KOL_ZNA"},
    {"JÍZDA DÉLKA", "JIZDY.DELKA"},
    {"JÍZDA ČAS", "JIZDY.CAS"},
    {"JÍZDA MAX.RYCHLOST", "JIZDY.RYCHL_MAX AS RYCH_MAX"},
    {"JÍZDA PRŮMER", "JIZDY.PRUMER"},
    {"JÍZDA POČET OSOB", "JIZDY.OSOB"},
    {"JÍZDA POPIS", "JIZDY.POPIS1"},
    {"TEP PRŮMĚR", "JIZDY.SR_AVG"},
    {"TEP MAX", "JIZDY.SR_MAX"},
    {"ENERGIE KCAL", "JIZDY.SR_KCAL"},
    {"TEP LIMIT", "JIZDY.SR_LIM"},
    {"TEP PŘEKR.PROC.", "JIZDY.SR_PLP"},
    {"TEP PŘEKR.ČAS", "JIZDY.SR_PLC"},
    {"TEP VĚK.LIMIT", "JIZDY.SR_X"},
    {"TEP HLÍD.ZKRATKA", "TYP_HLD.THL_ZKR"},
    {"TEP HLÍD.POPIS", "TYP_HLD.THL_POP"},
    {"PRŮM./VĚK.LIM.TEP[%]", "JIZDY.SR_AXP"},
    {"MAX./VĚK.LIM.TEP[%]", "JIZDY.SR_MXP"},
    {"MAX./LIM.TEP[%]", "JIZDY.SR_MLP"},
    {"PRŮM./LIM.TEP[%]", "JIZDY.SR_ALP"},
};
static_assert(std::size(kPlain) == 31);

// The six aggregates that only the lists naming them offer, then the 35 that
// every statistics list ends with (from "MAX.PRŮMĚR" on).
constexpr size_t kListOwnAggregates = 6;
constexpr Column kAggregate[] = {
    {"MAX.DÉLKA", "MAX (JIZDY.DELKA) AS MAX_DEL"},
    {"MIN.DÉLKA", "MIN (JIZDY.DELKA) AS MIN_DEL"},
    {"POČET PRŮJEZDŮ", "COUNT (JIZDY.TRS_C) AS COUNT_JIZ"},
    {"PRUM.DEL.TRATĚ", "AVG (JIZDY.DELKA) AS AVG_DEL"},
    {"POČET POUŽITÍ", "COUNT (JIZDY.KOL_C) AS COUNT_KOL"},
    {"POČET JÍZD", "COUNT (JIZDY.TRS_C) AS COUNT_JZD"},
    {"MAX.PRŮMĚR", "MAX (JIZDY.PRUMER) AS MAX_PRU"},
    {"MIN.PRŮMĚR", "MIN (JIZDY.PRUMER) AS MIN_PRU"},
    {"MAX.ČAS", "MAX (JIZDY.CAS) AS MAX_CAS"},
    {"MIN.ČAS", "MIN (JIZDY.CAS) AS MIN_CAS"},
    {"MAX.MAX.RYCHL.", "MAX (JIZDY.RYCHL_MAX) AS MAX_RYC"},
    {"MIN.MAX.RYCHL.", "MIN (JIZDY.RYCHL_MAX) AS MIN_RYC"},
    {"MAX.POČ.OSOB", "MAX (JIZDY.OSOB) AS MAX_OSO"},
    {"MIN.POČ.OSOB", "MIN (JIZDY.OSOB) AS MIN_OSO"},
    {"CELK.UJET.DÉLKA", "SUM (JIZDY.DELKA) AS SUM_DEL"},
    {"CELK.UJET.ČAS", "SUM (JIZDY.CAS) AS SUM_CAS"},
    {"CELK.PRŮMĚR", "(SUM (JIZDY.DELKA) / SUM (JIZDY.CAS)) AS AVG_PRU"},
    {"MAX.TEP PRŮMĚR", "MAX (JIZDY.SR_AVG) AS MAX_SAV"},
    {"MIN.TEP PRŮMĚR", "MIN (JIZDY.SR_AVG) AS MIN_SAV"},
    {"MAX.TEP MAX", "MAX (JIZDY.SR_MAX) AS MAX_SMA"},
    {"MIN.TEP MAX", "MIN (JIZDY.SR_MAX) AS MIN_SMA"},
    {"MAX.ENERGIE KCAL", "MAX (JIZDY.SR_KCAL) AS MAX_SKC"},
    {"MIN.ENERGIE KCAL", "MIN (JIZDY.SR_KCAL) AS MIN_SKC"},
    {"MAX.TEP LIMIT", "MAX (JIZDY.SR_LIM) AS MAX_SLI"},
    {"MIN.TEP LIMIT", "MIN (JIZDY.SR_LIM) AS MIN_SLI"},
    {"MAX.TEP PŘEKR.PROC.", "MAX (JIZDY.SR_PLP) AS MAX_SPP"},
    {"MIN.TEP PŘEKR.PROC.", "MIN (JIZDY.SR_PLP) AS MIN_SPP"},
    {"MAX.TEP PŘEKR.ČAS", "MAX (JIZDY.SR_PLC) AS MAX_SPC"},
    {"MIN.TEP PŘEKR.ČAS", "MIN (JIZDY.SR_PLC) AS MIN_SPC"},
    {"MAX.TEP VĚK.LIMIT", "MAX (JIZDY.SR_X) AS MAX_SX"},
    {"MIN.TEP VĚK.LIMIT", "MIN (JIZDY.SR_X) AS MIN_SX"},
    {"MAX.PRŮM./V.LIM.TEP[%]", "MAX (JIZDY.SR_AXP) AS MAX_SAX"},
    {"MIN.PRŮM./V.LIM.TEP[%]", "MIN (JIZDY.SR_AXP) AS MIN_SAX"},
    {"MAX.MAX./V.LIM.TEP[%]", "MAX (JIZDY.SR_MXP) AS MAX_SMX"},
    {"MIN.MAX./V.LIM.TEP[%]", "MIN (JIZDY.SR_MXP) AS MIN_SMX"},
    {"MAX.MAX./LIM.TEP[%]", "MAX (JIZDY.SR_MLP) AS MAX_SML"},
    {"MIN.MAX./LIM.TEP[%]", "MIN (JIZDY.SR_MLP) AS MIN_SML"},
    {"MAX.PRŮM./LIM.TEP[%]", "MAX (JIZDY.SR_ALP) AS MAX_SAL"},
    {"MIN.PRŮM./LIM.TEP[%]", "MIN (JIZDY.SR_ALP) AS MIN_SAL"},
    {"CELK.TEP PŘEKR.ČAS", "SUM (JIZDY.SR_PLC) AS SUM_SPC"},
    {"CELK.ENERGIE KCAL", "SUM (JIZDY.SR_KCAL) AS SUM_SKC"},
};
static_assert(std::size(kAggregate) == 41);

// The labels each statistics list puts before the common aggregates.
const std::vector<std::vector<std::string_view>>& ListHeads() {
    static const std::vector<std::vector<std::string_view>> heads = {
        {},
        {"TRASA START", "TRASA PRŮJEZDNÍ.B.", "TRASA SMĚR JÍZDY", "TRASA CÍL", "TRASA KÓD 1",
         "TRASA KÓD 2", "MAX.DÉLKA", "MIN.DÉLKA", "POČET PRŮJEZDŮ", "PRUM.DEL.TRATĚ"},
        {"KOLO TYP", "KOLO ZNAČKA", "POČET POUŽITÍ"},
        {"TRÉN.ZÁKL.TYP", "MAX.DÉLKA", "MIN.DÉLKA", "POČET POUŽITÍ"},
        {"TRÉN.VEDL.TYP", "MAX.DÉLKA", "MIN.DÉLKA", "POČET POUŽITÍ"},
        {"MAX.DÉLKA", "MIN.DÉLKA", "POČET JÍZD"},
        {"TEP HLÍD.ZKRATKA", "TEP HLÍD.POPIS", "POČET JÍZD"},
    };
    return heads;
}

const Column* Find(std::string_view label) {
    for (const Column& c : kPlain) {
        if (c.label == label) return &c;
    }
    for (const Column& c : kAggregate) {
        if (c.label == label) return &c;
    }
    return nullptr;
}

constexpr std::string_view kAs = " AS ";

}  // namespace

std::string ColumnExpression(std::string_view label) {
    const Column* c = Find(label);
    return c ? std::string(c->expression) : std::string();
}

std::string ColumnOrderKey(std::string_view label) {
    const std::string expression = ColumnExpression(label);
    const size_t as = expression.rfind(kAs);
    return as == std::string::npos ? expression : expression.substr(as + kAs.size());
}

bool IsPlainColumn(std::string_view label) {
    for (const Column& c : kPlain) {
        if (c.label == label) return true;
    }
    return false;
}

std::string ResultColumnName(std::string_view label) {
    const std::string key = ColumnOrderKey(label);
    const size_t dot = key.rfind('.');
    return dot == std::string::npos ? key : key.substr(dot + 1);
}

std::vector<std::string> ColumnListLabels(int number) {
    std::vector<std::string> labels;
    if (number == 0) {
        for (const Column& c : kPlain)
            labels.emplace_back(c.label);
        return labels;
    }
    if (number < 1 || number >= kColumnListCount) return labels;
    for (std::string_view label : ListHeads()[number])
        labels.emplace_back(label);
    for (size_t i = kListOwnAggregates; i < std::size(kAggregate); ++i)
        labels.emplace_back(kAggregate[i].label);
    return labels;
}

}  // namespace kolvio
