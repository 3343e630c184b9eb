#include "data/sql/binder/literals.h"

#include <charconv>
#include <cmath>
#include <string>

#include "data/dbf/field_def.h"

namespace kolvio::sql {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads 1..maxDigits digits at *pos.
std::optional<int> ReadInt(std::string_view s, size_t* pos, size_t maxDigits) {
    size_t n = 0;
    int v = 0;
    while (*pos < s.size() && IsDigit(s[*pos]) && n < maxDigits) {
        v = v * 10 + (s[*pos] - '0');
        ++*pos;
        ++n;
    }
    if (n == 0 || (*pos < s.size() && IsDigit(s[*pos]))) return std::nullopt;
    return v;
}

void SkipBlanks(std::string_view s, size_t* pos) {
    while (*pos < s.size() && s[*pos] == ' ')
        ++*pos;
}

std::optional<Date> ParseCzech(std::string_view s) {
    size_t pos = 0;
    const auto day = ReadInt(s, &pos, 2);
    if (!day || pos >= s.size() || s[pos] != '.') return std::nullopt;
    ++pos;
    SkipBlanks(s, &pos);
    const auto month = ReadInt(s, &pos, 2);
    if (!month || pos >= s.size() || s[pos] != '.') return std::nullopt;
    ++pos;
    SkipBlanks(s, &pos);
    const size_t yearStart = pos;
    const auto year = ReadInt(s, &pos, 4);
    if (!year || pos != s.size() || pos - yearStart != 4) return std::nullopt;
    return Date::FromYmd(*year, *month, *day);
}

std::optional<Date> ParseIso(std::string_view s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
    size_t pos = 0;
    const auto year = ReadInt(s, &pos, 4);
    ++pos;
    const auto month = ReadInt(s, &pos, 2);
    ++pos;
    const auto day = ReadInt(s, &pos, 2);
    if (!year || !month || !day || pos != s.size()) return std::nullopt;
    return Date::FromYmd(*year, *month, *day);
}

}  // namespace

std::optional<double> ParseNumberLiteral(std::string_view text) {
    std::string s(TrimBlanks(text));
    if (s.empty()) return std::nullopt;
    size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (s[0] == '+') {
        s.erase(0, 1);
        i = 0;
    }
    // Only plain decimal notation: from_chars alone would also take "inf" and "nan".
    bool digits = false;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        digits = true;
    if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
        s[i] = '.';
        for (++i; i < s.size() && IsDigit(s[i]); ++i)
            digits = true;
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (i >= s.size() || !IsDigit(s[i])) return std::nullopt;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
    }
    if (i != s.size()) return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<Date> ParseDateLiteral(std::string_view text) {
    const std::string_view s = TrimBlanks(text);
    if (auto d = ParseCzech(s)) return d;
    return ParseIso(s);
}

std::optional<bool> ParseBoolLiteral(std::string_view text) {
    const std::string s = ToUpperAscii(TrimBlanks(text));
    if (s == "T" || s == "Y" || s == "TRUE" || s == "ANO" || s == "1") return true;
    if (s == "F" || s == "N" || s == "FALSE" || s == "NE" || s == "0") return false;
    return std::nullopt;
}

}  // namespace kolvio::sql
