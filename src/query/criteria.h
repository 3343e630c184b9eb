// The condition fragments of the query builder's criteria pages.
//
// Each page contributes one fragment to the where part; it is built when the
// page's "Použít" box is ticked, from the inputs of that moment. Fragments
// keep every blank exactly as the statement is assembled from them (leading
// and trailing blanks included); the double quotes are part of the SQL text.
// "výběr NE" (negate) puts "NOT " before BETWEEN or IN.
//
// Only whole numbers, dates and the offered operators ever reach the text: a
// number field that does not hold a whole number or an operator that is not
// offered gives no fragment, so nothing typed can change the statement's
// meaning.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/value.h"

namespace kolvio {

// The codes of a chosen list, each in double quotes, joined by a comma
// without blanks: "3","7","12".
std::string CodeList(const std::vector<int64_t>& codes);

// Page "Časové omez.": "aktuální rok" (the year given), "použité roky..."
// (the ticked years in list order; empty when none is ticked) and
// "obecné..." (the two dates, written d.m.yyyy).
std::string CurrentYearFragment(int year, bool negate);
std::string UsedYearsFragment(const std::vector<int>& tickedYears, bool negate);
std::string DateRangeFragment(const Date& from, const Date& to, bool negate);

// Pages "Tratě" (jizdy.trs_c), "Typ tréninku" (jizdy.trnz_c or jizdy.trn_c)
// and "Typ kola" (jizdy.kol_c): the rides whose code is (not) in the list.
// Empty for an empty list.
std::string CodesFragment(std::string_view field, const std::vector<int64_t>& codes, bool negate);

// Page "Jednotlivá trať": one route, in both directions, in the direction
// shown (1) or in the reverse one (2).
enum class RouteDirection { kBoth, kShown, kReverse };
std::string SingleRouteFragment(int64_t routeCode, RouteDirection direction);

// One limit of the persons or heart-rate pages: ticked or not, the operator
// and the number as their fields hold them.
struct LimitInput {
    bool on = false;
    std::string op;
    std::string number;
};

// Operators the limits offer: lower limits ">" and ">=", upper ones "<" and
// "<=". The persons page also has the equality.
inline constexpr std::array<std::string_view, 2> kLowerOperators = {">", ">="};
inline constexpr std::array<std::string_view, 2> kUpperOperators = {"<", "<="};

// Page "Počet osob": the ticked limits (lower, upper, then the equality,
// whose operator is always "=") joined by AND. Empty when none is ticked or
// a ticked one holds no whole number or an operator not offered.
struct PersonsInput {
    LimitInput lower;
    LimitInput upper;
    LimitInput equal;
};
std::string PersonsFragment(const PersonsInput& input);

// Page "Srdce": the chosen watch types and six limits, in the order lower
// and upper "Stanovený limit:" (jizdy.sr_lim), "Maximální tep:"
// (jizdy.sr_max), "Doba překročení limitu %:" (jizdy.sr_plp). With negate
// the whole condition is negated, types and limits together. Empty when the
// list is empty and no limit is ticked, or when a ticked limit is not valid
// (as for persons).
struct HeartInput {
    std::vector<int64_t> watchTypes;
    std::array<LimitInput, 6> limits;
    bool negate = false;
};
std::string HeartFragment(const HeartInput& input);

// The field of heart-rate limit row 0..2.
std::string_view HeartLimitField(int row);

// Whether `text` is a whole number as the limit fields hold it: an optional
// minus and 1 to 9 digits, nothing else.
bool IsWholeNumberText(std::string_view text);

}  // namespace kolvio
