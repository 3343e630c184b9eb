#include "activity/riding_track.h"

#include <algorithm>

#include "activity/geodesy.h"

namespace kolvio::activity {

namespace {

// The timer's state over time, from the events in time order.
class TimerState {
public:
    explicit TimerState(std::vector<TimerEvent> events) : events_(std::move(events)) {
        std::stable_sort(events_.begin(), events_.end(),
                         [](const TimerEvent& a, const TimerEvent& b) { return a.time < b.time; });
    }

    // True when the timer runs from `from` to `to` without stopping. Calls
    // must come in time order.
    bool runsThrough(double from, double to) {
        while (next_ < events_.size() && events_[next_].time <= from) {
            running_ = events_[next_++].running;
        }
        if (!running_) return false;
        for (size_t i = next_; i < events_.size() && events_[i].time < to; ++i) {
            if (!events_[i].running) return false;
        }
        return true;
    }

private:
    std::vector<TimerEvent> events_;
    size_t next_ = 0;
    bool running_ = true;
};

void MeasureInterval(const Sample& a, const Sample& b, Interval& interval) {
    if (Has(a.distance) && Has(b.distance) && b.distance >= a.distance) {
        interval.distance = b.distance - a.distance;
        interval.measure = Measure::kDeviceDistance;
    } else if (a.hasPosition() && b.hasPosition()) {
        interval.distance = GeodesicDistance(a.latitude, a.longitude, b.latitude, b.longitude);
        interval.measure = Measure::kPositions;
    } else if (Has(a.speed) || Has(b.speed)) {
        const double speed = Has(a.speed) && Has(b.speed) ? (a.speed + b.speed) / 2
                             : Has(a.speed)               ? a.speed
                                                          : b.speed;
        interval.distance = speed * interval.seconds;
        interval.measure = Measure::kDeviceSpeed;
    }
    if (interval.seconds > 0) interval.speed = interval.distance / interval.seconds;
}

}  // namespace

RideTrack::RideTrack(const Activity& activity) {
    samples_.reserve(activity.samples.size());
    for (const Sample& s : activity.samples) {
        if (Has(s.time)) samples_.push_back(s);
    }
    const auto earlier = [](const Sample& a, const Sample& b) { return a.time < b.time; };
    if (!std::is_sorted(samples_.begin(), samples_.end(), earlier)) {
        std::stable_sort(samples_.begin(), samples_.end(), earlier);
    }

    TimerState timer(activity.timerEvents);
    if (samples_.size() > 1) intervals_.reserve(samples_.size() - 1);
    for (size_t i = 0; i + 1 < samples_.size(); ++i) {
        const Sample& a = samples_[i];
        const Sample& b = samples_[i + 1];
        Interval interval;
        interval.from = i;
        interval.seconds = b.time - a.time;
        MeasureInterval(a, b, interval);
        const bool timerRuns = timer.runsThrough(a.time, b.time);
        interval.riding =
            timerRuns && interval.seconds > 0 && interval.seconds <= kLongestSampleGap &&
            interval.measure != Measure::kNone && interval.speed >= kSlowestRidingSpeed;
        if (interval.riding) ridingSeconds_ += interval.seconds;
        intervals_.push_back(interval);
    }
}

}  // namespace kolvio::activity
