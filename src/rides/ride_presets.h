// What the new-ride screen presets a ride with: the latest ride, the
// remembered choices of the settings file and the rider's age limit.
#pragma once

#include <cstdint>
#include <optional>

#include "app/settings_file.h"
#include "data/status.h"
#include "data/table.h"

namespace kolvio {

// Remembered choices, section "Nova_jizda": codes to preset (kNoChoice for
// none) and whether the route and direction come from the latest ride.
inline constexpr char kNewRideSection[] = "Nova_jizda";
inline constexpr char kRouteOfLatestKey[] = "TRS_dle_posledni";
inline constexpr int kNoChoice = -1;

enum class RememberedChoice { kPrimaryType, kBike, kWatchType };

// "TRNZ", "TYP_KOL", "TYP_HL".
const char* KeyOf(RememberedChoice choice);
// The code field of the choice's list and of the ride: TRNZ_C, KOL_C, THL_C.
const char* CodeFieldOf(RememberedChoice choice);

struct NewRideChoices {
    int primaryType = kNoChoice;
    int bike = kNoChoice;
    int watchType = kNoChoice;
    bool routeOfLatest = false;

    int code(RememberedChoice choice) const;
};

NewRideChoices LoadNewRideChoices(const SettingsFile& ini);
// A code beyond the range of the settings' whole numbers is not remembered
// (the choice is reset instead).
Status RememberChoice(SettingsFile& ini, RememberedChoice choice, int64_t code);
Status ForgetChoice(SettingsFile& ini, RememberedChoice choice);
Status RememberRouteOfLatest(SettingsFile& ini, bool on);

// "Srdce" / "hsr_x", 190 when missing.
int LoadAgeLimitSetting(const SettingsFile& ini);
// After a stored ride: the working age limit, rounded to a whole number with
// a half to the even neighbour, when it is above 0; nothing otherwise.
Status RememberAgeLimit(SettingsFile& ini, double ageLimit);

// The latest ride: the last row of the rides in DATUM order (of rides of the
// same day, the one stored last). Each figure is read as a whole number (or
// a logical) and an empty field as 0; a field the table lacks gives -1
// (false); without rides every figure is 0.
struct LatestRide {
    std::optional<Date> date;  // DATUM; none for an empty date or no rides
    int64_t route = 0;         // TRS_C
    int64_t direction = 0;     // TRS_SMER
    int64_t ageLimit = 0;      // SR_X
    int64_t setLimit = 0;      // SR_LIM
    bool measured = false;     // SR_MER
};

// Reads the latest ride without moving the shared rides table: it keeps its
// index, its current row and a row it is editing or appending. The table's
// DATUM index is read in place (built on the first read, then kept); a
// table without it is read through a handle of its own.
Status ReadLatestRide(Table& rides, LatestRide* out);

// The figures of `ride` (a row of the rides table) read as a latest ride.
LatestRide AsLatestRide(const Dataset& ride);

// The latest ride once `stored` was stored after `latest` was read, with no
// other change to the rides in between: the stored ride when its date is not
// earlier (of rides of the same day the one stored last wins), else the
// latest ride as it was. Spares reading every ride again after each save.
LatestRide LatestAfterStoring(const LatestRide& latest, const LatestRide& stored);

struct NewRidePresets {
    int64_t route = -1;      // -1: the route list's current row stays
    int64_t direction = -1;  // -1: the arrow stays (from start to finish)
    int64_t ageLimit = 0;
    int64_t setLimit = 0;  // 0: none
    bool measured = false;
};

// The route and direction of the latest ride when the choice says so (a
// latest ride without a route leaves the direction alone), its age limit or
// else the setting, its set limit when above 0, and whether it was measured.
NewRidePresets PresetsFor(const LatestRide& latest, const NewRideChoices& choices,
                          int ageLimitSetting);

// Whether a remembered code names a row of its list (kNoChoice never does).
// The list is read through a handle of its own.
Status RememberedRowExists(Table& list, RememberedChoice choice, int code, bool* exists);

}  // namespace kolvio
