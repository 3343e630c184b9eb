// Outcome of a storage operation: ok, aborted or an error with a message.
//
// Storage calls return a Status instead of throwing. The message is Czech and
// names the file or value involved, because the screens show it to the rider
// as it stands.
//
// A Status is never dropped unread: the class is [[nodiscard]], so a call
// whose outcome is ignored fails the build. Where ignoring it is right, the
// call is cast to void with a comment that says why.
//
// kAborted is the silent outcome: an event handler abandoned the operation on
// purpose (the row stays as it was) and nothing is to be shown to the user.
#pragma once

#include <string>
#include <utility>

namespace kolvio {

class [[nodiscard]] Status {
public:
    enum class Code { kOk, kAborted, kNotFound, kCorrupt, kLocked, kInvalid, kIoError, kNoSpace };

    Status() = default;
    static Status Ok() { return Status(); }
    static Status Aborted() { return Status(Code::kAborted, {}); }
    static Status NotFound(std::string msg) { return Status(Code::kNotFound, std::move(msg)); }
    static Status Corrupt(std::string msg) { return Status(Code::kCorrupt, std::move(msg)); }
    static Status Locked(std::string msg) { return Status(Code::kLocked, std::move(msg)); }
    static Status Invalid(std::string msg) { return Status(Code::kInvalid, std::move(msg)); }
    static Status IoError(std::string msg) { return Status(Code::kIoError, std::move(msg)); }
    // The disk (or the user's quota) is full: further writes there fail too.
    static Status NoSpace(std::string msg) { return Status(Code::kNoSpace, std::move(msg)); }

    bool ok() const { return code_ == Code::kOk; }
    bool aborted() const { return code_ == Code::kAborted; }
    // True for a real failure that the user must be told about.
    bool failed() const { return !ok() && !aborted(); }
    // A search found no row; the other failures are errors to be shown.
    bool notFound() const { return code_ == Code::kNotFound; }
    Code code() const { return code_; }
    const std::string& message() const { return message_; }

private:
    Status(Code code, std::string msg) : code_(code), message_(std::move(msg)) {}

    Code code_ = Code::kOk;
    std::string message_;
};

// Returns from the enclosing function when `expr` is not ok.
#define KOLVIO_RETURN_IF_ERROR(expr)   \
    do {                               \
        ::kolvio::Status _st = (expr); \
        if (!_st.ok()) return _st;     \
    } while (0)

}  // namespace kolvio
