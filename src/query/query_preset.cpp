#include "query/query_preset.h"

#include <array>

namespace kolvio {

namespace {

QueryPreset Listing(int list) {
    QueryPreset p;
    p.columnList = list;
    return p;
}

// Grouped by the code of the counted thing, which also ends the select and
// order-by lists.
QueryPreset ByCode(int list, const char* code) {
    QueryPreset p;
    p.columnList = list;
    p.useGroupBy = true;
    p.selectSuffix = p.groupSuffix = p.orderSuffix = code;
    return p;
}

QueryPreset Monthly() {
    QueryPreset p;
    p.columnList = 5;
    p.orderByFirstColumn = false;
    p.useGroupBy = true;
    p.selectPrefix = "JIZDY.MESIC_C AS MESIC";
    p.groupPrefix = p.orderPreset = "JIZDY.MESIC_C";
    return p;
}

const std::array<EvaluationButton, 8>& Buttons() {
    static const std::array<EvaluationButton, 8> buttons = {{
        {"RButton10", Listing(0)},
        {"RButton11", Listing(5)},
        {"RButton12", ByCode(1, "JIZDY.TRS_C")},
        {"RButton13", ByCode(2, "JIZDY.KOL_C")},
        {"RButton14", ByCode(3, "JIZDY.TRNZ_C")},
        {"RButton15", ByCode(4, "JIZDY.TRN_C")},
        {"RButton18", ByCode(6, "JIZDY.THL_C")},
        {"RButton16", Monthly()},
    }};
    return buttons;
}

}  // namespace

std::span<const EvaluationButton> EvaluationButtons() {
    return Buttons();
}

QueryPreset PresetOfButton(std::string_view buttonName) {
    for (const EvaluationButton& b : Buttons()) {
        if (b.name == buttonName) return b.preset;
    }
    return QueryPreset();
}

}  // namespace kolvio
