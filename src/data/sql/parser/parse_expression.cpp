#include <charconv>
#include <cmath>

#include "data/dbf/field_def.h"
#include "data/sql/parser/parser.h"
#include "data/sql/parser/parser_impl.h"

namespace kolvio::sql {

ParsedExprPtr MakeExpr(ParsedExpr::Kind kind, SourcePos pos) {
    auto e = std::make_unique<ParsedExpr>();
    e->kind = kind;
    e->pos = pos;
    return e;
}

namespace {

using Kind = ParsedExpr::Kind;

ParsedExprPtr Binary(Kind kind, SourcePos pos, ParsedExprPtr a, ParsedExprPtr b) {
    auto e = MakeExpr(kind, pos);
    e->children.push_back(std::move(a));
    e->children.push_back(std::move(b));
    return e;
}

bool CompareOpOf(const Token& t, CompareOp* op) {
    if (t.kind != TokenKind::kSymbol) return false;
    if (t.text == "=")
        *op = CompareOp::kEq;
    else if (t.text == "<>" || t.text == "!=")
        *op = CompareOp::kNe;
    else if (t.text == "<")
        *op = CompareOp::kLt;
    else if (t.text == "<=")
        *op = CompareOp::kLe;
    else if (t.text == ">")
        *op = CompareOp::kGt;
    else if (t.text == ">=")
        *op = CompareOp::kGe;
    else
        return false;
    return true;
}

bool AggFuncOf(const Token& t, AggFunc* f) {
    if (t.kind != TokenKind::kIdentifier) return false;
    if (EqualsIgnoreCase(t.text, "COUNT"))
        *f = AggFunc::kCount;
    else if (EqualsIgnoreCase(t.text, "SUM"))
        *f = AggFunc::kSum;
    else if (EqualsIgnoreCase(t.text, "AVG"))
        *f = AggFunc::kAvg;
    else if (EqualsIgnoreCase(t.text, "MIN"))
        *f = AggFunc::kMin;
    else if (EqualsIgnoreCase(t.text, "MAX"))
        *f = AggFunc::kMax;
    else
        return false;
    return true;
}

}  // namespace

ParsedExprPtr Parser::expression() {
    return orExpr();
}

ParsedExprPtr Parser::orExpr() {
    ParsedExprPtr left = andExpr();
    while (peek().isKeyword("OR")) {
        const SourcePos pos = advance().pos;
        left = Binary(Kind::kOr, pos, std::move(left), andExpr());
    }
    return left;
}

ParsedExprPtr Parser::andExpr() {
    ParsedExprPtr left = notExpr();
    while (peek().isKeyword("AND")) {
        const SourcePos pos = advance().pos;
        left = Binary(Kind::kAnd, pos, std::move(left), notExpr());
    }
    return left;
}

ParsedExprPtr Parser::notExpr() {
    if (peek().isKeyword("NOT")) {
        auto e = MakeExpr(Kind::kNot, advance().pos);
        e->children.push_back(notExpr());
        return e;
    }
    return predicate();
}

ParsedExprPtr Parser::predicate() {
    ParsedExprPtr left = sum();
    CompareOp op;
    if (CompareOpOf(peek(), &op)) {
        const SourcePos pos = advance().pos;
        auto e = Binary(Kind::kCompare, pos, std::move(left), sum());
        e->compareOp = op;
        return e;
    }
    if (peek().isKeyword("IS")) {
        auto e = MakeExpr(Kind::kIsNull, advance().pos);
        e->negated = acceptKeyword("NOT");
        expectKeyword("NULL");
        e->children.push_back(std::move(left));
        return e;
    }
    const bool negated =
        peek().isKeyword("NOT") && (peek(1).isKeyword("BETWEEN") || peek(1).isKeyword("IN"));
    if (negated) advance();
    if (peek().isKeyword("BETWEEN")) {
        auto e = MakeExpr(Kind::kBetween, advance().pos);
        e->negated = negated;
        e->children.push_back(std::move(left));
        e->children.push_back(sum());
        expectKeyword("AND");
        e->children.push_back(sum());
        return e;
    }
    if (peek().isKeyword("IN")) {
        auto e = MakeExpr(Kind::kIn, advance().pos);
        e->negated = negated;
        e->children.push_back(std::move(left));
        expectSymbol("(");
        do {
            e->children.push_back(expression());
        } while (acceptSymbol(","));
        expectSymbol(")");
        return e;
    }
    return left;
}

ParsedExprPtr Parser::sum() {
    ParsedExprPtr left = product();
    while (peek().isSymbol("+") || peek().isSymbol("-")) {
        const Token& t = advance();
        const ArithOp op = t.text == "+" ? ArithOp::kAdd : ArithOp::kSub;
        left = Binary(Kind::kArith, t.pos, std::move(left), product());
        left->arithOp = op;
    }
    return left;
}

ParsedExprPtr Parser::product() {
    ParsedExprPtr left = unary();
    while (peek().isSymbol("*") || peek().isSymbol("/")) {
        const Token& t = advance();
        const ArithOp op = t.text == "*" ? ArithOp::kMul : ArithOp::kDiv;
        left = Binary(Kind::kArith, t.pos, std::move(left), unary());
        left->arithOp = op;
    }
    return left;
}

ParsedExprPtr Parser::unary() {
    if (peek().isSymbol("-")) {
        auto e = MakeExpr(Kind::kNegate, advance().pos);
        e->children.push_back(unary());
        return e;
    }
    if (peek().isSymbol("+")) advance();
    return primary();
}

ParsedExprPtr Parser::primary() {
    const Token& t = peek();
    switch (t.kind) {
        case TokenKind::kNumber: {
            auto e = MakeExpr(Kind::kNumber, t.pos);
            e->name = t.text;
            const auto [end, ec] =
                std::from_chars(t.text.data(), t.text.data() + t.text.size(), e->number);
            if (ec != std::errc() || !std::isfinite(e->number)) {
                throw SqlError("Číslo " + Quoted(t.text) + " je mimo rozsah", t.pos);
            }
            advance();
            return e;
        }
        case TokenKind::kString: {
            // "file.dbf".column names a column of a table quoted by its file name.
            if (t.doubleQuoted && peek(1).isSymbol(".") && peek(2).kind == TokenKind::kIdentifier) {
                auto e = MakeExpr(Kind::kColumn, t.pos);
                e->qualifier = advance().text;
                advance();
                e->name = advance().text;
                return e;
            }
            auto e = MakeExpr(Kind::kString, t.pos);
            e->name = advance().text;
            return e;
        }
        case TokenKind::kIdentifier:
            if (IsReservedWord(t.text)) break;
            return columnOrFunction();
        case TokenKind::kSymbol:
            if (t.isSymbol("(")) {
                advance();
                ParsedExprPtr inner = expression();
                expectSymbol(")");
                return inner;
            }
            break;
        case TokenKind::kEnd:
            break;
    }
    fail("výraz");
}

ParsedExprPtr Parser::columnOrFunction() {
    const Token& first = peek();
    AggFunc func;
    if (AggFuncOf(first, &func) && peek(1).isSymbol("(")) {
        const Token& nameToken = advance();
        return aggregate(func, nameToken);
    }
    if (first.isKeyword("TRUE") || first.isKeyword("FALSE")) {
        auto e = MakeExpr(Kind::kBool, first.pos);
        e->boolValue = first.isKeyword("TRUE");
        advance();
        return e;
    }
    if (peek(1).isSymbol("(")) {
        throw SqlError("Neznámá funkce " + Quoted(first.text) + " (lze MIN, MAX, SUM, AVG, COUNT)",
                       first.pos);
    }
    auto e = MakeExpr(Kind::kColumn, first.pos);
    e->name = identifier("název sloupce");
    if (acceptSymbol(".")) {
        e->qualifier = e->name;
        e->name = identifier("název sloupce");
        // jizdy.dbf.datum: the middle part is the file extension of the table.
        if (EqualsIgnoreCase(e->name, "DBF") && acceptSymbol(".")) {
            e->qualifier += ".dbf";
            e->name = identifier("název sloupce");
        }
    }
    return e;
}

ParsedExprPtr Parser::aggregate(AggFunc func, const Token& nameToken) {
    auto e = MakeExpr(Kind::kAggregate, nameToken.pos);
    e->aggFunc = func;
    expectSymbol("(");
    if (peek().isKeyword("DISTINCT")) {
        throw SqlError("DISTINCT uvnitř agregační funkce není podporováno", peek().pos);
    }
    acceptKeyword("ALL");
    if (func == AggFunc::kCount && acceptSymbol("*")) {
        e->star = true;
    } else {
        e->children.push_back(expression());
    }
    expectSymbol(")");
    return e;
}

}  // namespace kolvio::sql
