// Which parts of a recording are riding, as a cycle computer counts them.
//
// A cycle computer's clock runs only while the wheel turns. A recording is
// a series of samples; the time between two consecutive samples (an
// interval) counts as riding when all of these hold:
//
//  1. The device's timer runs: the rider did not stop it and auto-pause did
//     not (FIT timer events; before the first event the timer counts as
//     running). An interval during which the timer stops is left out whole.
//  2. The samples are at most kLongestSampleGap apart. A longer gap means
//     the device stopped recording (a pause, or a signal lost), so nothing
//     is known about that time.
//  3. The rider moved at least at kSlowestRidingSpeed over the interval.
//     Slower is standing at a crossing, pushing the bike, or the drift of a
//     GPS position that stands still.
//
// The speed of an interval comes from the best measure both its samples
// have: the device's distance (a wheel sensor or the device's own filtered
// GPS), else the distance between their positions, else the mean of the
// speeds the device recorded at them. An interval with none is not riding.
//
// Segment and lap boundaries of the file are not pauses by themselves: a
// new lap starts while riding; a real pause shows as one of the rules above.
#pragma once

#include <cstddef>
#include <vector>

#include "activity/activity.h"

namespace kolvio::activity {

inline constexpr double kLongestSampleGap = 10;     // seconds
inline constexpr double kSlowestRidingSpeed = 1.0;  // metres per second, 3.6 km/h

enum class Measure { kNone, kDeviceDistance, kPositions, kDeviceSpeed };

struct Interval {
    size_t from = 0;      // index of its first sample in RideTrack::samples()
    double seconds = 0;   // its length; 0 for two samples of one time
    double distance = 0;  // metres covered by the measure below
    double speed = 0;     // metres per second: distance / seconds
    Measure measure = Measure::kNone;
    bool riding = false;
};

class RideTrack {
public:
    // Takes the samples that have a time, in time order (a stable sort when
    // the file's order is not), and classifies each interval between them.
    explicit RideTrack(const Activity& activity);

    const std::vector<Sample>& samples() const { return samples_; }
    const std::vector<Interval>& intervals() const { return intervals_; }
    double ridingSeconds() const { return ridingSeconds_; }

private:
    std::vector<Sample> samples_;
    std::vector<Interval> intervals_;
    double ridingSeconds_ = 0;
};

}  // namespace kolvio::activity
