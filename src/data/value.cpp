#include "data/value.h"

#include <cmath>
#include <cstdio>

namespace kolvio {

namespace {

// Days from civil, after Howard Hinnant's public-domain algorithm, shifted so
// that 1.1.0001 is day 0.
int32_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 306;  // day 0 = 1.1.0001
}

void CivilFromDays(int32_t z, int* y, int* m, int* d) {
    z += 306;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp + (mp < 10 ? 3 : -9);
    *y = yoe + era * 400 + (*m <= 2);
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<Date> Date::FromYmd(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
    if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
    return Date(DaysFromCivil(year, month, day));
}

std::optional<Date> Date::FromDbf(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    size_t pos = 0;
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < widths[p]; ++i, ++pos) {
            const char c = text[pos];
            if (c < '0' || c > '9') return std::nullopt;
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    return FromYmd(parts[0], parts[1], parts[2]);
}

void Date::ymd(int* year, int* month, int* day) const {
    CivilFromDays(days_, year, month, day);
}

int Date::year() const {
    int y, m, d;
    ymd(&y, &m, &d);
    return y;
}
int Date::month() const {
    int y, m, d;
    ymd(&y, &m, &d);
    return m;
}
int Date::day() const {
    int y, m, d;
    ymd(&y, &m, &d);
    return d;
}

std::string Date::toDbf() const {
    int y, m, d;
    ymd(&y, &m, &d);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
    return buf;
}

std::string Date::toIso() const {
    int y, m, d;
    ymd(&y, &m, &d);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

double Value::asDouble() const {
    if (auto* d = std::get_if<double>(&v_)) return *d;
    if (auto* b = std::get_if<bool>(&v_)) return *b ? 1.0 : 0.0;
    return 0.0;
}

int64_t Value::asInt() const {
    return static_cast<int64_t>(std::llround(asDouble()));
}

const std::string& Value::asText() const {
    static const std::string kEmpty;
    if (auto* s = std::get_if<std::string>(&v_)) return *s;
    return kEmpty;
}

bool Value::asBool() const {
    if (auto* b = std::get_if<bool>(&v_)) return *b;
    return false;
}

Date Value::asDate() const {
    if (auto* d = std::get_if<Date>(&v_)) return *d;
    return Date();
}

}  // namespace kolvio
