// The figures of a ride worked out from a recording, in the units the
// diary stores. Each rule is stated beside its function; riding_track.h
// states which time counts as riding.
#pragma once

#include <optional>
#include <string>

#include "activity/activity.h"
#include "activity/riding_track.h"
#include "activity/time_text.h"

namespace kolvio::activity {

enum class DistanceSource { kDeviceTotal, kDeviceDistance, kPositions, kDeviceSpeed };

// Distance in metres. The device's own figure when the file has one: the
// total of its sessions (FIT) or laps (TCX), else the distance it counted
// sample by sample (the sum of the rises of its distance field, so that a
// counter that starts again from zero takes nothing away). Otherwise the geodesic sum of the
// positions over the riding intervals, which leaves out the drift of a standing GPS and whatever
// moved while the timer was stopped; otherwise the device's speed integrated over the riding
// intervals. 0 when nothing measures it.
double RideDistance(const Activity& activity, const RideTrack& track,
                    DistanceSource* source = nullptr);

// The maximum speed in metres per second, robust to a single GPS spike:
// the speed of each riding interval (the device's speed at its end when
// recorded, else the interval's own speed), and of each five consecutive
// ones the third highest; the highest of those. A spike of one or two
// samples is ignored; a speed held for three samples in five counts. With
// fewer than five riding intervals, their middle speed (the lower of the
// two middle ones of an even count).
double RobustMaxSpeed(const RideTrack& track);

// Heart rate over the riding intervals. Within an interval the rate runs
// in a straight line between its two samples (held level when only one of
// them has a rate; an interval with none has no heart rate), so the
// average is the time-weighted mean over the riding time that has a rate,
// the maximum the highest rate at the end of a riding interval, and the
// time above the limit is exact: the part of each interval where the line
// lies above the limit (none when the limit is 0, not set). A rate of 0
// means no contact and counts as none.
struct HeartRateFigures {
    bool measured = false;    // some riding time has a heart rate
    double average = 0;       // beats per minute
    double maximum = 0;       // beats per minute
    double secondsAbove = 0;  // strictly above the limit
};
HeartRateFigures HeartRateOverRidingTime(const RideTrack& track, double limit);

// The energy in kcal as the device worked it out (FIT sessions or laps, TCX
// laps); none when the file has none or gives 0. It is not estimated.
std::optional<double> Energy(const Activity& activity);

// The figures in the diary's units: DATUM, DELKA (km), CAS (hours),
// RYCHL_MAX and PRUMER (km/h), SR_AVG and SR_MAX (beats per minute),
// SR_KCAL (kcal), and SR_PLC (hours) and SR_PLP (percent) above the set
// limit SR_LIM. Full precision; the screens round for display.
struct RideFigures {
    CivilDate date;  // the start time's day in the rider's time zone
    double distanceKm = 0;
    double ridingHours = 0;
    double maxSpeedKmh = 0;
    double averageSpeedKmh = 0;  // distance / riding time
    bool heartRateMeasured = false;
    double averageHeartRate = 0;
    double maxHeartRate = 0;
    std::optional<double> energyKcal;
    double overLimitHours = 0;
    double overLimitPercent = 0;  // of the riding time
    DistanceSource distanceSource = DistanceSource::kPositions;
};

struct FiguresResult {
    RideFigures figures;
    std::string error;  // Czech, names the file; empty when worked out

    bool ok() const { return error.empty(); }
};

// The figures of the activity, with the heart-rate limit SR_LIM of the ride
// (0: none set, so nothing is above it). Refuses an activity without
// samples, without times, or without any riding interval or distance.
// `file` names the file in the messages.
FiguresResult WorkOutRideFigures(const Activity& activity, double heartRateLimit,
                                 const std::string& file);

}  // namespace kolvio::activity
