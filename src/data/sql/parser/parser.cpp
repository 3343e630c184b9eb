#include "data/sql/parser/parser.h"

#include <array>

#include "data/dbf/field_def.h"
#include "data/sql/parser/parser_impl.h"

namespace kolvio::sql {

namespace {

constexpr std::array<std::string_view, 27> kReserved = {
    "SELECT", "DISTINCT", "FROM", "WHERE",  "GROUP",   "BY",   "HAVING", "ORDER", "ASC",
    "DESC",   "AND",      "OR",   "NOT",    "BETWEEN", "IN",   "IS",     "NULL",  "AS",
    "ALTER",  "TABLE",    "ADD",  "COLUMN", "UNION",   "JOIN", "ON",     "LIKE",  "ALL"};

}  // namespace

bool IsReservedWord(std::string_view word) {
    for (std::string_view r : kReserved) {
        if (EqualsIgnoreCase(r, word)) return true;
    }
    return false;
}

const char* CompareOpText(CompareOp op) {
    switch (op) {
        case CompareOp::kEq:
            return "=";
        case CompareOp::kNe:
            return "<>";
        case CompareOp::kLt:
            return "<";
        case CompareOp::kLe:
            return "<=";
        case CompareOp::kGt:
            return ">";
        case CompareOp::kGe:
            return ">=";
    }
    return "?";
}

const char* AggFuncName(AggFunc f) {
    switch (f) {
        case AggFunc::kCount:
            return "COUNT";
        case AggFunc::kSum:
            return "SUM";
        case AggFunc::kAvg:
            return "AVG";
        case AggFunc::kMin:
            return "MIN";
        case AggFunc::kMax:
            return "MAX";
    }
    return "?";
}

Statement ParseStatement(std::string_view text) {
    Parser parser(Tokenize(text));
    return parser.statement();
}

const Token& Parser::peek(size_t ahead) const {
    const size_t i = at_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

const Token& Parser::advance() {
    const Token& t = tokens_[at_];
    if (at_ + 1 < tokens_.size()) ++at_;
    return t;
}

bool Parser::acceptKeyword(std::string_view word) {
    if (!peek().isKeyword(word)) return false;
    advance();
    return true;
}

bool Parser::acceptSymbol(std::string_view symbol) {
    if (!peek().isSymbol(symbol)) return false;
    advance();
    return true;
}

void Parser::expectKeyword(std::string_view word) {
    if (!acceptKeyword(word)) fail(std::string(word));
}

void Parser::expectSymbol(std::string_view symbol) {
    if (!acceptSymbol(symbol)) fail(Quoted(std::string(symbol)));
}

void Parser::fail(const std::string& expected) const {
    throw SqlError(
        "Syntaktická chyba: očekáváno " + expected + ", nalezeno " + DescribeToken(peek()),
        peek().pos);
}

std::string Parser::identifier(const char* what) {
    if (peek().kind != TokenKind::kIdentifier || IsReservedWord(peek().text)) fail(what);
    return advance().text;
}

Statement Parser::statement() {
    Statement result;
    if (peek().isKeyword("SELECT")) {
        result = select();
    } else if (peek().isKeyword("ALTER")) {
        result = alter();
    } else {
        fail("SELECT nebo ALTER TABLE");
    }
    acceptSymbol(";");
    if (peek().kind != TokenKind::kEnd) fail("konec příkazu");
    return result;
}

SelectStatement Parser::select() {
    SelectStatement s;
    expectKeyword("SELECT");
    if (acceptKeyword("DISTINCT")) {
        s.distinct = true;
    } else {
        acceptKeyword("ALL");
    }
    do {
        s.items.push_back(selectItem());
    } while (acceptSymbol(","));
    expectKeyword("FROM");
    do {
        s.from.push_back(tableRef());
    } while (acceptSymbol(","));
    if (acceptKeyword("WHERE")) s.where = expression();
    if (acceptKeyword("GROUP")) {
        expectKeyword("BY");
        do {
            s.groupBy.push_back(expression());
        } while (acceptSymbol(","));
    }
    if (acceptKeyword("HAVING")) s.having = expression();
    if (acceptKeyword("ORDER")) {
        expectKeyword("BY");
        do {
            OrderItem item;
            item.expr = expression();
            if (acceptKeyword("DESC")) {
                item.descending = true;
            } else {
                acceptKeyword("ASC");
            }
            s.orderBy.push_back(std::move(item));
        } while (acceptSymbol(","));
    }
    return s;
}

SelectItem Parser::selectItem() {
    SelectItem item;
    item.pos = peek().pos;
    if (acceptSymbol("*")) return item;
    item.expr = expression();
    item.alias = optionalAlias(&item.aliasPos);
    return item;
}

std::string Parser::optionalAlias(SourcePos* pos) {
    if (acceptKeyword("AS")) {
        *pos = peek().pos;
        if (peek().kind == TokenKind::kString && peek().doubleQuoted) return advance().text;
        return identifier("název (alias)");
    }
    if (peek().kind == TokenKind::kIdentifier && !IsReservedWord(peek().text)) {
        *pos = peek().pos;
        return advance().text;
    }
    return "";
}

TableRef Parser::tableRef() {
    TableRef t;
    t.pos = peek().pos;
    if (peek().kind == TokenKind::kString && peek().doubleQuoted) {
        t.name = advance().text;
        if (t.name.empty()) throw SqlError("Prázdný název tabulky", t.pos);
    } else {
        t.name = identifier("název tabulky");
        if (peek().isSymbol(".") && peek(1).isKeyword("DBF")) {
            advance();
            t.name += "." + advance().text;
        }
    }
    SourcePos aliasPos;
    t.alias = optionalAlias(&aliasPos);
    return t;
}

AlterAddColumn Parser::alter() {
    AlterAddColumn a;
    expectKeyword("ALTER");
    expectKeyword("TABLE");
    a.table = tableRef();
    if (!a.table.alias.empty()) fail("ADD");
    expectKeyword("ADD");
    acceptKeyword("COLUMN");
    a.columnPos = peek().pos;
    a.column = identifier("název sloupce");
    a.type = columnType();
    return a;
}

int Parser::typeNumber() {
    if (peek().kind != TokenKind::kNumber) fail("celé číslo");
    const Token& t = advance();
    if (t.text.find_first_not_of("0123456789") != std::string::npos || t.text.size() > 3) {
        throw SqlError("Neplatný rozměr typu " + Quoted(t.text), t.pos);
    }
    return std::stoi(t.text);
}

ColumnTypeSpec Parser::columnType() {
    using K = ColumnTypeSpec::Kind;
    ColumnTypeSpec spec;
    const Token& t = peek();
    if (t.kind != TokenKind::kIdentifier) fail("typ sloupce");
    const std::string word = ToUpperAscii(t.text);
    advance();
    if (word == "INTEGER" || word == "INT" || word == "LONG") {
        spec.kind = K::kInteger;
    } else if (word == "SMALLINT" || word == "SHORT") {
        spec.kind = K::kSmallInt;
    } else if (word == "BOOLEAN" || word == "LOGICAL" || word == "BOOL") {
        spec.kind = K::kBoolean;
    } else if (word == "DATE") {
        spec.kind = K::kDate;
    } else if (word == "FLOAT" || word == "NUMERIC" || word == "DECIMAL") {
        spec.kind = word == "FLOAT" ? K::kFloat : K::kNumeric;
        spec.width = 20;
        spec.decimals = 4;
        if (acceptSymbol("(")) {
            spec.width = typeNumber();
            spec.decimals = acceptSymbol(",") ? typeNumber() : 0;
            expectSymbol(")");
        }
    } else if (word == "CHAR" || word == "VARCHAR" || word == "CHARACTER") {
        spec.kind = K::kChar;
        spec.width = 1;
        if (acceptSymbol("(")) {
            spec.width = typeNumber();
            expectSymbol(")");
        }
    } else {
        throw SqlError("Neznámý typ sloupce " + Quoted(t.text) +
                           " (lze INTEGER, SMALLINT, BOOLEAN, DATE, FLOAT(š,d), NUMERIC(š,d), "
                           "CHAR(n))",
                       t.pos);
    }
    return spec;
}

}  // namespace kolvio::sql
