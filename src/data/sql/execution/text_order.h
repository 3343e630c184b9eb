// The order of text values: Czech alphabetical order, the same as the
// store's text indexes (index/collation.h), so a sorted query result and a
// grid sorted by its column agree. Texts that the Czech order ranks equal
// but that differ in their bytes (e.g. "CH" and "Ch") are ordered by their
// bytes, so that only identical texts compare equal, as '=' requires.
#pragma once

#include <string>
#include <string_view>

#include "data/index/collation.h"

namespace kolvio::sql {

inline int CompareText(std::string_view a, std::string_view b) {
    if (a == b) return 0;
    const int c = CompareCzech(a, b);
    if (c != 0) return c < 0 ? -1 : 1;
    return a < b ? -1 : 1;
}

}  // namespace kolvio::sql
