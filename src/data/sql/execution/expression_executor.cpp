#include "data/sql/execution/expression_executor.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "data/sql/execution/text_order.h"

namespace kolvio::sql {

namespace {

using BK = BoundExpr::Kind;

// Three-valued truth of row i of a logical vector: -1 null, 0 false, 1 true.
int Truth(const Vector& v, size_t i) {
    if (!v.isValid(i)) return -1;
    return v.number(i) != 0 ? 1 : 0;
}

void SetTruth(Vector* out, size_t i, int t) {
    if (t < 0) {
        out->setNull(i);
    } else {
        out->setNumber(i, t);
    }
}

// -1, 0, 1; both rows must be valid.
int CompareRows(const Vector& a, size_t i, const Vector& b, size_t j) {
    if (a.type() == SqlType::kText) return CompareText(a.text(i), b.text(j));
    const double x = a.number(i);
    const double y = b.number(j);
    return (x > y) - (x < y);
}

bool Holds(CompareOp op, int c) {
    switch (op) {
        case CompareOp::kEq:
            return c == 0;
        case CompareOp::kNe:
            return c != 0;
        case CompareOp::kLt:
            return c < 0;
        case CompareOp::kLe:
            return c <= 0;
        case CompareOp::kGt:
            return c > 0;
        case CompareOp::kGe:
            return c >= 0;
    }
    return false;
}

}  // namespace

struct ExpressionExecutor::Node {
    const BoundExpr& expr;
    std::vector<std::unique_ptr<Node>> children;
    Vector result;
    // IN over constant numbers: the values, and a set for long lists.
    std::vector<double> numberList;
    std::unordered_set<double> numberSet;
    bool inListConstant = false;
    bool inListHasNull = false;

    explicit Node(const BoundExpr& e) : expr(e), result(e.type) {
        if (e.kind == BK::kConstant) result = Vector::Constant(e.type, e.constant);
        for (const auto& c : e.children)
            children.push_back(std::make_unique<Node>(*c));
        if (e.kind == BK::kIn && e.children[0]->type != SqlType::kText) {
            inListConstant =
                std::all_of(e.children.begin() + 1, e.children.end(),
                            [](const BoundExprPtr& c) { return c->kind == BK::kConstant; });
            if (inListConstant) {
                for (size_t k = 1; k < e.children.size(); ++k) {
                    const Vector& item = children[k]->result;
                    if (!item.isValid(0)) {
                        inListHasNull = true;
                    } else {
                        numberList.push_back(item.number(0) + 0.0);
                        numberSet.insert(item.number(0) + 0.0);
                    }
                }
            }
        }
    }

