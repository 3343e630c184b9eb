// Fixed-point text of numbers, independent of the system's locale.
#pragma once

#include <string>
#include <string_view>

namespace kolvio {

// `value` with exactly `decimals` decimals (none and no point for 0) and a
// point as the separator. The value is rounded as the decimal number it
// stands for (its shortest round-trip form, which is what was typed or read
// from a table), a half away from zero: 2.675 gives 2.68 and 0.125 gives
// 0.13 with 2 decimals, although the nearest doubles lie just below. A
// result that rounds to zero has no minus sign. Infinities and NaN give the
// empty text. Decimals are taken within 0..15.
std::string FormatFixed(double value, int decimals);

// `text` with leading blanks up to `width` characters; never cut.
std::string PadLeft(std::string_view text, size_t width);

}  // namespace kolvio
