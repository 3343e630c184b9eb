#include "data/sql/binder/bound_expr.h"

namespace kolvio::sql {

const char* SqlTypeName(SqlType t) {
    switch (t) {
        case SqlType::kNumber:
            return "číslo";
        case SqlType::kDate:
            return "datum";
        case SqlType::kBool:
            return "logická hodnota";
        case SqlType::kText:
            return "text";
    }
    return "?";
}

BoundExprPtr MakeBound(BoundExpr::Kind kind, SqlType type, SourcePos pos) {
    auto e = std::make_unique<BoundExpr>();
    e->kind = kind;
    e->type = type;
    e->pos = pos;
    return e;
}

BoundExprPtr MakeSlot(int slot, SqlType type) {
    auto e = MakeBound(BoundExpr::Kind::kSlot, type, {});
    e->slot = slot;
    return e;
}

BoundExprPtr Clone(const BoundExpr& e) {
    auto c = std::make_unique<BoundExpr>();
    c->kind = e.kind;
    c->type = e.type;
    c->pos = e.pos;
    c->table = e.table;
    c->field = e.field;
    c->slot = e.slot;
    c->constant = e.constant;
    c->textLiteral = e.textLiteral;
    c->compareOp = e.compareOp;
    c->arithOps = e.arithOps;
    c->aggFunc = e.aggFunc;
    c->negated = e.negated;
    c->star = e.star;
    for (const auto& child : e.children)
        c->children.push_back(Clone(*child));
    return c;
}

bool SameExpr(const BoundExpr& a, const BoundExpr& b) {
    if (a.kind != b.kind || a.type != b.type || a.children.size() != b.children.size()) {
        return false;
    }
    switch (a.kind) {
        case BoundExpr::Kind::kColumn:
            if (a.table != b.table || a.field != b.field) return false;
            break;
        case BoundExpr::Kind::kSlot:
            if (a.slot != b.slot) return false;
            break;
        case BoundExpr::Kind::kConstant:
            if (!(a.constant == b.constant)) return false;
            break;
        case BoundExpr::Kind::kCompare:
            if (a.compareOp != b.compareOp) return false;
            break;
        case BoundExpr::Kind::kArith:
            if (a.arithOps != b.arithOps) return false;
            break;
        case BoundExpr::Kind::kAggregate:
            if (a.aggFunc != b.aggFunc || a.star != b.star) return false;
            break;
        default:
            break;
    }
    if (a.negated != b.negated) return false;
    for (size_t i = 0; i < a.children.size(); ++i) {
        if (!SameExpr(*a.children[i], *b.children[i])) return false;
    }
    return true;
}

bool ContainsAggregate(const BoundExpr& e) {
    if (e.kind == BoundExpr::Kind::kAggregate) return true;
    for (const auto& c : e.children) {
        if (ContainsAggregate(*c)) return true;
    }
    return false;
}

uint64_t TablesUsed(const BoundExpr& e) {
    uint64_t mask = 0;
    if (e.kind == BoundExpr::Kind::kColumn) mask |= uint64_t{1} << e.table;
    for (const auto& c : e.children)
        mask |= TablesUsed(*c);
    return mask;
}

void SplitConjuncts(BoundExprPtr e, std::vector<BoundExprPtr>* out) {
    if (!e) return;
    if (e->kind == BoundExpr::Kind::kAnd) {
        for (auto& c : e->children)
            SplitConjuncts(std::move(c), out);
        return;
    }
    out->push_back(std::move(e));
}

BoundExprPtr JoinConjuncts(std::vector<BoundExprPtr> parts) {
    if (parts.empty()) return nullptr;
    if (parts.size() == 1) return std::move(parts[0]);
    auto all = MakeBound(BoundExpr::Kind::kAnd, SqlType::kBool, {});
    all->children = std::move(parts);
    return all;
}

std::vector<SqlType> TypesOf(const std::vector<BoundExprPtr>& exprs) {
    std::vector<SqlType> types;
    for (const auto& e : exprs)
        types.push_back(e->type);
    return types;
}

}  // namespace kolvio::sql
