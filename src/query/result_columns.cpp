#include "query/result_columns.h"

#include "data/dbf/field_def.h"

namespace kolvio {

namespace {

using A = ValueAlignment;
using F = ResultFormatter;

constexpr ResultColumnStyle kStyles[] = {
    {"DATUM", "datum jízdy", A::kRight, F::kNone},
    {"TRS_START", "trasa-start", A::kCentre, F::kNone},
    {"TRS_CIL", "trasa-cíl", A::kCentre, F::kNone},
    {"TRS_MEZI", "trasa-průjezdní body", A::kCentre, F::kNone},
    {"TRS_SMER", "trasa-směr jízdy", A::kCentre, F::kSMER},
    {"TRS_N1", "trasa-kód 1", A::kCentre, F::kNone},
    {"TRS_N2", "trasa-kód 2", A::kCentre, F::kNone},
    {"TRNZ_N", "trén.zákl.typ", A::kCentre, F::kNone},
    {"TRN_N", "trén.vedl.typ", A::kCentre, F::kNone},
    {"KOL_C", "kolo-číslo", A::kRight, F::kNone},
    {"KOL_TYP", "kolo-typ", A::kCentre, F::kNone},
    {"KOL_ZNA", "kolo-značka", A::kCentre, F::kNone},
    {"DELKA", "měřená délka", A::kRight, F::kDELKA},
    {"CAS", "čas jízdy", A::kCentre, F::kCAS},
    {"RYCH_MAX", "max.rychlost", A::kRight, F::kRYCHL_MAX},
    {"PRUMER", "průměr", A::kRight, F::kPRUMER},
    {"OSOB", "počet osob", A::kRight, F::kNone},
    {"POPIS1", "popis", A::kDefault, F::kNone},
    {"MAX_PRU", "max.průměr", A::kRight, F::kPRUMER},
    {"MIN_PRU", "min.průměr", A::kRight, F::kPRUMER},
    {"MAX_CAS", "max.čas", A::kCentre, F::kCAS},
    {"MIN_CAS", "min.čas", A::kCentre, F::kCAS},
    {"MAX_RYC", "max.max.rychl", A::kRight, F::kRYCHL_MAX},
    {"MIN_RYC", "min.max.rychl", A::kRight, F::kRYCHL_MAX},
    {"MAX_OSO", "max.poč.osob", A::kRight, F::kNone},
    {"MIN_OSO", "min.poč.osob", A::kRight, F::kNone},
    {"MAX_DEL", "max.délka", A::kRight, F::kDELKA},
    {"MIN_DEL", "min.délka", A::kRight, F::kDELKA},
    {"COUNT_JIZ", "počet průjezdů", A::kRight, F::kNone},
    {"COUNT_KOL", "počet použití", A::kRight, F::kNone},
    {"COUNT_JZD", "počet jízd", A::kRight, F::kNone},
    {"SUM_DEL", "celk.ujet.délka", A::kRight, F::kDELKA},
    {"SUM_CAS", "celk.ujet.čas", A::kCentre, F::kCAS},
    {"AVG_PRU", "celk.průměr", A::kRight, F::kPRUMER},
    {"TRS_C", "číslo trati", A::kRight, F::kNone},
    {"TRNZ_C", "trén.zákl.typ-číslo", A::kRight, F::kNone},
    {"TRN_C", "trén.vedl.typ-číslo", A::kRight, F::kNone},
    {"AVG_DEL", "prům.délka tratě", A::kRight, F::kDELKA},
    {"MESIC", "měsíc", A::kRight, F::kMESIC},
    {"EXTREM", "extrém", A::kRight, F::kNone},
    {"SR_AVG", "průměr.tep", A::kRight, F::kSR_TEP},
    {"SR_MAX", "max.tep", A::kRight, F::kSR_TEP},
    {"SR_KCAL", "kcal", A::kRight, F::kSR_KCAL},
    {"SR_LIM", "limit.tep", A::kRight, F::kSR_TEP},
    {"SR_X", "věk.lim.tep", A::kRight, F::kSR_TEP},
    {"SR_PLP", "čas přek.t.lim.[%]", A::kRight, F::kSR_PLP},
    {"SR_PLC", "čas přek.t.lim", A::kRight, F::kCASNull},
    {"THL_ZKR", "typ hl.t.lim-zkratka", A::kRight, F::kNone},
    {"THL_POP", "typ hl.t.lim-popis", A::kRight, F::kNone},
    {"SR_AXP", "prům./věk.lim.tep[%]", A::kRight, F::kSR_Procent},
    {"SR_MXP", "max./věk.lim.tep[%]", A::kRight, F::kSR_Procent},
    {"SR_MLP", "max./lim.tep[%]", A::kRight, F::kSR_Procent},
    {"SR_ALP", "prům./lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MAX_SAV", "max.průměr.tep", A::kRight, F::kSR_TEP},
    {"MIN_SAV", "min.průměr.tep", A::kRight, F::kSR_TEP},
    {"MAX_SMA", "max.max.tep", A::kRight, F::kSR_TEP},
    {"MIN_SMA", "min.max.tep", A::kRight, F::kSR_TEP},
    {"MAX_SKC", "max.kcal", A::kRight, F::kSR_KCAL},
    {"MIN_SKC", "min.kcal", A::kRight, F::kSR_KCAL},
    {"MAX_SLI", "max.limit.tep", A::kRight, F::kSR_TEP},
    {"MIN_SLI", "min.limit.tep", A::kRight, F::kSR_TEP},
    {"MAX_SPP", "max.čas přek.t.lim.[%]", A::kRight, F::kSR_PLP},
    {"MIN_SPP", "min.čas přek.t.lim.[%]", A::kRight, F::kSR_PLP},
    {"MAX_SPC", "max.čas přek.t.lim", A::kRight, F::kCASNull},
    {"MIN_SPC", "min.čas přek.t.lim", A::kRight, F::kCASNull},
    {"MAX_SX", "max.věk.lim.tep", A::kRight, F::kSR_TEP},
    {"MIN_SX", "min.věk.lim.tep", A::kRight, F::kSR_TEP},
    {"MAX_SAX", "max.prům./v.lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MIN_SAX", "min.prům./v.lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MAX_SMX", "max.max./v.lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MIN_SMX", "min.max./v.lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MAX_SML", "max.max./lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MIN_SML", "min.max./lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MAX_SAL", "max.prům./lim.tep[%]", A::kRight, F::kSR_Procent},
    {"MIN_SAL", "min.prům./lim.tep[%]", A::kRight, F::kSR_Procent},
    {"SUM_SPC", "celk.tep překr.čas", A::kRight, F::kCASNull},
    {"SUM_SKC", "celk.energie kcal", A::kRight, F::kSR_KCAL},
    {"THL_C", "typ hl.t.lim-číslo", A::kRight, F::kNone},
};

constexpr std::string_view kNotSummable[] = {"MESIC",  "TRS_C", "TRS_SMER", "KOL_C",
                                             "TRNZ_C", "TRN_C", "THL_C"};

}  // namespace

const ResultColumnStyle* FindResultColumnStyle(std::string_view field) {
    for (const ResultColumnStyle& s : kStyles) {
        if (EqualsIgnoreCase(s.field, field)) return &s;
    }
    return nullptr;
}

std::string_view ResultColumnTitle(std::string_view field) {
    const ResultColumnStyle* s = FindResultColumnStyle(field);
    return s ? s->title : field;
}

bool IsSummableColumn(std::string_view field, FieldType type) {
    if (!IsNumericType(type)) return false;
    for (std::string_view code : kNotSummable) {
        if (EqualsIgnoreCase(code, field)) return false;
    }
    return true;
}

}  // namespace kolvio
