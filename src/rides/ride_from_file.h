// A ride read from a device's file (FIT, TCX, GPX) as the ride screens and
// kolvio-db take it: the texts its figures give the boxes of the new-ride
// screen, and the key by which a ride already in the diary is recognised.
//
// The figures go through the boxes exactly as typed figures do
// (NewRideFigures::leave): the same bounds, the same refusals, the same
// figures worked out from them. A box gets the text a rider would type from
// the device's display: the distance to 10 m, the times to the second, the
// maximum speed to 0.1 km/h, heart rates and energy as whole numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "activity/activity_figures.h"
#include "data/value.h"
#include "rides/ride_boxes.h"

namespace kolvio {

struct BoxText {
    RideBox box;
    std::string text;
};

// The boxes a file fills, in the order they are left: distance, riding
// time, maximum speed and, when the file has heart rate, the average and
// maximum heart rate, the energy (when the file has it) and the time above
// the set limit (the share follows from it). The age limit, the set limit
// and the number of riders stay the rider's.
std::vector<BoxText> BoxTextsOf(const activity::RideFigures& figures);

// The day of the ride as a date of the diary (none for an impossible date).
std::optional<Date> DateOf(const activity::RideFigures& figures);

// A ride of the diary as the duplicate check sees it: the day, the distance
// to 10 m and the riding time to the second, as the boxes show them, so a
// ride typed from the cycle computer and the same ride read from its file
// are one ride.
struct RideKey {
    int32_t day = 0;
    int64_t distanceDekametres = 0;
    int64_t seconds = 0;
    auto operator<=>(const RideKey&) const = default;
};

RideKey KeyOf(const Date& day, double distanceKm, double ridingHours);

}  // namespace kolvio
