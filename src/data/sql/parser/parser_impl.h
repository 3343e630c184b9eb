// Internal: the token cursor shared by the statement and expression parsers.
#pragma once

#include <string_view>
#include <vector>

#include "data/sql/parser/ast.h"
#include "data/sql/parser/token.h"

namespace kolvio::sql {

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Statement statement();

    // Expressions (parse_expression.cpp).
    ParsedExprPtr expression();

private:
    const Token& peek(size_t ahead = 0) const;
    const Token& advance();
    bool acceptKeyword(std::string_view word);
    bool acceptSymbol(std::string_view symbol);
    void expectKeyword(std::string_view word);
    void expectSymbol(std::string_view symbol);
    [[noreturn]] void fail(const std::string& expected) const;
    std::string identifier(const char* what);

    SelectStatement select();
    AlterAddColumn alter();
    SelectItem selectItem();
    TableRef tableRef();
    ColumnTypeSpec columnType();
    int typeNumber();
    std::string optionalAlias(SourcePos* pos);

    ParsedExprPtr orExpr();
    ParsedExprPtr andExpr();
    ParsedExprPtr notExpr();
    ParsedExprPtr predicate();
    ParsedExprPtr arithmetic(bool sum);
    ParsedExprPtr unary();
    // One more level of nesting at `pos`; refuses the statement beyond
    // kMaxExpressionDepth. Paired with leave().
    void enter(SourcePos pos);
    void leave(int levels = 1) { depth_ -= levels; }
    ParsedExprPtr primary();
    ParsedExprPtr columnOrFunction();
    ParsedExprPtr aggregate(AggFunc func, const Token& nameToken);

    std::vector<Token> tokens_;
    size_t at_ = 0;
    int depth_ = 0;
};

ParsedExprPtr MakeExpr(ParsedExpr::Kind kind, SourcePos pos);

}  // namespace kolvio::sql
