// Tokens of the statement text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/sql/sql_error.h"

namespace kolvio::sql {

enum class TokenKind {
    kIdentifier,  // letters, digits, '_' and any non-ASCII character
    kString,      // '...' or "..." with the quotes removed, doubled quotes undone
    kNumber,      // 12, 1.5, .5, 2e3
    kSymbol,      // ( ) , . ; * + - / = <> != < <= > >=
    kEnd,
};

struct Token {
    TokenKind kind = TokenKind::kEnd;
    std::string text;           // identifier as written, string contents, number or symbol
    bool doubleQuoted = false;  // kString written in double quotes (may name a table)
    SourcePos pos;

    bool isSymbol(std::string_view s) const { return kind == TokenKind::kSymbol && text == s; }
    // Case-insensitive keyword test; keywords are identifiers to the tokenizer.
    bool isKeyword(std::string_view word) const;
};

// Splits the text into tokens ending with one kEnd token. Blanks, tabs, line
// breaks and "--" comments separate tokens. Throws SqlError for an
// unterminated string or a character that starts no token.
std::vector<Token> Tokenize(std::string_view text);

// Describes a token for a syntax error message ("konec příkazu", «"FROM"»).
std::string DescribeToken(const Token& token);

}  // namespace kolvio::sql
