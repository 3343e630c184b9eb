// Importing rides from device files into the open database, one ride per
// file, as `kolvio-db import` does.
//
// Each ride starts as the new-ride screen would preset it when the program
// has just been started (NewRideStartFields): the current rows of the lists,
// the remembered choices of "Nova_jizda", the route and direction of the
// latest ride when "TRS_dle_posledni" says so, and the primary-type rule.
// The file's figures then go through the boxes' checks (BoxTextsOf,
// NewRideFigures::leave) and the ride is stored whole or not at all.
#pragma once

#include <set>
#include <string>

#include "app/settings_file.h"
#include "data/database/database.h"
#include "rides/ride_boxes.h"
#include "rides/ride_from_file.h"
#include "rides/ride_presets.h"

namespace kolvio {

// The fields a new ride starts with, before any figure: route, direction,
// primary and secondary type, bike, watch type. Moves the primary-type list
// to the chosen type. A list that cannot be read is the error returned.
Status NewRideStartFields(Database& db, const NewRideChoices& choices,
                          const NewRidePresets& presets, FieldChanges* out);

struct ImportOutcome {
    enum class Kind { kStored, kDuplicate, kRefused };
    Kind kind = Kind::kRefused;
    // Czech. Stored: the ride's day and figures; duplicate: the ride it
    // repeats; refused: why, naming the file.
    std::string text;
};

class RideImporter {
public:
    // `db` is open; the settings are read once, by begin().
    RideImporter(Database& db, const SettingsFile& ini) : db_(db), ini_(ini) {}

    // Reads the settings, the latest ride and the key of every ride in the
    // diary.
    Status begin();

    // Reads the file and stores its ride, unless the diary has it already.
    // A file that could not be read whole, whose figures a box refuses or
    // whose ride cannot be stored leaves the diary as it was.
    ImportOutcome importFile(const std::string& path);

private:
    ImportOutcome refuse(std::string text) const;
    // The watch type of a ride with heart rate: the preset one, or when that
    // is "neměřeno" (0) the first other type by code; 0 when there is none.
    int64_t watchTypeForMeasured(int64_t preset);

    Database& db_;
    const SettingsFile& ini_;
    NewRideChoices choices_;
    int ageLimitSetting_ = 0;
    LatestRide latest_;
    std::set<RideKey> keys_;
};

}  // namespace kolvio
