#include "rides/ride_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/decimal_text.h"

namespace kolvio {

namespace {

// n / d (d > 0) rounded to the nearest integer, a half to the even neighbour.
int64_t DivideHalfEven(int64_t n, int64_t d) {
    int64_t q = n / d;
    int64_t r = n % d;
    if (r < 0) {  // floor division
        q -= 1;
        r += d;
    }
    if (2 * r > d || (2 * r == d && q % 2 != 0)) q += 1;
    return q;
}

int ClampRate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, kMinHeartRate, kMaxHeartRate));
}

double Percent(double part, double whole) {
    return whole == 0 ? 0 : part / whole * 100;
}

}  // namespace

std::optional<double> AverageSpeed(double distance, double hours) {
    if (!(hours > 0)) return std::nullopt;
    return distance / hours;
}

bool RidingTimeChanged(double typedHours, double storedHours) {
    return std::fabs(typedHours - storedHours) > kRidingTimeTolerance;
}

double OverLimitTime(double ridingHours, double percent) {
    return percent == 0 ? 0 : ridingHours * percent / 100;
}

double OverLimitPercent(double overLimitHours, double ridingHours) {
    return Percent(overLimitHours, ridingHours);
}

std::string OverLimitShareText(double overLimitHours, double ridingHours) {
    if (ridingHours == 0) return PadLeft("0", 4);
    return PadLeft(FormatFixed(OverLimitPercent(overLimitHours, ridingHours), 1), 4);
}

std::string AverageSpeedText(double speed) {
    return PadLeft(FormatFixed(speed, 2), 5);
}

HeartRatePercents HeartRatePercentages(double average, double maximum, double ageLimit,
                                       double setLimit) {
    return {Percent(average, ageLimit), Percent(average, setLimit), Percent(maximum, ageLimit),
            Percent(maximum, setLimit)};
}

int RoundHalfEven(double value, int lo, int hi) {
    if (std::isnan(value)) return lo;
    // nearbyint rounds a half to the even neighbour in the default mode.
    return static_cast<int>(std::clamp(std::nearbyint(value), double(lo), double(hi)));
}

int AgeLimit(int age, Sex sex) {
    // In tenths, so that 184.5 is exactly a half and not a binary neighbour.
    const int64_t tenths = sex == Sex::kWoman ? 2090 - 7 * int64_t{age} : 2140 - 8 * int64_t{age};
    return ClampRate(DivideHalfEven(tenths, 10));
}

std::array<int, 6> TrainingZones(int maxRate, int restingRate) {
    const int64_t reserve = int64_t{maxRate} - restingRate;
    std::array<int, 6> bounds{};
    for (size_t i = 0; i < kZoneShares.size(); ++i) {
        // In hundredths: reserve × share + rest × 100.
        const int64_t hundredths = reserve * kZoneShares[i] + int64_t{restingRate} * 100;
        bounds[i] = static_cast<int>(DivideHalfEven(hundredths, 100));
    }
    return bounds;
}

std::array<ZoneBounds, 5> ZoneGroupBounds(int maxRate, int restingRate) {
    const std::array<int, 6> b = TrainingZones(maxRate, restingRate);  // 50 60 70 80 85 90
    return {{{b[0], b[1]}, {b[1], b[2]}, {b[2], b[3]}, {b[3], b[5]}, {b[4], b[5]}}};
}

}  // namespace kolvio
