#include "cli/csv.h"

#include <algorithm>
#include <charconv>

namespace kolvio::cli {

std::string CsvQuote(const std::string& text) {
    // Quoted also for any other control character (a NUL byte of a damaged
    // row included), so that a reader never takes it for the end of a cell.
    const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
        return c == ',' || c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (plain) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string CsvCell(const Value& value) {
    if (value.isNull()) return "";
    if (value.isBool()) return value.asBool() ? "T" : "F";
    if (value.isDate()) return value.asDate().toIso();
    if (value.isNumber()) {
        char buf[64];
        // + 0.0 turns a negative zero into zero.
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value.asDouble() + 0.0);
        return ec == std::errc() ? std::string(buf, end) : std::string();
    }
    return CsvQuote(value.asText());
}

}  // namespace kolvio::cli
