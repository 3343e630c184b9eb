#include "cli/csv.h"

#include <charconv>

namespace kolvio::cli {

std::string CsvQuote(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
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
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value.asDouble());
        return ec == std::errc() ? std::string(buf, end) : std::string();
    }
    return CsvQuote(value.asText());
}

}  // namespace kolvio::cli
