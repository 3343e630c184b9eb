// Reading the texts typed into the figure boxes of the ride screens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvio {

// One complete decimal number: optional leading blanks, an optional sign,
// digits with an optional point and fraction (".5" and "5." included), an
// optional exponent (e or E, optional sign, digits). A point is the only
// separator. Anything else, an empty text, or a number beyond the range of a
// double is not a number.
std::optional<double> ParseDecimal(std::string_view text);

// Optional leading blanks, an optional sign and digits, within int64.
std::optional<int64_t> ParseWholeNumber(std::string_view text);

// A riding or over-limit time typed as "h:mm:ss" or shown with whole days
// first as "<days>den h:mm:ss" (the text FormatDuration gives from 24 hours
// on), in decimal hours, days × 24 + h + m/60 + s/3600, unrounded. Hours
// take one to four digits (long brevets last 10 to 90 hours), 0..23 after a
// days part; minutes and seconds one or two digits, 0..59. Blanks around the
// text and between "den" and the hours are ignored. Blanks elsewhere, a
// missing part, a part out of range or a total of kMaxTypedHours or more
// make the text invalid.
inline constexpr int kMaxTypedHours = 10000;
std::optional<double> ParseDuration(std::string_view text);

// Whether `text` can still become a time by typing more: only digits, ":",
// blanks and the letters of "den" right after the days, at most two colons,
// at most kTimeTextMaxLength characters. The time boxes refuse keys that
// would make the text fail this test (as a mask refuses them).
inline constexpr size_t kTimeTextMaxLength = 16;
bool CouldBeTimeText(std::string_view text);

// The refusal of a text that is not a valid time: "'<text>' is not a valid time".
std::string InvalidTimeMessage(std::string_view text);

}  // namespace kolvio
