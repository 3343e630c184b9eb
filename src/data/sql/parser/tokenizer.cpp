#include <cctype>

#include "data/dbf/field_def.h"
#include "data/sql/parser/token.h"

namespace kolvio::sql {

namespace {

bool IsIdentStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsIdentChar(unsigned char c) {
    return IsIdentStart(c) || std::isdigit(c);
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the text keeping line and character column for error positions.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }
    char peek(size_t ahead = 0) const {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0';
    }
    SourcePos pos() const { return {static_cast<int>(at_), line_, column_}; }
    size_t offset() const { return at_; }

    void advance() {
        const auto c = static_cast<unsigned char>(text_[at_++]);
        if (c == '\n') {
            ++line_;
            column_ = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column_;  // continuation bytes of UTF-8 do not start a character
        }
    }

private:
    std::string_view text_;
    size_t at_ = 0;
    int line_ = 1;
    int column_ = 1;
};

void SkipBlanksAndComments(Cursor& c) {
    for (;;) {
        while (!c.atEnd() && std::isspace(static_cast<unsigned char>(c.peek())))
            c.advance();
        if (c.peek() == '-' && c.peek(1) == '-') {
            while (!c.atEnd() && c.peek() != '\n')
                c.advance();
            continue;
        }
        return;
    }
}

Token ReadString(Cursor& c) {
    Token t;
    t.kind = TokenKind::kString;
    t.pos = c.pos();
    const char quote = c.peek();
    t.doubleQuoted = quote == '"';
    c.advance();
    for (;;) {
        if (c.atEnd()) throw SqlError("Neukončený řetězec v uvozovkách", t.pos);
        const char ch = c.peek();
        c.advance();
        if (ch == quote) {
            if (c.peek() != quote) break;
            c.advance();  // a doubled quote stands for one quote character
        }
        t.text.push_back(ch);
    }
    return t;
}

Token ReadNumber(Cursor& c, std::string_view text) {
    Token t;
    t.kind = TokenKind::kNumber;
    t.pos = c.pos();
    const size_t start = c.offset();
    while (IsDigit(c.peek()))
        c.advance();
    if (c.peek() == '.' && IsDigit(c.peek(1))) {
        c.advance();
        while (IsDigit(c.peek()))
            c.advance();
    } else if (c.peek() == '.' && !IsIdentStart(static_cast<unsigned char>(c.peek(1)))) {
        c.advance();  // "5." is five
    }
    if ((c.peek() == 'e' || c.peek() == 'E') &&
        (IsDigit(c.peek(1)) || ((c.peek(1) == '+' || c.peek(1) == '-') && IsDigit(c.peek(2))))) {
        c.advance();
        if (c.peek() == '+' || c.peek() == '-') c.advance();
        while (IsDigit(c.peek()))
            c.advance();
    }
    t.text = std::string(text.substr(start, c.offset() - start));
    if (IsIdentStart(static_cast<unsigned char>(c.peek()))) {
        throw SqlError("Chybně zapsané číslo " + Quoted(t.text + c.peek()), t.pos);
    }
    return t;
}

}  // namespace

bool Token::isKeyword(std::string_view word) const {
    return kind == TokenKind::kIdentifier && EqualsIgnoreCase(text, word);
}

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> out;
    Cursor c(text);
    SourcePos afterLast = c.pos();  // "end of statement" is reported right after the last token
    for (;;) {
        SkipBlanksAndComments(c);
        if (c.atEnd()) break;
        const char ch = c.peek();
        const auto uch = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\'') {
            out.push_back(ReadString(c));
        } else if (IsDigit(ch) || (ch == '.' && IsDigit(c.peek(1)))) {
            out.push_back(ReadNumber(c, text));
        } else if (IsIdentStart(uch)) {
            Token t;
            t.kind = TokenKind::kIdentifier;
            t.pos = c.pos();
            const size_t start = c.offset();
            while (!c.atEnd() && IsIdentChar(static_cast<unsigned char>(c.peek())))
                c.advance();
            t.text = std::string(text.substr(start, c.offset() - start));
            out.push_back(std::move(t));
        } else {
            Token t;
            t.kind = TokenKind::kSymbol;
            t.pos = c.pos();
            const char next = c.peek(1);
            if ((ch == '<' && (next == '>' || next == '=')) || (ch == '>' && next == '=') ||
                (ch == '!' && next == '=')) {
                t.text = {ch, next};
                c.advance();
                c.advance();
            } else if (std::string_view("(),.;*+-/=<>").find(ch) != std::string_view::npos) {
                t.text = std::string(1, ch);
                c.advance();
            } else {
                std::string shown(1, ch);
                if (uch < 0x20 || uch == 0x7F) {
                    static const char kHex[] = "0123456789ABCDEF";
                    shown = {'\\', 'x', kHex[uch >> 4], kHex[uch & 0xF]};
                }
                throw SqlError("Neočekávaný znak " + Quoted(shown), t.pos);
            }
            out.push_back(std::move(t));
        }
        afterLast = c.pos();
    }
    Token end;
    end.kind = TokenKind::kEnd;
    end.pos = afterLast;
    out.push_back(std::move(end));
    return out;
}

std::string DescribeToken(const Token& token) {
    switch (token.kind) {
        case TokenKind::kEnd:
            return "konec příkazu";
        case TokenKind::kString:
            return "text " + Quoted(token.text);
        default:
            return Quoted(token.text);
    }
}

}  // namespace kolvio::sql
