#include "activity/activity_figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "activity/activity_messages.h"
#include "activity/geodesy.h"
#include "rides/ride_figures.h"

namespace kolvio::activity {

namespace {

constexpr double kKmhPerMs = 3.6;

// The seconds of a straight line from h0 to h1 over `seconds` that lie
// strictly above `limit`.
double SecondsAbove(double h0, double h1, double seconds, double limit) {
    if (h0 > limit && h1 > limit) return seconds;
    if (h0 <= limit && h1 <= limit) return 0;
    const double high = std::max(h0, h1);
    return seconds * (high - limit) / std::fabs(h1 - h0);
}

double HeartRateOf(const Sample& s) {
    return Has(s.heartRate) && s.heartRate > 0 ? s.heartRate : kAbsent;
}

// The third highest of five speeds.
double ThirdHighest(std::array<double, 5> v) {
    std::nth_element(v.begin(), v.begin() + 2, v.end(), std::greater<>());
    return v[2];
}

}  // namespace

double RideDistance(const Activity& activity, const RideTrack& track, DistanceSource* source) {
    DistanceSource unused;
    DistanceSource& from = source ? *source : unused;
    if (Has(activity.totals.distance) && activity.totals.distance > 0) {
        from = DistanceSource::kDeviceTotal;
        return activity.totals.distance;
    }
    const std::vector<Sample>& samples = track.samples();
    double counted = 0;
    bool deviceCounted = false;
    double last = kAbsent;
    for (const Sample& s : samples) {
        if (!Has(s.distance)) continue;
        if (Has(last) && s.distance > last) counted += s.distance - last;
        if (Has(last)) deviceCounted = true;
        last = s.distance;
    }
    if (deviceCounted && counted > 0) {
        from = DistanceSource::kDeviceDistance;
        return counted;
    }
    double positions = 0, bySpeed = 0;
    for (const Interval& interval : track.intervals()) {
        if (!interval.riding) continue;
        const Sample& a = samples[interval.from];
        const Sample& b = samples[interval.from + 1];
        if (a.hasPosition() && b.hasPosition()) {
            positions += interval.measure == Measure::kPositions
                             ? interval.distance
                             : GeodesicDistance(a.latitude, a.longitude, b.latitude, b.longitude);
        }
        if (interval.measure == Measure::kDeviceSpeed) bySpeed += interval.distance;
    }
    from = positions > 0 ? DistanceSource::kPositions : DistanceSource::kDeviceSpeed;
    return positions > 0 ? positions : bySpeed;
}

double RobustMaxSpeed(const RideTrack& track) {
    std::vector<double> speeds;
    const std::vector<Sample>& samples = track.samples();
    for (const Interval& interval : track.intervals()) {
        if (!interval.riding) continue;
        const Sample& end = samples[interval.from + 1];
        speeds.push_back(Has(end.speed) ? end.speed : interval.speed);
    }
    if (speeds.empty()) return 0;
    if (speeds.size() < 5) {
        std::sort(speeds.begin(), speeds.end());
        return speeds[(speeds.size() - 1) / 2];
    }
    double best = 0;
    for (size_t i = 0; i + 5 <= speeds.size(); ++i) {
        best = std::max(best, ThirdHighest({speeds[i], speeds[i + 1], speeds[i + 2], speeds[i + 3],
                                            speeds[i + 4]}));
    }
    return best;
}

HeartRateFigures HeartRateOverRidingTime(const RideTrack& track, double limit) {
    HeartRateFigures figures;
    double weighted = 0, seconds = 0;
    const std::vector<Sample>& samples = track.samples();
    for (const Interval& interval : track.intervals()) {
        if (!interval.riding) continue;
        double h0 = HeartRateOf(samples[interval.from]);
        double h1 = HeartRateOf(samples[interval.from + 1]);
        if (!Has(h0) && !Has(h1)) continue;
        if (!Has(h0)) h0 = h1;
        if (!Has(h1)) h1 = h0;
        weighted += (h0 + h1) / 2 * interval.seconds;
        seconds += interval.seconds;
        figures.maximum = std::max({figures.maximum, h0, h1});
        if (limit > 0) figures.secondsAbove += SecondsAbove(h0, h1, interval.seconds, limit);
    }
    figures.measured = seconds > 0;
    if (figures.measured) figures.average = weighted / seconds;
    return figures;
}

std::optional<double> Energy(const Activity& activity) {
    const double energy = activity.totals.energy;
    if (!Has(energy) || energy <= 0) return std::nullopt;
    return energy;
}

FiguresResult WorkOutRideFigures(const Activity& activity, double heartRateLimit,
                                 const std::string& file) {
    FiguresResult result;
    if (activity.samples.empty()) {
        result.error = msg::NoSamples(file);
        return result;
    }
    const RideTrack track(activity);
    if (track.samples().empty()) {
        result.error = msg::NoTimes(file);
        return result;
    }
    RideFigures& f = result.figures;
    const double meters = RideDistance(activity, track, &f.distanceSource);
    if (track.ridingSeconds() <= 0 || meters <= 0) {
        result.error = msg::NoMovement(file);
        return result;
    }
    const double start = Has(activity.startTime) ? activity.startTime : track.samples()[0].time;
    f.date = DateInLocalZone(start);
    f.distanceKm = meters / 1000;
    f.ridingHours = track.ridingSeconds() / 3600;
    f.maxSpeedKmh = RobustMaxSpeed(track) * kKmhPerMs;
    f.averageSpeedKmh = AverageSpeed(f.distanceKm, f.ridingHours).value_or(0);
    const HeartRateFigures heart = HeartRateOverRidingTime(track, heartRateLimit);
    f.heartRateMeasured = heart.measured;
    f.averageHeartRate = heart.average;
    f.maxHeartRate = heart.maximum;
    f.energyKcal = Energy(activity);
    f.overLimitHours = heart.secondsAbove / 3600;
    f.overLimitPercent = OverLimitPercent(f.overLimitHours, f.ridingHours);
    return result;
}

}  // namespace kolvio::activity
