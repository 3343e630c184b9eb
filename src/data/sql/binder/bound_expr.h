// Expressions after name resolution and type checking.
//
// A bound expression knows its type. Column references point at a field of
// one of the statement's tables (kColumn); once the planner has placed the
// columns in the rows flowing through the plan, they become positions in
// those rows (kSlot). Text literals compared with numbers, dates or logical
// values have already been read as such by the binder.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "data/sql/parser/ast.h"
#include "data/value.h"

namespace kolvio::sql {

enum class SqlType { kNumber, kDate, kBool, kText };

// Czech name of a type for messages ("číslo", "datum" ...).
const char* SqlTypeName(SqlType t);

struct BoundExpr;
using BoundExprPtr = std::unique_ptr<BoundExpr>;

struct BoundExpr {
    enum class Kind {
        kColumn,    // table, field
        kSlot,      // slot: position in the current row
        kConstant,  // constant (a null Value is NULL)
        kCompare,   // child0 op child1
        kAnd,       // all children (two or more)
        kOr,        // any child (two or more)
        kNot,
        kArith,  // child0 op0 child1 op1 child2 ..., from the left
        kNegate,
        kBetween,    // child0 BETWEEN child1 AND child2 (negated: NOT BETWEEN)
        kIn,         // child0 IN (child1..n) (negated: NOT IN)
        kIsNull,     // negated: IS NOT NULL
        kAggregate,  // func(child0), COUNT(*) when star
    };

    Kind kind = Kind::kConstant;
    SqlType type = SqlType::kNumber;
    SourcePos pos;
    int table = -1;
    int field = -1;
    int slot = -1;
    Value constant;
    bool textLiteral = false;  // a quoted literal not yet read as another type
    CompareOp compareOp = CompareOp::kEq;
    std::vector<ArithOp> arithOps;  // kArith: one fewer than children
    AggFunc aggFunc = AggFunc::kCount;
    bool negated = false;
    bool star = false;
    std::vector<BoundExprPtr> children;
};

BoundExprPtr MakeBound(BoundExpr::Kind kind, SqlType type, SourcePos pos);
BoundExprPtr MakeSlot(int slot, SqlType type);
BoundExprPtr Clone(const BoundExpr& e);
// Structural equality (positions in the text are ignored).
bool SameExpr(const BoundExpr& a, const BoundExpr& b);
bool ContainsAggregate(const BoundExpr& e);
// Bit i set when the expression reads a column of table i (at most 64 tables).
uint64_t TablesUsed(const BoundExpr& e);
// The top-level conjuncts of `e` (e itself when it is no AND), moved out.
void SplitConjuncts(BoundExprPtr e, std::vector<BoundExprPtr>* out);
// Rebuilds one expression from conjuncts (one AND of them all); null for an
// empty list.
BoundExprPtr JoinConjuncts(std::vector<BoundExprPtr> parts);

// The result types of a list of expressions, in order.
std::vector<SqlType> TypesOf(const std::vector<BoundExprPtr>& exprs);

}  // namespace kolvio::sql
