// The query builder's state and the select statement assembled from it.
//
// The statement is never typed by the rider. It is put together, line by
// line, from the chosen output columns (labels of the column catalogue), one
// condition fragment per criteria page (criteria.h) and the fixed pieces of
// the preset the navigator opened the builder with. An empty text means a
// piece is not set.
#pragma once

#include <string>
#include <vector>

#include "query/query_preset.h"

namespace kolvio {

inline constexpr char kTableList[] = "jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld";
// The join of the rides with the five reference tables (one trailing blank).
inline constexpr char kJoinCondition[] =
    "jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = "
    "typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c ";

struct BuilderState {
    // Built at "O.K." from the chosen columns.
    std::string SelectList;
    std::string TableList = kTableList;
    std::string JoinCondition = kJoinCondition;
    std::string OrderList;

    // One fragment per criteria page, in the order the where part takes them.
    std::string DateCriterion;      // "Časové omez."
    std::string RoutesCriterion;    // "Tratě"
    std::string RouteCriterion;     // "Jednotlivá trať"
    std::string RideTypeCriterion;  // "Typ tréninku"
    std::string BikeCriterion;      // "Typ kola"
    std::string PersonsCriterion;   // "Počet osob"
    std::string HeartCriterion;     // "Srdce"

    // Fixed pieces of the preset.
    std::string SelectPrefix;
    std::string SelectSuffix;
    std::string GroupPrefix;
    std::string GroupSuffix;
    std::string OrderPreset;
    std::string OrderSuffix;
    bool OrderByFirstColumn = true;
    bool UseGroupBy = false;
};

// The fixed pieces of `preset`; the fragments stay as they are.
void ApplyPreset(BuilderState* state, const QueryPreset& preset);

// Appends the where part: "where " + JoinCondition, then " and " + fragment
// for each fragment that is set.
void SQLWherePridej(const BuilderState& state, std::vector<std::string>* lines);

// Builds SelectList and OrderList from the chosen labels (in the order of
// "Vybráno:") and returns the statement's lines: select, the select suffix,
// from, where, group by (when the preset groups), order by (when the order
// list is not empty). With no label chosen the select list is empty, and
// the engine refuses the statement.
std::vector<std::string> AssembleStatement(BuilderState* state,
                                           const std::vector<std::string>& chosen);

}  // namespace kolvio
