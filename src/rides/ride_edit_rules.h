// The ride editor's rules: what leaving a box changes in the current ride,
// the texts its boxes show, and the checks before a changed ride is stored.
//
// The editor holds no figures of its own: each box shows a field of the
// current ride and an accepted entry is written into the ride at once, with
// every figure worked out from it. The rules return the fields to write; the
// screen puts the ride into edit and writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/display_format.h"
#include "data/dataset.h"
#include "rides/ride_boxes.h"

namespace kolvio {

inline constexpr char kConfirmStoreText[] = "Zapsat provedené změny?";
inline constexpr char kWatchTypeRefusalText[] =
    "Nelze zapsat aktuální typ hlídání překročení limitu\nvyber jiný typ";
inline constexpr char kConfirmDeleteText[] = "Opravdu jízdu vymazat?";

// The figures of a ride; an empty field counts as 0.
struct RideFigures {
    double delka = 0, cas = 0, rychlMax = 0, prumer = 0, osob = 0;
    double srAvg = 0, srMax = 0, srKcal = 0, srX = 0, srLim = 0, srPlp = 0, srPlc = 0;

    double& of(RideBox box);
};
RideFigures ReadRideFigures(const Dataset& ride);

// The text a box of the editor shows for `value`, the field of the box: the
// display text with its leading blanks (and the share's "%") removed; an
// empty field shows an empty box.
std::string EditorBoxText(RideBox box, const Value& value, const DisplaySettings& settings);

struct EditorLeave {
    std::optional<Refusal> refusal;
    FieldChanges changes;  // in the order to write them
};

// Leaving `box` with `text`, where `shown` is what the editor put into it
// when it was filled. The shown text stands for the stored figure, which it
// may only round, so a box left unchanged changes and asks nothing. A typed
// riding time within kRidingTimeTolerance of the stored one is unchanged too.
// Otherwise a changed figure is written with what is worked out from it: the
// average from the distance or time, the four percentages from the heart
// rates and limits (not from the energy), the over-limit time from its
// share and the share from the time.
EditorLeave LeaveEditorBox(RideBox box, std::string_view text, std::string_view shown,
                           const RideFigures& ride);

// The four heart-rate percentages of `ride`.
FieldChanges PercentageChanges(const RideFigures& ride);

// The route and direction a ride gets when its primary type is chosen.
// A type without routes: route 0, direction 0. A type with routes: a ride
// without a route gets route 1; the new-ride screen takes the direction from
// its arrow, the editor keeps it, or starts from start to finish when the
// ride had no route.
struct RouteFields {
    int64_t route = 0;
    int64_t direction = 0;
    bool operator==(const RouteFields&) const = default;
};
RouteFields RouteForPrimaryType(RideScreen screen, bool noRoutes, RouteFields ride,
                                bool arrowRight);

// The month code and year that go with a ride's date (empty for no date).
FieldChanges DateDerivedChanges(const Value& date);

enum class StoreCheck {
    kStore,
    kStoreUnmeasured,  // store with watch type 0 and no heart-rate figures
    kRefuseWatchType,  // measured with watch type 0: kWatchTypeRefusalText
};
StoreCheck CheckBeforeStoring(bool measured, int64_t watchType);

}  // namespace kolvio
