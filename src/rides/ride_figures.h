// The worked-out figures of a ride and the heart-rate profile.
//
// Worked-out figures are computed at full precision; only the functions that
// say so round. Rounding for display belongs to app/display_format.h.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kolvio {

// Settings of the rider's heart rate: the age limit (maximum heart rate)
// that new rides are preset with, and the resting heart rate of the profile.
inline constexpr char kAgeLimitSection[] = "Srdce";
inline constexpr char kAgeLimitKey[] = "hsr_x";
inline constexpr int kDefaultAgeLimit = 190;
inline constexpr char kRestingRateSection[] = "FSrdce";
inline constexpr char kRestingRateKey[] = "klidtep";
inline constexpr int kDefaultRestingRate = 60;

// Distance / hours; none when the riding time is not above 0.
std::optional<double> AverageSpeed(double distance, double hours);

// The editor keeps a typed riding time that lies within this many hours
// (about a third of a second) of the stored one as unchanged.
inline constexpr double kRidingTimeTolerance = 0.0001;
bool RidingTimeChanged(double typedHours, double storedHours);

// Time above the set limit from its share of the riding time in percent
// (0 for a share of 0), and the share from the time (0 when the riding
// time is 0).
double OverLimitTime(double ridingHours, double percent);
double OverLimitPercent(double overLimitHours, double ridingHours);

// The share as the new-ride screen shows it: one decimal, at least four
// characters wide; a lone "0" when the riding time is 0.
std::string OverLimitShareText(double overLimitHours, double ridingHours);
// The average speed as the new-ride screen shows it: two decimals, at least
// five characters wide.
std::string AverageSpeedText(double speed);

// Average and maximum heart rate as percentages of the age limit (x) and of
// the set limit (lim); a percentage whose divisor is 0 is 0.
struct HeartRatePercents {
    double axp = 0;  // SR_AVG / SR_X
    double alp = 0;  // SR_AVG / SR_LIM
    double mxp = 0;  // SR_MAX / SR_X
    double mlp = 0;  // SR_MAX / SR_LIM
};
HeartRatePercents HeartRatePercentages(double average, double maximum, double ageLimit,
                                       double setLimit);

// `value` rounded to a whole number with a half to the even neighbour, then
// brought within lo..hi (how spin boxes and "hsr_x" hold heart rates).
int RoundHalfEven(double value, int lo, int hi);

enum class Sex { kMan, kWoman };
inline constexpr int kMinHeartRate = 20;
inline constexpr int kMaxHeartRate = 250;

// 214 - 0.8 × age for a man, 209 - 0.7 × age for a woman, rounded with a
// half to the even neighbour and kept within 20..250. Exact: a woman of 35
// gets 184.5, held as 184.
int AgeLimit(int age, Sex sex);

// The shares of the heart-rate reserve that bound the training zones:
// 50-60, 60-70, 70-80 and 80-90 percent, and 85-90 for the anaerobic threshold.
inline constexpr std::array<int, 6> kZoneShares = {50, 60, 70, 80, 85, 90};

// Rest + (max - rest) × share / 100 for each of kZoneShares, rounded with a
// half to the even neighbour. 190 and 60 give 125, 138, 151, 164, 170, 177.
std::array<int, 6> TrainingZones(int maxRate, int restingRate);

// The lower and upper bounds of the five zone groups of the heart-rate
// profile: 50-60, 60-70, 70-80, 80-90 percent and 85-90 percent (the
// anaerobic threshold).
struct ZoneBounds {
    int lower = 0;
    int upper = 0;
    bool operator==(const ZoneBounds&) const = default;
};
std::array<ZoneBounds, 5> ZoneGroupBounds(int maxRate, int restingRate);

}  // namespace kolvio
