// Sort keys for text in Czech alphabetical order.
//
// Letters compare by their base letter first (A = Á, E = É = Ě, ...), with
// Č, Ř, Š, Ž and the digraph CH as letters of their own (C < Č < D,
// H < CH < I); accents break ties next and letter case last, lower case
// first. The key compares correctly with plain byte comparison, and contains
// no byte below 0x02, so keys of several fields can be joined with 0x01.
#pragma once

#include <string>
#include <string_view>

namespace kolvio {

std::string CollationKey(std::string_view utf8);

// Compares two texts in Czech order (negative, zero, positive).
int CompareCzech(std::string_view a, std::string_view b);

}  // namespace kolvio
