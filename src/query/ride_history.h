// What the query builder reads from the rides themselves: the years that
// have rides, and the latest rides in date order.
//
// Everything is read through handles of its own, so the shared rides
// dataset keeps its ordering, current row and observers untouched.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/status.h"
#include "data/table.h"

namespace kolvio {

// The years in which at least one ride is dated, ascending. Rides without a
// date count for no year; a diary without dated rides gives no year.
Status UsedYears(const std::string& dataDir, std::vector<int>* years);

// The values of `fields` in the latest ride: the last row of `rides` in
// DATUM order. A field the table lacks reads as 1 (the code of a reference
// row every database has). nullopt when there is no ride.
Status LatestRideValues(const Table& rides, const std::vector<std::string_view>& fields,
                        std::optional<std::vector<Value>>* values);

// The dates of the latest ride and of the count-th latest one (the first
// ride's when there are fewer rides); nullopt when there is no ride. A ride
// without a date reads as an empty value, which the caller skips.
struct RideDates {
    std::optional<Date> from;  // the count-th latest
    std::optional<Date> to;    // the latest
};
Status LatestRideDates(const Table& rides, int64_t count, std::optional<RideDates>* dates);

}  // namespace kolvio
