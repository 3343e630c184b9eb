#include "data/sql/sql_error.h"

namespace kolvio::sql {

namespace {

std::string WithPlace(const std::string& message, const SourcePos& pos) {
    if (!pos.known()) return message;
    return message + " (řádek " + std::to_string(pos.line) + ", sloupec " +
           std::to_string(pos.column) + ")";
}

}  // namespace

SqlError::SqlError(std::string message, SourcePos pos, Status::Code code)
    : std::runtime_error(WithPlace(message, pos)),
      bare_(std::move(message)),
      pos_(pos),
      code_(code) {}

Status SqlError::toStatus() const {
    const std::string msg = what();
    switch (code_) {
        case Status::Code::kNotFound:
            return Status::NotFound(msg);
        case Status::Code::kCorrupt:
            return Status::Corrupt(msg);
        case Status::Code::kLocked:
            return Status::Locked(msg);
        case Status::Code::kIoError:
            return Status::IoError(msg);
        case Status::Code::kNoSpace:
            return Status::NoSpace(msg);
        default:
            return Status::Invalid(msg);
    }
}

void ThrowIfError(const Status& st) {
    if (!st.ok()) throw SqlError(st.message(), {}, st.code());
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace kolvio::sql
