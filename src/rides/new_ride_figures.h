// The working figures of the new-ride screen.
//
// While a ride is entered the screen holds eleven figures, one per box (the
// average speed is worked out). A box's text is read when the box is left:
// a valid text becomes the box's working figure and the figures worked out
// from it follow; a refused text changes nothing. "PŘIDEJ" stores the
// working figures, never the box texts.
//
// A text the screen wrote itself (a worked-out over-limit time or share)
// stands for the exact figure behind it: leaving that box with the text
// unchanged keeps the figure instead of reading back its rounded text, so
// that the time and the share never drift apart by merely passing the box.
// The zero texts the screen opens with count as written by the screen too.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "data/value.h"
#include "rides/ride_boxes.h"

namespace kolvio {

// Texts the screen shows after a box was left (only those that change).
struct BoxTexts {
    std::optional<std::string> eavs;  // average speed
    std::optional<std::string> srPlc;
    std::optional<std::string> srPlp;
};

struct LeaveResult {
    std::optional<Refusal> refusal;
    BoxTexts show;
    double value = 0;  // the figure read (riders: the count)
    bool ok() const { return !refusal; }
};

// What the save asks before storing.
enum class SaveCheck {
    kOk,
    kZeroComputerFigures,  // refused: distance, riding time or maximum speed is 0
    kZeroHeartFigures,     // measured with a zero heart rate, energy or set limit: ask
};

inline constexpr char kZeroComputerFiguresText[] =
    "Zadaná data cyklocomputeru obsahují nulové hodnoty\nnelze uložit - zadej znovu";
inline constexpr char kZeroHeartFiguresText[] =
    "Zadaná data měření srdečního tepu\nobsahují nulové hodnoty - pokračovat?";
inline constexpr char kConfirmAddText[] = "Opravdu přidat do databáze?";

// What the rest of the screen holds when the ride is stored.
struct RideEntry {
    bool measured = false;
    int64_t riders = 1;
    std::string description;
    Date date;
};

class NewRideFigures {
public:
    // Every figure 0, its box showing ZeroText: passing through a box the
    // rider has not touched refuses nothing.
    NewRideFigures();

    double distance = 0;
    double average = 0;
    double hours = 0;  // riding time
    double maxSpeed = 0;
    double avgRate = 0;
    double maxRate = 0;
    double energy = 0;
    double ageLimit = 0;
    double setLimit = 0;
    double share = 0;      // of the riding time above the set limit, percent
    double overHours = 0;  // time above the set limit

    // Leaving `box` with `text`. The riders box only checks its text.
    LeaveResult leave(RideBox box, std::string_view text);

    // The presets of the age limit and of the set limit (none when not
    // above 0); the texts their boxes show.
    std::string presetAgeLimit(int64_t limit);
    std::string presetSetLimit(int64_t limit);

    // After a save: every figure but the age limit and the average speed is
    // 0 again (the average keeps its value until a distance or time is
    // entered).
    void resetAfterSave();
    // What a box shows when its figure is 0 (on opening and after a save).
    static std::string ZeroText(RideBox box);

    SaveCheck checkBeforeSave(bool measured) const;
    // The values the save writes into the appended ride: the figures, the
    // rest of the entry, the date with its month code and year, and the
    // heart-rate figures (or none, with watch type 0, when not measured).
    FieldChanges storedValues(const RideEntry& entry) const;

private:
    void recomputeAverage(BoxTexts* show);
    void overTimeFromShare(BoxTexts* show);
    void shareFromOverTime(BoxTexts* show);
    double* figureOf(RideBox box);

    // The texts the screen wrote into boxes, by box.
    std::map<RideBox, std::string> written_;
};

}  // namespace kolvio
