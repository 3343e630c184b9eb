// One recorded activity, whatever file it came from (FIT, TCX or GPX).
//
// The readers fill an Activity with what the file says and nothing more:
// a value the file does not have stays kAbsent (NaN). Deciding which
// samples make the ride's figures is activity_figures.h's work.
#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kolvio::activity {

inline constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();
inline bool Has(double value) {
    return !std::isnan(value);
}

// One point of the recording. Times are seconds since 1970-01-01 UTC and may
// carry fractions (TCX and GPX allow them).
struct Sample {
    double time = kAbsent;
    double latitude = kAbsent;   // degrees, WGS 84
    double longitude = kAbsent;  // degrees, WGS 84
    double altitude = kAbsent;   // metres
    double distance = kAbsent;   // metres from the start, as the device counted them
    double speed = kAbsent;      // metres per second, as the device measured it
    double heartRate = kAbsent;  // beats per minute
    double cadence = kAbsent;    // revolutions per minute
    double power = kAbsent;      // watts

    bool hasPosition() const { return Has(latitude) && Has(longitude); }
};

// The rider started or stopped the device's timer (a FIT event message;
// auto-pause writes the same events).
struct TimerEvent {
    double time = 0;
    bool running = false;  // true: the timer started; false: it stopped
};

// What the device itself worked out for the whole activity (FIT sessions,
// or its laps when the file has no session; TCX laps), summed over them.
struct DeviceTotals {
    double distance = kAbsent;     // metres
    double timerTime = kAbsent;    // seconds the timer ran
    double elapsedTime = kAbsent;  // seconds from start to end
    double energy = kAbsent;       // kcal
    double maxSpeed = kAbsent;     // metres per second
    double averageHeartRate = kAbsent;
    double maxHeartRate = kAbsent;
};

enum class ActivityFormat { kFit, kTcx, kGpx };

struct Activity {
    ActivityFormat format = ActivityFormat::kFit;
    double startTime = kAbsent;           // as the file declares it, else the first timed sample
    std::vector<Sample> samples;          // in file order
    std::vector<TimerEvent> timerEvents;  // in file order
    DeviceTotals totals;
};

// The earliest time of the samples; kAbsent when none has a time.
inline double EarliestSampleTime(const std::vector<Sample>& samples) {
    double earliest = kAbsent;
    for (const Sample& s : samples) {
        if (Has(s.time) && !(s.time >= earliest)) earliest = s.time;
    }
    return earliest;
}

// A reader's answer. On success `error` is empty; `warnings` then say what
// the rider should know (a damaged file whose readable part was kept), and
// `damaged` is set when part of the file could not be read, so that callers
// that must never store a half-read file (a batch import) can refuse it.
struct ActivityResult {
    Activity activity;
    std::string error;  // Czech, names the file
    std::vector<std::string> warnings;
    bool damaged = false;

    bool ok() const { return error.empty(); }
};

// A file is never read past this size, and an activity never holds more
// samples: eleven days at one sample per second fit, so anything larger is
// not a ride, and memory stays bounded (about 70 MB) on hostile input.
inline constexpr size_t kMaxFileBytes = size_t{64} << 20;
inline constexpr size_t kMaxSamples = 1'000'000;

}  // namespace kolvio::activity
