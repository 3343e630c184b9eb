#include "rides/ride_from_file.h"

#include <cmath>

#include "app/decimal_text.h"
#include "app/display_format.h"

namespace kolvio {

std::vector<BoxText> BoxTextsOf(const activity::RideFigures& figures) {
    std::vector<BoxText> out = {
        {RideBox::kETRP, FormatFixed(figures.distanceKm, 2)},
        {RideBox::kESTP, FormatDuration(figures.ridingHours)},
        {RideBox::kEMAX, FormatFixed(figures.maxSpeedKmh, 1)},
    };
    if (!figures.heartRateMeasured) return out;
    out.push_back({RideBox::kSrAvg, FormatFixed(figures.averageHeartRate, 0)});
    out.push_back({RideBox::kSrMax, FormatFixed(figures.maxHeartRate, 0)});
    if (figures.energyKcal) out.push_back({RideBox::kSrKcal, FormatFixed(*figures.energyKcal, 0)});
    // Rounded to the second like the riding time, so it never exceeds it.
    out.push_back({RideBox::kSrPlc, FormatDuration(figures.overLimitHours)});
    return out;
}

std::optional<Date> DateOf(const activity::RideFigures& figures) {
    return Date::FromYmd(figures.date.year, figures.date.month, figures.date.day);
}

RideKey KeyOf(const Date& day, double distanceKm, double ridingHours) {
    return {day.dayNumber(), std::llround(distanceKm * 100), std::llround(ridingHours * 3600)};
}

}  // namespace kolvio
