#include "rides/new_ride_figures.h"

#include "app/decimal_text.h"
#include "app/display_format.h"
#include "rides/ride_figures.h"

namespace kolvio {

namespace {

constexpr char kZeroTime[] = "0:00:00";

}  // namespace

NewRideFigures::NewRideFigures() {
    for (const RideBox box :
         {RideBox::kETRP, RideBox::kESTP, RideBox::kEMAX, RideBox::kSrAvg, RideBox::kSrMax,
          RideBox::kSrKcal, RideBox::kSrLim, RideBox::kSrPlp, RideBox::kSrPlc}) {
        written_[box] = ZeroText(box);
    }
}

double* NewRideFigures::figureOf(RideBox box) {
    switch (box) {
        case RideBox::kETRP:
            return &distance;
        case RideBox::kESTP:
            return &hours;
        case RideBox::kEMAX:
            return &maxSpeed;
        case RideBox::kSrAvg:
            return &avgRate;
        case RideBox::kSrMax:
            return &maxRate;
        case RideBox::kSrKcal:
            return &energy;
        case RideBox::kSrX:
            return &ageLimit;
        case RideBox::kSrLim:
            return &setLimit;
        case RideBox::kSrPlp:
            return &share;
        case RideBox::kSrPlc:
            return &overHours;
        case RideBox::kRiders:
            break;
    }
    return nullptr;
}

LeaveResult NewRideFigures::leave(RideBox box, std::string_view text) {
    LeaveResult result;
    const auto written = written_.find(box);
    if (written != written_.end() && written->second == text) {
        if (double* figure = figureOf(box)) result.value = *figure;
        return result;
    }
    const FigureEntry entry = CheckFigure(CheckOf(box), text, hours);
    if (!entry.ok()) {
        result.refusal = RefusalOf(CheckOf(box), RideScreen::kNewRide, entry.check, text);
        return result;
    }
    result.value = entry.value;
    written_.erase(box);
    if (double* figure = figureOf(box)) *figure = entry.value;
    switch (box) {
        case RideBox::kETRP:
            recomputeAverage(&result.show);
            break;
        case RideBox::kESTP:
            recomputeAverage(&result.show);
            overTimeFromShare(&result.show);
            break;
        case RideBox::kSrPlp:
            overTimeFromShare(&result.show);
            break;
        case RideBox::kSrPlc:
            shareFromOverTime(&result.show);
            break;
        default:
            break;
    }
    return result;
}

void NewRideFigures::recomputeAverage(BoxTexts* show) {
    if (const auto speed = AverageSpeed(distance, hours)) average = *speed;
    show->eavs = AverageSpeedText(average);
}

void NewRideFigures::overTimeFromShare(BoxTexts* show) {
    if (share != 0) {
        overHours = OverLimitTime(hours, share);
        show->srPlc = FormatDuration(overHours);
    } else {
        overHours = 0;
        show->srPlc = kZeroTime;
    }
    written_[RideBox::kSrPlc] = *show->srPlc;
}

void NewRideFigures::shareFromOverTime(BoxTexts* show) {
    share = OverLimitPercent(overHours, hours);
    show->srPlp = OverLimitShareText(overHours, hours);
    written_[RideBox::kSrPlp] = *show->srPlp;
}

std::string NewRideFigures::presetAgeLimit(int64_t limit) {
    ageLimit = static_cast<double>(limit);
    written_.erase(RideBox::kSrX);
    return std::to_string(limit);
}

std::string NewRideFigures::presetSetLimit(int64_t limit) {
    written_.erase(RideBox::kSrLim);
    if (limit > 0) {
        setLimit = static_cast<double>(limit);
        return std::to_string(limit);
    }
    setLimit = 0;
    return written_[RideBox::kSrLim] = ZeroText(RideBox::kSrLim);
}

void NewRideFigures::resetAfterSave() {
    const double keptAgeLimit = ageLimit;
    const double keptAverage = average;
    *this = NewRideFigures();
    ageLimit = keptAgeLimit;
    average = keptAverage;
}

std::string NewRideFigures::ZeroText(RideBox box) {
    switch (box) {
        case RideBox::kETRP:
            return "0.00";
        case RideBox::kEMAX:
            return "0.0";
        case RideBox::kESTP:
        case RideBox::kSrPlc:
            return kZeroTime;
        case RideBox::kRiders:
            return "1";
        default:
            return "0";
    }
}

SaveCheck NewRideFigures::checkBeforeSave(bool measured) const {
    if (distance == 0 || hours == 0 || maxSpeed == 0) return SaveCheck::kZeroComputerFigures;
    if (measured && (avgRate == 0 || maxRate == 0 || energy == 0 || setLimit == 0)) {
        return SaveCheck::kZeroHeartFigures;
    }
    return SaveCheck::kOk;
}

FieldChanges NewRideFigures::storedValues(const RideEntry& entry) const {
    FieldChanges out = {
        {"DELKA", distance},
        {"CAS", hours},
        {"RYCHL_MAX", maxSpeed},
        {"PRUMER", average},
        {"OSOB", Value(entry.riders)},
        {"POPIS1", entry.description},
        {"DATUM", entry.date},
        {"MESIC_C", Value(MonthCode(entry.date))},
        {"ROK", Value(entry.date.year())},
        {"SR_MER", entry.measured},
    };
    if (!entry.measured) {
        const FieldChanges cleared = HeartRateCleared();
        out.insert(out.end(), cleared.begin(), cleared.end());
        return out;
    }
    const HeartRatePercents p = HeartRatePercentages(avgRate, maxRate, ageLimit, setLimit);
    const FieldChanges heart = {
        {"SR_AVG", avgRate},  {"SR_MAX", maxRate}, {"SR_KCAL", energy},   {"SR_X", ageLimit},
        {"SR_LIM", setLimit}, {"SR_PLP", share},   {"SR_PLC", overHours}, {"SR_AXP", p.axp},
        {"SR_ALP", p.alp},    {"SR_MXP", p.mxp},   {"SR_MLP", p.mlp},
    };
    out.insert(out.end(), heart.begin(), heart.end());
    return out;
}

}  // namespace kolvio
