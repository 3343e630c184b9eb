// Reading numeric fields of records quickly.
//
// Numbers in N and F fields are almost always plain "  -123.4500" text. For
// those, the digits are read directly: at most 15 significant digits make an
// exact integer, and one division by an exact power of ten gives the
// correctly rounded double, which is exactly what DecodeNumber's full
// conversion gives. Anything else (exponents, decimal commas, overflow
// marks, long digit strings, other field types) goes to DecodeNumber, so
// the result is always DecodeNumber's.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>

#include "data/dbf/field_def.h"
#include "data/dbf/record_codec.h"

namespace kolvio::sql {

inline std::optional<double> DecodeNumberFast(const FieldLayout& field, const char* record) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (field.type != FieldType::kNumeric && field.type != FieldType::kFloat) {
        return DecodeNumber(field, record);
    }
    const char* p = record + field.offset;
    const char* end = p + field.length;
    while (p < end && *p == ' ')
        ++p;
    while (end > p && (end[-1] == ' ' || end[-1] == '\0'))
        --end;
    if (p == end) return DecodeNumber(field, record);  // blank: null, as DecodeNumber says
    const bool negative = *p == '-';
    if (negative) ++p;
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    bool any = false;
    for (; p < end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            any = true;
            if (mantissa != 0) ++digits;
            if (point) ++decimals;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return DecodeNumber(field, record);
        }
    }
    if (!any || digits > 15 || decimals > 22) return DecodeNumber(field, record);
    const double v = static_cast<double>(mantissa) / kPow10[decimals];
    return negative ? -v : v;
}

}  // namespace kolvio::sql
