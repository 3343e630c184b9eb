// Binds one parsed expression: resolves columns and checks types.
#pragma once

#include <vector>

#include "data/sql/binder/bound_query.h"
#include "data/sql/parser/ast.h"

namespace kolvio::sql {

// Type a dBase field reads as (memo and blob fields read as text).
SqlType TypeOfField(const FieldDef& f);

class ExpressionBinder {
public:
    explicit ExpressionBinder(const std::vector<BoundTableRef>& tables) : tables_(tables) {}

    // `clause` names the place for messages ("WHERE", "GROUP BY"); aggregate
    // calls are refused unless `allowAggregates`.
    BoundExprPtr bind(const ParsedExpr& e, bool allowAggregates, const char* clause);
    // A column reference; null when `optional` and no table has the column
    // (so that the caller can try an output alias instead).
    BoundExprPtr column(const ParsedExpr& e, bool optional);

private:
    BoundExprPtr bindInner(const ParsedExpr& e, bool allowAggregates, bool insideAggregate,
                           const char* clause);
    int tableByQualifier(const ParsedExpr& e) const;

    const std::vector<BoundTableRef>& tables_;
};

// Reads a text literal as `target` in place; anything else must already
// have that type. Throws SqlError naming the literal or the conflict.
void CoerceTo(BoundExprPtr& e, SqlType target, SourcePos where);

}  // namespace kolvio::sql
