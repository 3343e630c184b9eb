#include "app/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kolvio {

namespace {

// Adds one to a string of decimal digits.
void Increment(std::string* digits) {
    for (auto it = digits->rbegin(); it != digits->rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits->insert(digits->begin(), '1');
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    decimals = std::clamp(decimals, 0, 15);

    // Shortest form "d.ddde±x": the digits and the power of ten of the first.
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
    const size_t e = sci.find('e');
    std::string mantissa;
    for (char c : sci.substr(0, e)) {
        if (c != '.') mantissa += c;
    }
    const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());

    // The value times 10^decimals, rounded: the first `keep` digits, plus one
    // when the first dropped digit is 5 or more.
    const long keep = static_cast<long>(exponent) + 1 + decimals;
    std::string scaled;
    if (keep >= static_cast<long>(mantissa.size())) {
        scaled = mantissa + std::string(static_cast<size_t>(keep) - mantissa.size(), '0');
    } else if (keep >= 0) {
        scaled = mantissa.substr(0, static_cast<size_t>(keep));
        if (mantissa[static_cast<size_t>(keep)] >= '5') Increment(&scaled);
    }
    scaled.erase(0, std::min(scaled.find_first_not_of('0'), scaled.size()));
    const bool zero = scaled.empty();
    if (scaled.size() < static_cast<size_t>(decimals) + 1) {
        scaled.insert(0, static_cast<size_t>(decimals) + 1 - scaled.size(), '0');
    }
    if (decimals > 0) scaled.insert(scaled.size() - static_cast<size_t>(decimals), 1, '.');
    return (value < 0 && !zero) ? "-" + scaled : scaled;
}

std::string PadLeft(std::string_view text, size_t width) {
    std::string out;
    if (text.size() < width) out.assign(width - text.size(), ' ');
    out += text;
    return out;
}

}  // namespace kolvio
