// Names and dBase definitions of result fields.
//
// A result can create a dBase table (VYSLEDEK.dbf), so every result field is
// a valid dBase field from the start: name of at most 10 characters out of
// A-Z, 0-9 and '_', unique ignoring case.
//
// Names:
//   column                TYP_TRS.TRS_START      -> TRS_START (the field name)
//   aliased item          SUM(DELKA) AS vysl     -> VYSL (upper-cased)
//   unaliased aggregate   MIN(JIZDY.DATUM)       -> MIN_DATUM; COUNT(*) -> COUNT;
//                         over an expression     -> SUM, AVG ...
//   other expression      DELKA / CAS            -> EXPR2 (2 = position in the list)
// Characters outside A-Z, 0-9, '_' become '_'; a name starting with a digit
// gets a leading '_'. A name is cut to 10 characters; a name already taken
// gets "_2", "_3" ... (cut further to fit), so TRS_C twice gives TRS_C, TRS_C_2.
//
// Definitions:
//   column, MIN/MAX of a column   the column's own (binary I becomes N(11,0))
//   COUNT                         N(11,0)
//   SUM of a column               N(20, the column's decimals)
//   AVG, arithmetic, other sums   N(20,6)
//   number literal                N(20,0) when whole, else N(20,6)
//   text literal                  C(its length, at least 1)
//   date / logical expressions    D / L
#pragma once

#include <string>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/sql/binder/bound_query.h"

namespace kolvio::sql {

constexpr int kComputedWidth = 20;
constexpr int kComputedDecimals = 6;

FieldDef ResultFieldDef(const BoundExpr& e, const std::vector<BoundTableRef>& tables);

// The name an item asks for before cutting and deduplication; `ordinal`
// counts items from 1.
std::string WantedFieldName(const BoundExpr& e, const std::string& alias, size_t ordinal,
                            const std::vector<BoundTableRef>& tables);

// Valid, unique dBase field names for the wanted names, in order.
std::vector<std::string> MakeFieldNames(const std::vector<std::string>& wanted);

}  // namespace kolvio::sql
