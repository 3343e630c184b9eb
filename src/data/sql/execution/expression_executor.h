// Evaluates a bound expression over a chunk, a column at a time.
//
// Null rules: a comparison, BETWEEN or IN with a null operand is null, and
// so is arithmetic with one; AND and OR follow three-valued logic (false AND
// null is false, true OR null is true). A division by zero, or any result
// that is not a finite number, is null. Filters keep only rows that are true.
#pragma once

#include <memory>
#include <vector>

#include "data/sql/binder/bound_expr.h"
#include "data/sql/execution/vector.h"

namespace kolvio::sql {

class ExpressionExecutor {
public:
    // `e` must use kSlot column references only and outlive the executor.
    explicit ExpressionExecutor(const BoundExpr& e);
    ~ExpressionExecutor();
    ExpressionExecutor(ExpressionExecutor&&) noexcept;
    ExpressionExecutor& operator=(ExpressionExecutor&&) noexcept;

    // The value of every row of `chunk`; valid until the next call.
    const Vector& execute(const DataChunk& chunk);
    // Rows (ascending) where the expression is true; returns their number.
    size_t select(const DataChunk& chunk, uint32_t* sel);

    struct Node;

private:
    std::unique_ptr<Node> root_;
};

// Evaluates each expression of a list over the same chunk.
class ExpressionList {
public:
    explicit ExpressionList(const std::vector<BoundExprPtr>& exprs);
    explicit ExpressionList(const std::vector<const BoundExpr*>& exprs);
    size_t size() const { return executors_.size(); }
    // Pointers to the results, valid until the next call.
    const std::vector<const Vector*>& execute(const DataChunk& chunk);

private:
    std::vector<ExpressionExecutor> executors_;
    std::vector<const Vector*> results_;
};

}  // namespace kolvio::sql
