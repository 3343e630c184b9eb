#include "rides/ride_boxes.h"

namespace kolvio {

FigureBox CheckOf(RideBox box) {
    switch (box) {
        case RideBox::kETRP:
            return FigureBox::kDistance;
        case RideBox::kESTP:
            return FigureBox::kRidingTime;
        case RideBox::kEMAX:
            return FigureBox::kMaxSpeed;
        case RideBox::kSrPlp:
            return FigureBox::kOverLimitShare;
        case RideBox::kSrPlc:
            return FigureBox::kOverLimitTime;
        case RideBox::kRiders:
            return FigureBox::kRiders;
        case RideBox::kSrAvg:
        case RideBox::kSrMax:
        case RideBox::kSrKcal:
        case RideBox::kSrX:
        case RideBox::kSrLim:
            break;
    }
    return FigureBox::kHeartFigure;
}

const char* FieldOf(RideBox box) {
    switch (box) {
        case RideBox::kETRP:
            return "DELKA";
        case RideBox::kESTP:
            return "CAS";
        case RideBox::kEMAX:
            return "RYCHL_MAX";
        case RideBox::kSrAvg:
            return "SR_AVG";
        case RideBox::kSrMax:
            return "SR_MAX";
        case RideBox::kSrKcal:
            return "SR_KCAL";
        case RideBox::kSrX:
            return "SR_X";
        case RideBox::kSrLim:
            return "SR_LIM";
        case RideBox::kSrPlp:
            return "SR_PLP";
        case RideBox::kSrPlc:
            return "SR_PLC";
        case RideBox::kRiders:
            return "OSOB";
    }
    return "";
}

std::optional<RideBox> HeartBoxOfTag(int tag) {
    static constexpr RideBox kByTag[] = {RideBox::kSrAvg, RideBox::kSrMax, RideBox::kSrKcal,
                                         RideBox::kSrX, RideBox::kSrLim};
    if (tag < 1 || tag > 5) return std::nullopt;
    return kByTag[tag - 1];
}

bool FeedsPercentages(RideBox box) {
    return box == RideBox::kSrAvg || box == RideBox::kSrMax || box == RideBox::kSrX ||
           box == RideBox::kSrLim;
}

FieldChanges HeartRateCleared() {
    FieldChanges out{{"THL_C", Value(0)}};
    for (const char* field : {"SR_AVG", "SR_MAX", "SR_KCAL", "SR_LIM", "SR_PLP", "SR_PLC", "SR_X",
                              "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}) {
        out.push_back({field, Value()});
    }
    return out;
}

}  // namespace kolvio
