// Errors that end a statement.
//
// Inside the engine a refused or failed statement is thrown as SqlError; the
// boundary (sql_engine.h) turns it into a Status, so callers never see an
// exception. Every message is Czech and, when the problem sits in the text,
// names the place: line and column, both counted from 1, the column in
// characters (not bytes) so that it matches what an editor shows.
#pragma once

#include <stdexcept>
#include <string>

#include "data/status.h"

namespace kolvio::sql {

// A place in the statement text.
struct SourcePos {
    int offset = -1;  // byte offset, -1 when the error has no place in the text
    int line = 0;
    int column = 0;

    bool known() const { return offset >= 0; }
};

class SqlError : public std::runtime_error {
public:
    // `message` without the place; the place is appended by what().
    SqlError(std::string message, SourcePos pos = {}, Status::Code code = Status::Code::kInvalid);

    const std::string& bareMessage() const { return bare_; }
    const SourcePos& pos() const { return pos_; }
    Status::Code code() const { return code_; }
    Status toStatus() const;

private:
    std::string bare_;
    SourcePos pos_;
    Status::Code code_;
};

// Throws SqlError carrying the status' message and code when it is not ok.
void ThrowIfError(const Status& st);

// Quotes a name or literal for a message: «"text"».
std::string Quoted(const std::string& text);

}  // namespace kolvio::sql
