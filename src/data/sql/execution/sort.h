// Ordering of collected rows by ORDER BY keys.
//
// Nulls come first in ascending order and last in descending order. Text
// compares by Unicode code point (byte order of UTF-8), numbers and dates by
// value. Rows with equal keys keep the order in which they arrived.
#pragma once

#include <cstdint>
#include <vector>

#include "data/sql/binder/bound_query.h"
#include "data/sql/execution/row_collection.h"

namespace kolvio::sql {

std::vector<uint32_t> SortPermutation(const RowCollection& rows, const std::vector<OrderKey>& keys);

}  // namespace kolvio::sql
