#include "rides/ride_edit_rules.h"

#include <cmath>

#include "app/decimal_text.h"
#include "rides/ride_figures.h"

namespace kolvio {

namespace {

std::string WithoutLeadingBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string PlainNumber(double v) {
    if (v == std::trunc(v) && std::fabs(v) < 1e15) return FormatFixed(v, 0);
    std::string text = FormatFixed(v, 4);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

double& RideFigures::of(RideBox box) {
    switch (box) {
        case RideBox::kETRP:
            return delka;
        case RideBox::kESTP:
            return cas;
        case RideBox::kEMAX:
            return rychlMax;
        case RideBox::kSrAvg:
            return srAvg;
        case RideBox::kSrMax:
            return srMax;
        case RideBox::kSrKcal:
            return srKcal;
        case RideBox::kSrX:
            return srX;
        case RideBox::kSrLim:
            return srLim;
        case RideBox::kSrPlp:
            return srPlp;
        case RideBox::kSrPlc:
            return srPlc;
        case RideBox::kRiders:
            break;
    }
    return osob;
}

RideFigures ReadRideFigures(const Dataset& ride) {
    RideFigures f;
    for (RideBox box : {RideBox::kETRP, RideBox::kESTP, RideBox::kEMAX, RideBox::kSrAvg,
                        RideBox::kSrMax, RideBox::kSrKcal, RideBox::kSrX, RideBox::kSrLim,
                        RideBox::kSrPlp, RideBox::kSrPlc, RideBox::kRiders}) {
        f.of(box) = ride.getDouble(FieldOf(box));
    }
    f.prumer = ride.getDouble("PRUMER");
    return f;
}

std::string EditorBoxText(RideBox box, const Value& value, const DisplaySettings& s) {
    if (value.isNull()) return {};
    switch (box) {
        case RideBox::kETRP:
            return WithoutLeadingBlanks(DELKAGetText(value, s));
        case RideBox::kEMAX:
            return WithoutLeadingBlanks(RYCHL_MAXGetText(value, s));
        case RideBox::kESTP:
        case RideBox::kSrPlc:
            return CASGetTextNull(value);
        case RideBox::kSrKcal:
            return WithoutLeadingBlanks(SR_KCALGetText(value, s));
        case RideBox::kSrPlp: {
            std::string text = WithoutLeadingBlanks(SR_PLPGetText(value, s));
            if (!text.empty() && text.back() == '%') text.pop_back();
            return text;
        }
        case RideBox::kRiders:
            return PlainNumber(value.asDouble());
        case RideBox::kSrAvg:
        case RideBox::kSrMax:
        case RideBox::kSrX:
        case RideBox::kSrLim:
            break;
    }
    return WithoutLeadingBlanks(SR_TEPGetText(value, s));
}

FieldChanges PercentageChanges(const RideFigures& ride) {
    const HeartRatePercents p = HeartRatePercentages(ride.srAvg, ride.srMax, ride.srX, ride.srLim);
    return {{"SR_AXP", p.axp}, {"SR_ALP", p.alp}, {"SR_MXP", p.mxp}, {"SR_MLP", p.mlp}};
}

EditorLeave LeaveEditorBox(RideBox box, std::string_view text, std::string_view shown,
                           const RideFigures& ride) {
    EditorLeave out;
    if (text == shown) return out;
    const FigureEntry entry = CheckFigure(CheckOf(box), text, ride.cas);
    if (!entry.ok()) {
        out.refusal = RefusalOf(CheckOf(box), RideScreen::kEditor, entry.check, text);
        return out;
    }
    RideFigures after = ride;
    const double v = entry.value;
    const bool changed =
        box == RideBox::kESTP ? RidingTimeChanged(v, ride.cas) : v != after.of(box);
    if (!changed) return out;
    after.of(box) = v;
    out.changes.push_back({FieldOf(box), v});
    switch (box) {
        case RideBox::kETRP:
        case RideBox::kESTP: {
            const auto speed = AverageSpeed(after.delka, after.cas);
            out.changes.push_back({"PRUMER", speed ? *speed : 0.0});
            break;
        }
        case RideBox::kSrPlp: {
            const double t = OverLimitTime(after.cas, v);
            if (t != ride.srPlc) out.changes.push_back({"SR_PLC", t});
            break;
        }
        case RideBox::kSrPlc: {
            const double p = OverLimitPercent(v, after.cas);
            if (p != ride.srPlp) out.changes.push_back({"SR_PLP", p});
            break;
        }
        default:
            if (FeedsPercentages(box)) {
                const FieldChanges p = PercentageChanges(after);
                out.changes.insert(out.changes.end(), p.begin(), p.end());
            }
            break;
    }
    return out;
}

RouteFields RouteForPrimaryType(RideScreen screen, bool noRoutes, RouteFields ride,
                                bool arrowRight) {
    if (noRoutes) return {0, 0};
    if (screen == RideScreen::kNewRide) {
        return {ride.route == 0 ? 1 : ride.route, arrowRight ? 1 : 2};
    }
    if (ride.route == 0) return {1, 1};
    return ride;
}

FieldChanges DateDerivedChanges(const Value& date) {
    if (!date.isDate()) return {{"MESIC_C", Value()}, {"ROK", Value()}};
    return {{"MESIC_C", Value(MonthCode(date.asDate()))}, {"ROK", Value(date.asDate().year())}};
}

StoreCheck CheckBeforeStoring(bool measured, int64_t watchType) {
    if (!measured) return StoreCheck::kStoreUnmeasured;
    return watchType != 0 ? StoreCheck::kStore : StoreCheck::kRefuseWatchType;
}

}  // namespace kolvio
