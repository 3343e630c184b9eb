#include "rides/figure_checks.h"

#include <cmath>

#include "rides/figure_input.h"

namespace kolvio {

namespace {

FigureEntry Refuse(FigureCheck check) {
    return {check, 0};
}

FigureEntry CheckNumber(std::string_view text, bool zeroAllowed, double max) {
    const auto value = ParseDecimal(text);
    if (!value) return Refuse(FigureCheck::kNotANumber);
    if (zeroAllowed ? *value < 0 : !(*value > 0)) {
        return Refuse(zeroAllowed ? FigureCheck::kBelowZero : FigureCheck::kNotAboveZero);
    }
    if (*value > max) {
        return Refuse(zeroAllowed ? FigureCheck::kAboveHundred : FigureCheck::kAboveMaximum);
    }
    return {FigureCheck::kOk, *value};
}

double WholeSeconds(double hours) {
    return std::nearbyint(hours * 3600);
}

std::string AboveZeroMessage(bool colon) {
    return colon ? "Zadané číslo: musí být větší jak 0" : "Zadané číslo musí být větší jak 0";
}

std::string AboveMaximumMessage(FigureBox box, RideScreen screen) {
    if (box == FigureBox::kMaxSpeed) return "Zadané číslo: musí být menší jak 500";
    return screen == RideScreen::kEditor ? "Zadané číslo: musí být menší jak 10000"
                                         : "Zadané číslo musí být menší jak 10000";
}

}  // namespace

FigureEntry CheckFigure(FigureBox box, std::string_view text, double ridingHours) {
    switch (box) {
        case FigureBox::kDistance:
            return CheckNumber(text, false, kMaxDistance);
        case FigureBox::kMaxSpeed:
            return CheckNumber(text, false, kMaxSpeedBound);
        case FigureBox::kHeartFigure:
            return CheckNumber(text, false, HUGE_VAL);
        case FigureBox::kOverLimitShare:
            return CheckNumber(text, true, 100);
        case FigureBox::kRiders: {
            const auto riders = ParseWholeNumber(text);
            if (!riders) return Refuse(FigureCheck::kNotANumber);
            if (*riders < 1) return Refuse(FigureCheck::kNotAboveZero);
            return {FigureCheck::kOk, static_cast<double>(*riders)};
        }
        case FigureBox::kRidingTime:
        case FigureBox::kOverLimitTime: {
            const auto hours = ParseDuration(text);
            if (!hours) return Refuse(FigureCheck::kInvalidTime);
            if (box == FigureBox::kOverLimitTime &&
                WholeSeconds(*hours) > WholeSeconds(ridingHours)) {
                return Refuse(FigureCheck::kLongerThanRide);
            }
            return {FigureCheck::kOk, *hours};
        }
    }
    return Refuse(FigureCheck::kNotANumber);
}

std::string RefusalMessage(FigureBox box, RideScreen screen, FigureCheck check,
                           std::string_view text) {
    // Which boxes word "above 0" with a colon on which screen.
    const bool colon =
        box == FigureBox::kMaxSpeed || (screen == RideScreen::kEditor &&
                                        (box == FigureBox::kDistance || box == FigureBox::kRiders));
    switch (check) {
        case FigureCheck::kOk:
            return {};
        case FigureCheck::kNotANumber:
            return "Toto není přípustné číslo";
        case FigureCheck::kNotAboveZero:
            return AboveZeroMessage(colon);
        case FigureCheck::kAboveMaximum:
            return AboveMaximumMessage(box, screen);
        case FigureCheck::kBelowZero:
            return "Zadané číslo musí být větší, nebo rovno 0";
        case FigureCheck::kAboveHundred:
            return "Zadané číslo musí být menší, nebo rovno 100";
        case FigureCheck::kInvalidTime:
            return InvalidTimeMessage(text);
        case FigureCheck::kLongerThanRide:
            return "Zadaný čas nesmí být delší než čas jízdy";
    }
    return {};
}

Refusal RefusalOf(FigureBox box, RideScreen screen, FigureCheck check, std::string_view text) {
    const bool quiet =
        screen == RideScreen::kEditor &&
        (box == FigureBox::kDistance || box == FigureBox::kMaxSpeed || box == FigureBox::kRiders);
    return {RefusalMessage(box, screen, check, text), check == FigureCheck::kInvalidTime, !quiet};
}

}  // namespace kolvio