    const Vector& run(const DataChunk& chunk) {
        const size_t n = chunk.size;
        switch (expr.kind) {
            case BK::kSlot:
                return chunk.columns[expr.slot];
            case BK::kConstant:
                return result;
            case BK::kColumn:
            case BK::kAggregate:
                break;  // resolved by the planner before execution
            case BK::kCompare: {
                const Vector& a = children[0]->run(chunk);
                const Vector& b = children[1]->run(chunk);
                result.resize(n);
                const bool equality =
                    expr.compareOp == CompareOp::kEq || expr.compareOp == CompareOp::kNe;
                for (size_t i = 0; i < n; ++i) {
                    if (!a.isValid(i) || !b.isValid(i)) {
                        result.setNull(i);
                    } else if (equality && a.type() == SqlType::kText) {
                        result.setNumber(
                            i, (a.text(i) == b.text(i)) == (expr.compareOp == CompareOp::kEq));
                    } else {
                        result.setNumber(i, Holds(expr.compareOp, CompareRows(a, i, b, i)));
                    }
                }
                return result;
            }
            case BK::kAnd:
            case BK::kOr:
                return logical(chunk);
            case BK::kNot: {
                const Vector& a = children[0]->run(chunk);
                result.resize(n);
                for (size_t i = 0; i < n; ++i) {
                    const int x = Truth(a, i);
                    SetTruth(&result, i, x < 0 ? -1 : 1 - x);
                }
                return result;
            }
            case BK::kArith:
                return arith(chunk);
            case BK::kNegate: {
                const Vector& a = children[0]->run(chunk);
                result.resize(n);
                for (size_t i = 0; i < n; ++i) {
                    if (a.isValid(i)) {
                        result.setNumber(i, 0.0 - a.number(i));  // -0 is 0
                    } else {
                        result.setNull(i);
                    }
                }
                return result;
            }
            case BK::kBetween: {
                const Vector& v = children[0]->run(chunk);
                const Vector& lo = children[1]->run(chunk);
                const Vector& hi = children[2]->run(chunk);
                result.resize(n);
                for (size_t i = 0; i < n; ++i) {
                    if (!v.isValid(i)) {
                        result.setNull(i);
                        continue;
                    }
                    const int low = lo.isValid(i) ? CompareRows(v, i, lo, i) >= 0 : -1;
                    const int high = hi.isValid(i) ? CompareRows(v, i, hi, i) <= 0 : -1;
                    int t = (low == 0 || high == 0) ? 0 : (low < 0 || high < 0) ? -1 : 1;
                    if (expr.negated && t >= 0) t = 1 - t;
                    SetTruth(&result, i, t);
                }
                return result;
            }
            case BK::kIn:
                return in(chunk);
            case BK::kIsNull: {
                const Vector& a = children[0]->run(chunk);
                result.resize(n);
                for (size_t i = 0; i < n; ++i) {
                    result.setNumber(i, a.isValid(i) == expr.negated);
                }
                return result;
            }
        }
        throw SqlError("Vnitřní chyba: nepřeložený výraz");
    }

    // A long chain lets go of each term's values once they are folded in,
    // so that it holds the values of one term at a time, not of all.
    static constexpr size_t kLongChain = 16;
    void foldedIn(size_t child) {
        if (children.size() > kLongChain) children[child]->release();
    }
    void release() {
        if (expr.kind == BK::kConstant) return;
        result = Vector(expr.type);
        for (auto& c : children)
            c->release();
    }

    // AND and OR of any number of terms, in three-valued logic.
    const Vector& logical(const DataChunk& chunk) {
        const size_t n = chunk.size;
        const bool isAnd = expr.kind == BK::kAnd;
        std::vector<int8_t> truth(n);
        {
            const Vector& first = children[0]->run(chunk);
            for (size_t i = 0; i < n; ++i)
                truth[i] = static_cast<int8_t>(Truth(first, i));
            foldedIn(0);
        }
        for (size_t c = 1; c < children.size(); ++c) {
            const Vector& term = children[c]->run(chunk);
            for (size_t i = 0; i < n; ++i) {
                const int x = truth[i];
                const int y = Truth(term, i);
                int t;
                if (isAnd) {
                    t = (x == 0 || y == 0) ? 0 : (x < 0 || y < 0) ? -1 : 1;
                } else {
                    t = (x == 1 || y == 1) ? 1 : (x < 0 || y < 0) ? -1 : 0;
                }
                truth[i] = static_cast<int8_t>(t);
            }
            foldedIn(c);
        }
        result.resize(n);
        for (size_t i = 0; i < n; ++i)
            SetTruth(&result, i, truth[i]);
        return result;
    }

    static double Apply(ArithOp op, double x, double y) {
        switch (op) {
            case ArithOp::kAdd:
                return x + y;
            case ArithOp::kSub:
                return x - y;
            case ArithOp::kMul:
                return x * y;
            case ArithOp::kDiv:
                return y == 0 ? NAN : x / y;
        }
        return NAN;
    }

