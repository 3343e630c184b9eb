#include "activity/xml/xml_support.h"

#include <charconv>
#include <cmath>
#include <string>

#include "activity/time_text.h"

namespace kolvio::activity::xml {

namespace {

// The Unicode spaces in UTF-8: what a number may be surrounded by.
constexpr std::string_view kSpaces[] = {
    "\t",     "\n",     "\v",     "\f",     "\r",     " ",      "\u0085", "\u00A0", "\u1680",
    "\u2000", "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006", "\u2007", "\u2008",
    "\u2009", "\u200A", "\u2028", "\u2029", "\u202F", "\u205F", "\u3000"};

std::string_view TrimSpaces(std::string_view text) {
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view space : kSpaces) {
            if (text.starts_with(space)) {
                text.remove_prefix(space.size());
                trimmed = true;
            }
            if (text.ends_with(space)) {
                text.remove_suffix(space.size());
                trimmed = true;
            }
        }
    }
    return text;
}

// [sign] (digits [. [digits]] | . digits) [(e|E) [sign] digits], with a
// typographic minus (U+2212) taken as a sign; the sign of the number is
// left out of `plain` (std::from_chars takes no plus).
bool PlainNumber(std::string_view text, std::string& plain, bool& negative) {
    plain.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with("\u2212")) {
            plain += '-';
            i += 2;
        } else {
            plain += text[i];
        }
    }
    size_t i = 0;
    const auto sign = [&] {
        if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) ++i;
    };
    const auto digits = [&] {
        const size_t from = i;
        while (i < plain.size() && plain[i] >= '0' && plain[i] <= '9')
            ++i;
        return i - from;
    };
    sign();
    negative = i == 1 && plain[0] == '-';
    plain.erase(0, i);
    i = 0;
    size_t mantissa = digits();
    if (i < plain.size() && plain[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < plain.size() && (plain[i] == 'e' || plain[i] == 'E')) {
        ++i;
        sign();
        if (digits() == 0) return false;
    }
    return i == plain.size();
}

}  // namespace

double NumberOf(std::string_view text) {
    std::string plain;
    bool negative = false;
    if (!PlainNumber(TrimSpaces(text), plain, negative)) return kAbsent;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    // Too large or too small to hold is no number either.
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return kAbsent;
    }
    const size_t exponent = plain.find_first_of("eE");
    if (value == 0 && plain.substr(0, exponent).find_first_of("123456789") != plain.npos) {
        return kAbsent;
    }
    return negative ? -value : value;
}

double TimeOf(std::string_view text) {
    return ParseXmlTime(text).value_or(kAbsent);
}

double NumberAttribute(const Element& element, std::string_view name) {
    const auto value = element.attribute(name);
    return value ? NumberOf(*value) : kAbsent;
}

}  // namespace kolvio::activity::xml
