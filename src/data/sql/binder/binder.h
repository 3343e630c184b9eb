// Resolves names and types of a parsed statement against a catalog.
//
// Name rules: tables are named by file name with or without ".dbf"; a column
// is written with or without its table (or alias); names compare without
// regard to letter case. Unqualified names must belong to one table only.
// GROUP BY takes a column, an output alias or an ordinal position; ORDER BY
// takes an output name or alias, an ordinal position or any expression the
// grouped row can compute (it is then an extra, hidden output).
//
// Result fields: see result_fields.h.
#pragma once

#include "data/sql/binder/bound_query.h"
#include "data/sql/parser/ast.h"

namespace kolvio::sql {

// Throws SqlError naming the unknown table or column, the ambiguous name,
// the unreadable literal or the type conflict, with its place in the text.
BoundQuery BindSelect(const SelectStatement& stmt, Catalog& catalog);

}  // namespace kolvio::sql
