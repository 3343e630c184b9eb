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

void Parser::enter(SourcePos pos) {
    if (++depth_ > kMaxExpressionDepth) {
        throw SqlError("Výraz je vnořený příliš hluboko (nejvýše " +
                           std::to_string(kMaxExpressionDepth) +
                           " úrovní závorek, NOT a znamének); zjednodušte ho",
                       pos);
    }
}

ParsedExprPtr Parser::expression() {
    enter(peek().pos);
    ParsedExprPtr e = orExpr();
    leave();
    return e;
}

// Chains of OR and AND are parsed in a loop into one node with all their
// terms, so a long chain needs neither deep recursion here nor later.
ParsedExprPtr Parser::orExpr() {
    ParsedExprPtr first = andExpr();
    if (!peek().isKeyword("OR")) return first;
    auto e = MakeExpr(Kind::kOr, peek().pos);
    e->children.push_back(std::move(first));
    while (acceptKeyword("OR"))
        e->children.push_back(andExpr());
    return e;
}

ParsedExprPtr Parser::andExpr() {
    ParsedExprPtr first = notExpr();
    if (!peek().isKeyword("AND")) return first;
    auto e = MakeExpr(Kind::kAnd, peek().pos);
    e->children.push_back(std::move(first));
    while (acceptKeyword("AND"))
        e->children.push_back(notExpr());
    return e;
}

ParsedExprPtr Parser::notExpr() {
    // NOT NOT ... x: the NOTs are counted, then wrapped around x.
    std::vector<SourcePos> nots;
    while (peek().isKeyword("NOT")) {
        enter(peek().pos);
        nots.push_back(advance().pos);
    }
    ParsedExprPtr e = predicate();
    for (auto it = nots.rbegin(); it != nots.rend(); ++it) {
        auto wrapped = MakeExpr(Kind::kNot, *it);
        wrapped->children.push_back(std::move(e));
        e = std::move(wrapped);
    }
    leave(static_cast<int>(nots.size()));
    return e;
}

ParsedExprPtr Parser::predicate() {
    ParsedExprPtr left = arithmetic(true);
    CompareOp op;
    if (CompareOpOf(peek(), &op)) {
        const SourcePos pos = advance().pos;
        auto e = Binary(Kind::kCompare, pos, std::move(left), arithmetic(true));
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
        e->children.push_back(arithmetic(true));
        expectKeyword("AND");
        e->children.push_back(arithmetic(true));
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

// sum := product {(+|-) product}; product := unary {(*|/) unary}. Each
// chain is one kArith node applying its operators from the left.
ParsedExprPtr Parser::arithmetic(bool sum) {
    const auto operand = [&] { return sum ? arithmetic(false) : unary(); };
    const auto opOf = [&](const Token& t, ArithOp* op) {
        if (t.kind != TokenKind::kSymbol) return false;
        if (sum && (t.text == "+" || t.text == "-")) {
            *op = t.text == "+" ? ArithOp::kAdd : ArithOp::kSub;
            return true;
        }
        if (!sum && (t.text == "*" || t.text == "/")) {
            *op = t.text == "*" ? ArithOp::kMul : ArithOp::kDiv;
            return true;
        }
        return false;
    };
    ParsedExprPtr first = operand();
    ArithOp op;
    if (!opOf(peek(), &op)) return first;
    auto e = MakeExpr(Kind::kArith, peek().pos);
    e->children.push_back(std::move(first));
    while (opOf(peek(), &op)) {
        e->arithPlaces.push_back(advance().pos);
        e->arithOps.push_back(op);
        e->children.push_back(operand());
    }
    return e;
}

ParsedExprPtr Parser::unary() {
    // Signs are counted in a loop; each minus wraps the operand once.
    std::vector<SourcePos> minuses;
    int levels = 0;
    while (peek().isSymbol("-") || peek().isSymbol("+")) {
        enter(peek().pos);
        ++levels;
        const Token& sign = advance();
        if (sign.text == "-") minuses.push_back(sign.pos);
    }
    ParsedExprPtr e = primary();
    for (auto it = minuses.rbegin(); it != minuses.rend(); ++it) {
        auto negated = MakeExpr(Kind::kNegate, *it);
        negated->children.push_back(std::move(e));
        e = std::move(negated);
    }
    leave(levels);
    return e;
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
