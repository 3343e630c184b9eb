#include "data/sql/binder/expression_binder.h"

#include "data/sql/binder/literals.h"

namespace kolvio::sql {

namespace {

using PK = ParsedExpr::Kind;
using BK = BoundExpr::Kind;

bool IsTextLiteral(const BoundExpr& e) {
    return e.kind == BK::kConstant && e.textLiteral;
}

// The type the operands of a comparison, BETWEEN or IN take: that of the
// first operand that is not a bare text literal (text when all are).
SqlType CommonType(const std::vector<BoundExprPtr*>& operands) {
    for (BoundExprPtr* op : operands) {
        if (!IsTextLiteral(**op)) return (*op)->type;
    }
    return SqlType::kText;
}

void Unify(const std::vector<BoundExprPtr*>& operands, SourcePos where) {
    const SqlType type = CommonType(operands);
    for (BoundExprPtr* op : operands)
        CoerceTo(*op, type, where);
}

void RequireType(const BoundExpr& e, SqlType type, const char* what) {
    if (e.type != type) {
        throw SqlError(std::string(what) + ": očekáván typ " + SqlTypeName(type) + ", ne " +
                           SqlTypeName(e.type),
                       e.pos);
    }
}

}  // namespace

SqlType TypeOfField(const FieldDef& f) {
    switch (f.type) {
        case FieldType::kNumeric:
        case FieldType::kFloat:
        case FieldType::kInteger:
            return SqlType::kNumber;
        case FieldType::kDate:
            return SqlType::kDate;
        case FieldType::kLogical:
            return SqlType::kBool;
        default:
            return SqlType::kText;
    }
}

void CoerceTo(BoundExprPtr& e, SqlType target, SourcePos where) {
    if (e->type == target) {
        e->textLiteral = false;
        return;
    }
    if (IsTextLiteral(*e)) {
        const std::string& text = e->constant.asText();
        switch (target) {
            case SqlType::kNumber:
                if (auto n = ParseNumberLiteral(text)) {
                    e->constant = Value(*n);
                    break;
                }
                throw SqlError("Text " + Quoted(text) + " nelze přečíst jako číslo", e->pos);
            case SqlType::kDate:
                if (auto d = ParseDateLiteral(text)) {
                    e->constant = Value(*d);
                    break;
                }
                throw SqlError("Nelze přečíst datum " + Quoted(text) +
                                   " (očekáváno den.měsíc.rok, např. 31.12.2024)",
                               e->pos);
            case SqlType::kBool:
                if (auto b = ParseBoolLiteral(text)) {
                    e->constant = Value(*b);
                    break;
                }
                throw SqlError("Text " + Quoted(text) + " nelze přečíst jako logickou hodnotu",
                               e->pos);
            case SqlType::kText:
                break;
        }
        e->type = target;
        e->textLiteral = false;
        return;
    }
    throw SqlError(
        std::string("Neslučitelné typy: ") + SqlTypeName(target) + " a " + SqlTypeName(e->type),
        where.known() ? where : e->pos);
}

int ExpressionBinder::tableByQualifier(const ParsedExpr& e) const {
    const std::string_view wanted = TableBaseName(e.qualifier);
    for (size_t i = 0; i < tables_.size(); ++i) {
        if (EqualsIgnoreCase(tables_[i].name, wanted)) return static_cast<int>(i);
    }
    // A table that has an alias may still be named by its file name.
    for (size_t i = 0; i < tables_.size(); ++i) {
        if (EqualsIgnoreCase(TableBaseName(tables_[i].table->fileName), wanted)) {
            return static_cast<int>(i);
        }
    }
    throw SqlError("Tabulka " + Quoted(e.qualifier) + " není uvedena ve FROM", e.pos);
}

BoundExprPtr ExpressionBinder::column(const ParsedExpr& e, bool optional) {
    int table = -1;
    int field = -1;
    if (!e.qualifier.empty()) {
        table = tableByQualifier(e);
        field = FindField(tables_[table].table->fields, e.name);
        if (field < 0) {
            throw SqlError("Tabulka " + Quoted(tables_[table].table->fileName) + " nemá sloupec " +
                               Quoted(e.name),
                           e.pos);
        }
    } else {
        for (size_t i = 0; i < tables_.size(); ++i) {
            const int f = FindField(tables_[i].table->fields, e.name);
            if (f < 0) continue;
            if (table >= 0) {
                throw SqlError("Sloupec " + Quoted(e.name) + " je v tabulkách " +
                                   Quoted(tables_[table].name) + " i " + Quoted(tables_[i].name) +
                                   "; uveďte tabulku",
                               e.pos);
            }
            table = static_cast<int>(i);
            field = f;
        }
        if (table < 0) {
            if (optional) return nullptr;
            throw SqlError("Neznámý sloupec " + Quoted(e.name), e.pos);
        }
    }
    const FieldLayout& f = tables_[table].table->fields[field];
    auto b = MakeBound(BK::kColumn, TypeOfField(f), e.pos);
    b->table = table;
    b->field = field;
    return b;
}

BoundExprPtr ExpressionBinder::bind(const ParsedExpr& e, bool allowAggregates, const char* clause) {
    return bindInner(e, allowAggregates, false, clause);
}

BoundExprPtr ExpressionBinder::bindInner(const ParsedExpr& e, bool allowAgg, bool inAgg,
                                         const char* clause) {
    const auto child = [&](size_t i) { return bindInner(*e.children[i], allowAgg, inAgg, clause); };
    switch (e.kind) {
        case PK::kColumn:
            return column(e, false);
        case PK::kString: {
            auto b = MakeBound(BK::kConstant, SqlType::kText, e.pos);
            b->constant = Value(e.name);
            b->textLiteral = true;
            return b;
        }
        case PK::kNumber: {
            auto b = MakeBound(BK::kConstant, SqlType::kNumber, e.pos);
            b->constant = Value(e.number);
            return b;
        }
        case PK::kBool: {
            auto b = MakeBound(BK::kConstant, SqlType::kBool, e.pos);
            b->constant = Value(e.boolValue);
            return b;
        }
        case PK::kNot: {
            auto b = MakeBound(BK::kNot, SqlType::kBool, e.pos);
            b->children.push_back(child(0));
            CoerceTo(b->children[0], SqlType::kBool, {});
            RequireType(*b->children[0], SqlType::kBool, "NOT");
            return b;
        }
        case PK::kAnd:
        case PK::kOr: {
            auto b = MakeBound(e.kind == PK::kAnd ? BK::kAnd : BK::kOr, SqlType::kBool, e.pos);
            for (size_t i = 0; i < e.children.size(); ++i) {
                b->children.push_back(child(i));
                RequireType(*b->children[i], SqlType::kBool, e.kind == PK::kAnd ? "AND" : "OR");
            }
            return b;
        }
        case PK::kCompare: {
            auto b = MakeBound(BK::kCompare, SqlType::kBool, e.pos);
            b->compareOp = e.compareOp;
            b->children.push_back(child(0));
            b->children.push_back(child(1));
            Unify({&b->children[0], &b->children[1]}, e.pos);
            return b;
        }
        case PK::kArith: {
            auto b = MakeBound(BK::kArith, SqlType::kNumber, e.pos);
            b->arithOps = e.arithOps;
            for (size_t i = 0; i < e.children.size(); ++i) {
                b->children.push_back(child(i));
                // A type conflict is shown at the operator next to the operand.
                const SourcePos op = e.arithPlaces.empty() ? e.pos : e.arithPlaces[i ? i - 1 : 0];
                CoerceTo(b->children[i], SqlType::kNumber, op);
            }
            return b;
        }
        case PK::kNegate: {
            auto b = MakeBound(BK::kNegate, SqlType::kNumber, e.pos);
            b->children.push_back(child(0));
            CoerceTo(b->children[0], SqlType::kNumber, e.pos);
            return b;
        }
        case PK::kBetween:
        case PK::kIn: {
            auto b =
                MakeBound(e.kind == PK::kBetween ? BK::kBetween : BK::kIn, SqlType::kBool, e.pos);
            b->negated = e.negated;
            std::vector<BoundExprPtr*> operands;
            for (size_t i = 0; i < e.children.size(); ++i)
                b->children.push_back(child(i));
            for (auto& c : b->children)
                operands.push_back(&c);
            Unify(operands, e.pos);
            return b;
        }
        case PK::kIsNull: {
            auto b = MakeBound(BK::kIsNull, SqlType::kBool, e.pos);
            b->negated = e.negated;
            b->children.push_back(child(0));
            b->children[0]->textLiteral = false;
            return b;
        }
        case PK::kAggregate: {
            if (inAgg) throw SqlError("Agregační funkce nelze vnořovat", e.pos);
            if (!allowAgg) {
                throw SqlError(std::string("Agregační funkce ") + AggFuncName(e.aggFunc) +
                                   " nemůže být v části " + clause,
                               e.pos);
            }
            auto b = MakeBound(BK::kAggregate, SqlType::kNumber, e.pos);
            b->aggFunc = e.aggFunc;
            b->star = e.star;
            if (!e.star) {
                b->children.push_back(bindInner(*e.children[0], allowAgg, true, clause));
                BoundExprPtr& arg = b->children[0];
                if (e.aggFunc == AggFunc::kSum || e.aggFunc == AggFunc::kAvg) {
                    CoerceTo(arg, SqlType::kNumber, arg->pos);
                } else {
                    arg->textLiteral = false;
                }
                if (e.aggFunc == AggFunc::kMin || e.aggFunc == AggFunc::kMax) b->type = arg->type;
            }
            return b;
        }
    }
    throw SqlError("Nepodporovaný výraz", e.pos);
}

}  // namespace kolvio::sql