    // child0 op0 child1 op1 child2 ..., applied from the left; null as soon
    // as an operand is null or a step gives no finite number.
    const Vector& arith(const DataChunk& chunk) {
        const size_t n = chunk.size;
        std::vector<double> acc(n);
        std::vector<uint8_t> valid(n);
        {
            const Vector& first = children[0]->run(chunk);
            for (size_t i = 0; i < n; ++i) {
                valid[i] = first.isValid(i);
                acc[i] = valid[i] ? first.number(i) : 0;
            }
            foldedIn(0);
        }
        for (size_t c = 1; c < children.size(); ++c) {
            const Vector& term = children[c]->run(chunk);
            const ArithOp op = expr.arithOps[c - 1];
            for (size_t i = 0; i < n; ++i) {
                if (!valid[i]) continue;
                if (!term.isValid(i)) {
                    valid[i] = 0;
                    continue;
                }
                acc[i] = Apply(op, acc[i], term.number(i));
                valid[i] = std::isfinite(acc[i]);
            }
            foldedIn(c);
        }
        result.resize(n);
        for (size_t i = 0; i < n; ++i) {
            if (valid[i]) {
                result.setNumber(i, acc[i] + 0.0);  // a negative zero becomes zero
            } else {
                result.setNull(i);
            }
        }
        return result;
    }

    const Vector& in(const DataChunk& chunk) {
        const size_t n = chunk.size;
        const Vector& v = children[0]->run(chunk);
        result.resize(n);
        if (inListConstant) {
            const bool shortList = numberList.size() <= 8;
            for (size_t i = 0; i < n; ++i) {
                if (!v.isValid(i)) {
                    result.setNull(i);
                    continue;
                }
                const double x = v.number(i);
                const bool found = shortList ? std::find(numberList.begin(), numberList.end(), x) !=
                                                   numberList.end()
                                             : numberSet.count(x + 0.0) > 0;
                int t = found ? 1 : inListHasNull ? -1 : 0;
                if (expr.negated && t >= 0) t = 1 - t;
                SetTruth(&result, i, t);
            }
            return result;
        }
        std::vector<const Vector*> items;
        for (size_t k = 1; k < children.size(); ++k)
            items.push_back(&children[k]->run(chunk));
        for (size_t i = 0; i < n; ++i) {
            if (!v.isValid(i)) {
                result.setNull(i);
                continue;
            }
            int t = 0;
            for (const Vector* item : items) {
                if (!item->isValid(i)) {
                    t = -1;
                } else if (v.type() == SqlType::kText ? v.text(i) == item->text(i)
                                                      : v.number(i) == item->number(i)) {
                    t = 1;
                    break;
                }
            }
            if (expr.negated && t >= 0) t = 1 - t;
            SetTruth(&result, i, t);
        }
        return result;
    }
};

ExpressionExecutor::ExpressionExecutor(const BoundExpr& e) : root_(std::make_unique<Node>(e)) {}
ExpressionExecutor::~ExpressionExecutor() = default;
ExpressionExecutor::ExpressionExecutor(ExpressionExecutor&&) noexcept = default;
ExpressionExecutor& ExpressionExecutor::operator=(ExpressionExecutor&&) noexcept = default;

const Vector& ExpressionExecutor::execute(const DataChunk& chunk) {
    return root_->run(chunk);
}

size_t ExpressionExecutor::select(const DataChunk& chunk, uint32_t* sel) {
    const Vector& v = execute(chunk);
    size_t k = 0;
    for (size_t i = 0; i < chunk.size; ++i) {
        sel[k] = static_cast<uint32_t>(i);
        k += v.isValid(i) && v.number(i) != 0;
    }
    return k;
}

ExpressionList::ExpressionList(const std::vector<BoundExprPtr>& exprs) {
    for (const auto& e : exprs)
        executors_.emplace_back(*e);
}

ExpressionList::ExpressionList(const std::vector<const BoundExpr*>& exprs) {
    for (const BoundExpr* e : exprs)
        executors_.emplace_back(*e);
}

const std::vector<const Vector*>& ExpressionList::execute(const DataChunk& chunk) {
    results_.clear();
    for (auto& ex : executors_)
        results_.push_back(&ex.execute(chunk));
    return results_;
}

}  // namespace kolvio::sql
