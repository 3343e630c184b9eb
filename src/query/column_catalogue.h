// The output columns of the query screens.
//
// Every column the rider can choose is known by a label (upper-case Czech
// text, shown in the lists "Výběr:" and "Vybráno:") that maps to a select
// expression over the ride table and its five reference tables. Plain
// columns name one stored field and enter the group-by list of a statistics
// query; aggregate columns compute over the rows of a group and carry an
// alias ("MAX (JIZDY.DELKA) AS MAX_DEL").
//
// Labels compare exactly, letter case and accents included; a label that is
// not in the catalogue maps to empty text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kolvio {

// The select expression of a label.
std::string ColumnExpression(std::string_view label);
// What the order-by list names for a label: the alias where the expression
// has one (the name after "AS"), otherwise the expression itself.
std::string ColumnOrderKey(std::string_view label);
// True for a label of the 31 plain columns (false for aggregates and for
// unknown labels).
bool IsPlainColumn(std::string_view label);
// The name the label's column has in a query result: the alias, or the bare
// field name of a plain column ("TYP_TRS.TRS_START" gives "TRS_START").
std::string ResultColumnName(std::string_view label);

// The labels a column list offers, in the order the list shows them:
//   0 general: the 31 plain columns
//   1 routes, 2 bikes, 3 primary ride types, 4 secondary ride types,
//   5 all rides (monthly), 6 heart-rate watch types: the list's own labels,
//     then the 35 aggregates every statistics list shares.
// Any other number gives an empty list.
std::vector<std::string> ColumnListLabels(int number);

// Number of column lists (0 .. kColumnListCount - 1).
inline constexpr int kColumnListCount = 7;

}  // namespace kolvio
