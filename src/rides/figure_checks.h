// The bounds of the figure boxes of the ride screens and their refusals.
//
// A box's text is checked when the box is left; a refused text changes no
// figure, and the screen shows RefusalMessage as a warning with OK only
// (an invalid time is reported as an error instead). The two screens word
// some refusals differently: the editor writes "Zadané číslo:" with a colon
// for the distance and the number of riders, as both screens do for the
// maximum speed. The editor also refuses those three boxes without the beep.
#pragma once

#include <string>
#include <string_view>

namespace kolvio {

inline constexpr double kMaxDistance = 10000;  // accepted itself
inline constexpr double kMaxSpeedBound = 500;  // accepted itself

enum class FigureBox {
    kDistance,        // ETRP: above 0, at most 10000
    kRidingTime,      // ESTP: a valid time
    kMaxSpeed,        // EMAX: above 0, at most 500
    kHeartFigure,     // sr_avg, sr_max, sr_kcal, sr_x, sr_lim: above 0
    kOverLimitShare,  // sr_plp: 0 to 100
    kOverLimitTime,   // sr_plc: a valid time not longer than the riding time
    kRiders,          // Edit2 / DBEdit1: a whole number above 0
};

enum class RideScreen { kNewRide, kEditor };

enum class FigureCheck {
    kOk,
    kNotANumber,
    kNotAboveZero,
    kAboveMaximum,
    kBelowZero,
    kAboveHundred,
    kInvalidTime,
    kLongerThanRide,
};

struct FigureEntry {
    FigureCheck check = FigureCheck::kOk;
    double value = 0;  // the figure read, when check is kOk (hours for times)
    bool ok() const { return check == FigureCheck::kOk; }
};

// Reads and checks the text of a box. `ridingHours` is the riding time an
// over-limit time must not exceed; times are compared to the whole second,
// so a time equal to the riding time is accepted even when the stored
// riding time carries rounding from the table.
FigureEntry CheckFigure(FigureBox box, std::string_view text, double ridingHours = 0);

// The message for a refused text (empty for kOk).
std::string RefusalMessage(FigureBox box, RideScreen screen, FigureCheck check,
                           std::string_view text);

// A refusal as the screen shows it: an invalid time as an error, every other
// refusal as a warning; both with OK only.
struct Refusal {
    std::string text;
    bool error = false;
    bool beep = true;
};
Refusal RefusalOf(FigureBox box, RideScreen screen, FigureCheck check, std::string_view text);

}  // namespace kolvio
