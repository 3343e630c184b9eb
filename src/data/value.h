// Values as the program sees them: null, number, text (UTF-8), logical or date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kolvio {

// A calendar date. Days are counted from 1.1.0001 (proleptic Gregorian), so
// differences and ordering are plain integer arithmetic.
class Date {
public:
    Date() = default;
    static std::optional<Date> FromYmd(int year, int month, int day);
    static Date FromDayNumber(int32_t days) { return Date(days); }
    // Parses the dBase form "YYYYMMDD"; nullopt when it is not a valid date.
    static std::optional<Date> FromDbf(std::string_view text);

    int32_t dayNumber() const { return days_; }
    int year() const;
    int month() const;
    int day() const;
    void ymd(int* year, int* month, int* day) const;
    std::string toDbf() const;  // "YYYYMMDD"
    std::string toIso() const;  // "YYYY-MM-DD"

    auto operator<=>(const Date&) const = default;

private:
    explicit Date(int32_t days) : days_(days) {}
    int32_t days_ = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// One field value. Numbers are doubles: every numeric column of the program
// holds values a double represents exactly enough (codes, km, hours, beats).
class Value {
public:
    Value() = default;  // null
    Value(double v) : v_(v) {}
    Value(int v) : v_(static_cast<double>(v)) {}
    Value(int64_t v) : v_(static_cast<double>(v)) {}
    Value(bool v) : v_(v) {}
    Value(Date v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isNumber() const { return std::holds_alternative<double>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isDate() const { return std::holds_alternative<Date>(v_); }

    // Typed access; each returns a neutral value (0, "", false, day 0) for null
    // or for a value of another kind.
    double asDouble() const;
    int64_t asInt() const;  // rounded half away from zero
    const std::string& asText() const;
    bool asBool() const;
    Date asDate() const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, double, std::string, bool, Date> v_;
};

}  // namespace kolvio
