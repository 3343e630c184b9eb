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

// A time typed as "h:mm:ss" (a time of day: hours 0..23, minutes and seconds
// 0..59, one or two digits each; blanks around it are ignored) in decimal
// hours, h + m/60 + s/3600, unrounded. Blanks inside, a missing part or a
// part out of range make the text invalid.
std::optional<double> ParseDuration(std::string_view text);

// The refusal of a text that is not a valid time: "'<text>' is not a valid time".
std::string InvalidTimeMessage(std::string_view text);

}  // namespace kolvio
