// The figure boxes of the two ride screens, the check each one applies and
// the field of the ride it stands for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/value.h"
#include "rides/figure_checks.h"

namespace kolvio {

enum class RideBox {
    kETRP,    // distance, DELKA
    kESTP,    // riding time, CAS
    kEMAX,    // maximum speed, RYCHL_MAX
    kSrAvg,   // average heart rate, SR_AVG (tag 1)
    kSrMax,   // maximum heart rate, SR_MAX (tag 2)
    kSrKcal,  // energy, SR_KCAL (tag 3)
    kSrX,     // age limit, SR_X (tag 4)
    kSrLim,   // set limit, SR_LIM (tag 5)
    kSrPlp,   // share of the time above the set limit, SR_PLP
    kSrPlc,   // time above the set limit, SR_PLC
    kRiders,  // number of riders, OSOB
};

FigureBox CheckOf(RideBox box);
// The upper-case field name of the ride table.
const char* FieldOf(RideBox box);
// The five heart-rate boxes share one exit handler and tell themselves apart
// by a tag, 1 to 5 in the order above.
std::optional<RideBox> HeartBoxOfTag(int tag);
// Whether the four heart-rate percentages depend on the box's figure.
bool FeedsPercentages(RideBox box);

// A value the screen writes into a field of the ride.
struct FieldChange {
    std::string field;
    Value value;
    bool operator==(const FieldChange&) const = default;
};
using FieldChanges = std::vector<FieldChange>;

// An unmeasured ride: watch type 0 and the eleven heart-rate figures empty.
FieldChanges HeartRateCleared();

}  // namespace kolvio
