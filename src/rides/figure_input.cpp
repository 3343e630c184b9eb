#include "rides/figure_input.h"

#include <charconv>

namespace kolvio {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view s, size_t pos) {
    while (pos < s.size() && IsDigit(s[pos]))
        ++pos;
    return pos;
}

std::string_view SkipLeadingBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

std::string_view TrimBlanks(std::string_view s) {
    s = SkipLeadingBlanks(s);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// True when the whole of `s` matches the number grammar.
bool IsDecimalNumber(std::string_view s) {
    size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    const size_t intStart = pos;
    pos = SkipDigits(s, pos);
    size_t digits = pos - intStart;
    if (pos < s.size() && s[pos] == '.') {
        const size_t fracStart = ++pos;
        pos = SkipDigits(s, pos);
        digits += pos - fracStart;
    }
    if (digits == 0) return false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
        const size_t expStart = pos;
        pos = SkipDigits(s, pos);
        if (pos == expStart) return false;
    }
    return pos == s.size();
}

// One to `maxDigits` digits, at most `max`.
std::optional<int> TimePart(std::string_view s, size_t maxDigits, int max) {
    if (s.empty() || s.size() > maxDigits || SkipDigits(s, 0) != s.size()) return std::nullopt;
    int value = 0;
    for (const char c : s)
        value = value * 10 + (c - '0');
    if (value > max) return std::nullopt;
    return value;
}

constexpr std::string_view kDaysWord = "den";

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    text = SkipLeadingBlanks(text);
    if (!IsDecimalNumber(text)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int64_t> ParseWholeNumber(std::string_view text) {
    text = SkipLeadingBlanks(text);
    const size_t signLength = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (text.size() == signLength || SkipDigits(text, signLength) != text.size()) {
        return std::nullopt;
    }
    if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc()) return std::nullopt;
    return value;
}

std::optional<double> ParseDuration(std::string_view text) {
    text = TrimBlanks(text);
    int days = 0;
    const size_t word = text.find(kDaysWord);
    if (word != std::string_view::npos) {
        const auto d = TimePart(text.substr(0, word), 3, kMaxTypedHours / 24);
        const std::string_view rest = text.substr(word + kDaysWord.size());
        if (!d || rest.empty() || rest.front() != ' ') return std::nullopt;
        days = *d;
        text = SkipLeadingBlanks(rest);
    }
    const size_t first = text.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    const size_t second = text.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const bool withDays = word != std::string_view::npos;
    const auto h = TimePart(text.substr(0, first), withDays ? 2 : 4, withDays ? 23 : 9999);
    const auto m = TimePart(text.substr(first + 1, second - first - 1), 2, 59);
    const auto s = TimePart(text.substr(second + 1), 2, 59);
    if (!h || !m || !s) return std::nullopt;
    const int64_t hours = int64_t{days} * 24 + *h;
    if (hours >= kMaxTypedHours) return std::nullopt;
    // One division, so that equal times typed alike give equal hours.
    return static_cast<double>(hours * 3600 + *m * 60 + *s) / 3600.0;
}

bool CouldBeTimeText(std::string_view text) {
    if (text.size() > kTimeTextMaxLength) return false;
    size_t pos = text.size() - SkipLeadingBlanks(text).size();
    // The days: digits, then the word (or its beginning, while it is typed).
    const size_t digitsEnd = SkipDigits(text, pos);
    size_t letters = 0;
    while (digitsEnd + letters < text.size() && letters < kDaysWord.size() &&
           text[digitsEnd + letters] == kDaysWord[letters]) {
        ++letters;
    }
    if (letters > 0) {
        if (digitsEnd == pos) return false;
        pos = digitsEnd + letters;
        if (letters < kDaysWord.size()) return pos == text.size();
    }
    int colons = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == ':') {
            if (++colons > 2) return false;
        } else if (!IsDigit(c) && c != ' ') {
            return false;
        }
    }
    return true;
}

std::string InvalidTimeMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid time";
}

}  // namespace kolvio
