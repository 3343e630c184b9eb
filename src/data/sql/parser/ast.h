// The statement as written: the parser's output, before any name is resolved.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "data/sql/sql_error.h"

namespace kolvio::sql {

enum class CompareOp { kEq, kNe, kLt, kLe, kGt, kGe };
enum class ArithOp { kAdd, kSub, kMul, kDiv };
enum class AggFunc { kCount, kSum, kAvg, kMin, kMax };

const char* CompareOpText(CompareOp op);
const char* AggFuncName(AggFunc f);

struct ParsedExpr;
using ParsedExprPtr = std::unique_ptr<ParsedExpr>;

struct ParsedExpr {
    enum class Kind {
        kColumn,     // [qualifier.]name
        kString,     // text literal (either quote)
        kNumber,     // numeric literal
        kBool,       // TRUE / FALSE
        kNot,        // NOT child0
        kNegate,     // -child0
        kAnd,        // child0 AND child1 AND ... (two or more)
        kOr,         // child0 OR child1 OR ... (two or more)
        kCompare,    // child0 op child1
        kArith,      // child0 op0 child1 op1 child2 ..., from the left
        kBetween,    // child0 [NOT] BETWEEN child1 AND child2
        kIn,         // child0 [NOT] IN (child1, ...)
        kIsNull,     // child0 IS [NOT] NULL
        kAggregate,  // func(child0) or COUNT(*)
    };

    Kind kind = Kind::kColumn;
    SourcePos pos;
    std::string qualifier;  // kColumn: table or alias as written, "" when absent
    std::string name;       // kColumn: column; kString: contents; kNumber: digits as written
    double number = 0;
    bool boolValue = false;
    bool negated = false;  // NOT BETWEEN, NOT IN, IS NOT NULL
    bool star = false;     // COUNT(*)
    CompareOp compareOp = CompareOp::kEq;
    std::vector<ArithOp> arithOps;       // kArith: one fewer than children
    std::vector<SourcePos> arithPlaces;  // kArith: where each operator stands
    AggFunc aggFunc = AggFunc::kCount;
    std::vector<ParsedExprPtr> children;
};

// How deeply expressions may nest: parentheses, NOT, signs, function
// arguments and IN lists each count one level. A chain of AND, OR, + or *
// is one node however long, so it costs no depth.
constexpr int kMaxExpressionDepth = 100;

struct SelectItem {
    ParsedExprPtr expr;  // null for "*"
    std::string alias;   // "" when absent
    SourcePos pos;
    SourcePos aliasPos;
};

struct TableRef {
    std::string name;   // file name as written, with or without ".dbf"
    std::string alias;  // "" when absent
    SourcePos pos;
};

struct OrderItem {
    ParsedExprPtr expr;
    bool descending = false;
};

struct SelectStatement {
    bool distinct = false;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    ParsedExprPtr where;
    std::vector<ParsedExprPtr> groupBy;
    ParsedExprPtr having;
    std::vector<OrderItem> orderBy;
};

// Column types ALTER TABLE can add.
struct ColumnTypeSpec {
    enum class Kind { kInteger, kSmallInt, kBoolean, kFloat, kNumeric, kChar, kDate };
    Kind kind = Kind::kInteger;
    int width = 0;
    int decimals = 0;
};

struct AlterAddColumn {
    TableRef table;
    std::string column;
    SourcePos columnPos;
    ColumnTypeSpec type;
};

using Statement = std::variant<SelectStatement, AlterAddColumn>;

}  // namespace kolvio::sql
