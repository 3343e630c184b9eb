// How the result viewer shows the fields of a query result: a readable
// title, the alignment of the values and the display formatter, by field
// name; and which fields the summaries and the chart may add up.
//
// The field names are those the builder's statements produce (the
// catalogue's aliases and the bare names of the selected table columns),
// plus EXTREM of the extremes ranking.
#pragma once

#include <string_view>

#include "data/dbf/field_def.h"

namespace kolvio {

enum class ValueAlignment { kDefault, kRight, kCentre };

// The display formatters a result column can carry (the shell's formatters
// of the same names).
enum class ResultFormatter {
    kNone,
    kDELKA,       // DELKAGetText
    kPRUMER,      // PRUMERGetText
    kRYCHL_MAX,   // RYCHL_MAXGetText
    kSR_TEP,      // SR_TEPGetText
    kSR_KCAL,     // SR_KCALGetText
    kSR_PLP,      // SR_PLPGetText
    kSR_Procent,  // SR_ProcentGetText
    kCAS,         // CASGetText
    kCASNull,     // CASGetTextNull
    kMESIC,       // MESICGetText
    kSMER,        // SMERGetText
};

struct ResultColumnStyle {
    std::string_view field;
    std::string_view title;
    ValueAlignment alignment;
    ResultFormatter formatter;
};

// The style of a field (names compare without regard to letter case), or
// null for a field that keeps its name as title and the default alignment.
const ResultColumnStyle* FindResultColumnStyle(std::string_view field);

// The title shown for a field: its style's title, else the field name.
std::string_view ResultColumnTitle(std::string_view field);

// Whether the summaries (sum, average, maximum, minimum) and the chart's
// value lists apply to a field: a number that is not a code, month or
// direction (MESIC, TRS_C, TRS_SMER, KOL_C, TRNZ_C, TRN_C, THL_C).
bool IsSummableColumn(std::string_view field, FieldType type);

}  // namespace kolvio
