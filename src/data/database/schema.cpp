#include "data/database/schema.h"

namespace kolvio {

namespace {

FieldDef Number(std::string name) {
    return FieldDef::Float(std::move(name), 20, 4);
}

std::vector<FieldDef> RideFields() {
    std::vector<FieldDef> f = {FieldDef::DateField("DATUM")};
    for (const char* n : {"MESIC_C", "TRS_C", "TRS_SMER", "TRNZ_C", "TRN_C", "KOL_C", "DELKA",
                          "CAS", "RYCHL_MAX", "PRUMER", "OSOB"}) {
        f.push_back(Number(n));
    }
    f.push_back(FieldDef::Char("POPIS1", 100));
    f.push_back(Number("ROK"));
    f.push_back(Number("THL_C"));
    f.push_back(FieldDef::Logical("SR_MER"));
    for (const char* n : {"SR_AVG", "SR_MAX", "SR_KCAL", "SR_LIM", "SR_PLP", "SR_PLC", "SR_X",
                          "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}) {
        f.push_back(Number(n));
    }
    return f;
}

}  // namespace

std::vector<FieldDef> CreatedFields(std::string_view fileName) {
    if (EqualsIgnoreCase(fileName, "jizdy.dbf")) return RideFields();
    if (EqualsIgnoreCase(fileName, "typ_trs.dbf")) {
        return {Number("TRS_C"),
                FieldDef::Char("TRS_N1", 20),
                FieldDef::Char("TRS_N2", 20),
                FieldDef::Char("TRS_MEZI", 80),
                FieldDef::Char("TRS_START", 20),
                FieldDef::Char("TRS_CIL", 20),
                FieldDef::Blob("TRS_OBR")};
    }
    if (EqualsIgnoreCase(fileName, "typ_trnz.dbf")) {
        return {Number("TRNZ_C"), FieldDef::Char("TRNZ_N", 20), FieldDef::Logical("ZADNE_TRS")};
    }
    if (EqualsIgnoreCase(fileName, "typ_trn.dbf")) {
        return {Number("TRN_C"), Number("TRNZ_C"), FieldDef::Char("TRN_N", 20)};
    }
    if (EqualsIgnoreCase(fileName, "typ_kol.dbf")) {
        return {Number("KOL_C"), FieldDef::Char("KOL_TYP", 20), FieldDef::Char("KOL_ZNA", 20)};
    }
    if (EqualsIgnoreCase(fileName, "typ_hld.dbf")) {
        return {Number("THL_C"), FieldDef::Char("THL_ZKR", 15), FieldDef::Char("THL_POP", 50)};
    }
    return {};
}

const std::vector<IndexedTable>& MaintainedIndexes() {
    static const std::vector<IndexedTable> kIndexes = {
        {"typ_trnz.dbf", {"TRNZ_C"}},
        {"typ_trn.dbf", {"TRNZ_C", "TRN_C"}},
        {"typ_kol.dbf", {"KOL_C"}},
        {"typ_trs.dbf", {"TRS_C", "TRS_N2"}},
        {"typ_hld.dbf", {"THL_C", "THL_ZKR"}},
        {"jizdy.dbf",
         {"DATUM", "TRS_C", "TRS_SMER", "TRNZ_C", "TRN_C", "KOL_C", "DELKA", "CAS", "RYCHL_MAX",
          "PRUMER", "OSOB", "MESIC_C", "ROK", "THL_C"}},
    };
    return kIndexes;
}

const std::vector<UpgradeColumn>& RideUpgradeColumns() {
    static const std::vector<UpgradeColumn> kColumns = {
        {"rok", "add column rok Integer", BackFill::kYearOfDate, "dopočítávám hodnoty"},
        {"thl_c", "add column thl_c Integer", BackFill::kZero, "dopočítávám hodnoty"},
        {"sr_mer", "add column sr_mer boolean", BackFill::kFalse, "dopisuji hodnoty"},
        {"sr_avg", "add column sr_avg integer", BackFill::kNone, ""},
        {"sr_max", "add column sr_max integer", BackFill::kNone, ""},
        {"sr_kcal", "add column sr_kcal integer", BackFill::kNone, ""},
        {"sr_plp", "add column sr_plp float(20,4)", BackFill::kNone, ""},
        {"sr_plc", "add column sr_plc float(20,4)", BackFill::kNone, ""},
        {"sr_x", "add column sr_x integer", BackFill::kNone, ""},
        {"sr_lim", "add column sr_lim integer", BackFill::kNone, ""},
        {"sr_axp", "add column sr_axp float(20,4)", BackFill::kNone, ""},
        {"sr_alp", "add column sr_alp float(20,4)", BackFill::kNone, ""},
        {"sr_mxp", "add column sr_mxp float(20,4)", BackFill::kNone, ""},
        {"sr_mlp", "add column sr_mlp float(20,4)", BackFill::kNone, ""},
    };
    return kColumns;
}

}  // namespace kolvio
