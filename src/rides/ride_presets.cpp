#include "rides/ride_presets.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "lists/list_rules.h"
#include "rides/ride_figures.h"

namespace kolvio {

namespace {

constexpr int kAgeLimitSettingMax = 100000;

int64_t WholeOr(const Dataset& row, const char* field, int64_t missing) {
    return row.hasField(field) ? row.getInt(field) : missing;
}

// Of the rows with the latest date, the one stored last (as the DATUM index
// orders rows of equal keys). An empty date counts as the earliest.
Status LastByDateScan(Table& probe) {
    std::optional<std::pair<int64_t, Bookmark>> best;
    KOLVIO_RETURN_IF_ERROR(probe.first());
    while (!probe.eof()) {
        const Value date = probe.value("DATUM");
        const int64_t day = date.isDate() ? date.asDate().dayNumber() : INT64_MIN;
        if (!best || std::make_pair(day, probe.bookmark()) >= *best) {
            best = std::make_pair(day, probe.bookmark());
        }
        KOLVIO_RETURN_IF_ERROR(probe.next());
    }
    return best ? probe.gotoBookmark(best->second) : Status::Ok();
}

}  // namespace

const char* KeyOf(RememberedChoice choice) {
    switch (choice) {
        case RememberedChoice::kPrimaryType:
            return "TRNZ";
        case RememberedChoice::kBike:
            return "TYP_KOL";
        case RememberedChoice::kWatchType:
            return "TYP_HL";
    }
    return "";
}

const char* CodeFieldOf(RememberedChoice choice) {
    switch (choice) {
        case RememberedChoice::kPrimaryType:
            return "TRNZ_C";
        case RememberedChoice::kBike:
            return "KOL_C";
        case RememberedChoice::kWatchType:
            return "THL_C";
    }
    return "";
}

int NewRideChoices::code(RememberedChoice choice) const {
    switch (choice) {
        case RememberedChoice::kPrimaryType:
            return primaryType;
        case RememberedChoice::kBike:
            return bike;
        case RememberedChoice::kWatchType:
            return watchType;
    }
    return kNoChoice;
}

NewRideChoices LoadNewRideChoices(const SettingsFile& ini) {
    NewRideChoices c;
    c.primaryType = ini.readInteger(kNewRideSection, KeyOf(RememberedChoice::kPrimaryType), -1);
    c.bike = ini.readInteger(kNewRideSection, KeyOf(RememberedChoice::kBike), -1);
    c.watchType = ini.readInteger(kNewRideSection, KeyOf(RememberedChoice::kWatchType), -1);
    c.routeOfLatest = ini.readBool(kNewRideSection, kRouteOfLatestKey, false);
    return c;
}

Status RememberChoice(SettingsFile& ini, RememberedChoice choice, int64_t code) {
    if (code < std::numeric_limits<int>::min() || code > std::numeric_limits<int>::max()) {
        return ForgetChoice(ini, choice);
    }
    return ini.writeInteger(kNewRideSection, KeyOf(choice), static_cast<int>(code));
}

Status ForgetChoice(SettingsFile& ini, RememberedChoice choice) {
    return ini.writeInteger(kNewRideSection, KeyOf(choice), kNoChoice);
}

Status RememberRouteOfLatest(SettingsFile& ini, bool on) {
    return ini.writeBool(kNewRideSection, kRouteOfLatestKey, on);
}

int LoadAgeLimitSetting(const SettingsFile& ini) {
    return ini.readInteger(kAgeLimitSection, kAgeLimitKey, kDefaultAgeLimit);
}

Status RememberAgeLimit(SettingsFile& ini, double ageLimit) {
    if (!(ageLimit > 0)) return Status::Ok();
    return ini.writeInteger(kAgeLimitSection, kAgeLimitKey,
                            RoundHalfEven(ageLimit, 0, kAgeLimitSettingMax));
}

Status ReadLatestRide(Table& rides, LatestRide* out) {
    *out = {};
    if (rides.isOpen() && rides.hasIndex("DATUM")) {
        // The last row of the shared table's DATUM index, read in place: the
        // index is sorted once and then kept, so that opening the new-ride
        // screen does not sort every ride again.
        const char* const names[] = {"DATUM", "TRS_C", "TRS_SMER", "SR_X", "SR_LIM", "SR_MER"};
        std::vector<int> fields;
        for (const char* name : names)
            fields.push_back(rides.fieldIndex(name));
        std::vector<Value> v;
        KOLVIO_RETURN_IF_ERROR(rides.lastInIndex("DATUM", fields, &v));
        if (v.empty()) return Status::Ok();
        const auto whole = [&](int i, int64_t missing) {
            return fields[i] < 0 ? missing : v[i].asInt();
        };
        if (v[0].isDate()) out->date = v[0].asDate();
        out->route = whole(1, -1);
        out->direction = whole(2, -1);
        out->ageLimit = whole(3, -1);
        out->setLimit = whole(4, -1);
        out->measured = fields[5] >= 0 && v[5].asBool();
        return Status::Ok();
    }
    Table probe(rides.directory(), rides.fileName());
    KOLVIO_RETURN_IF_ERROR(probe.open());
    if (probe.hasIndex("DATUM")) {
        KOLVIO_RETURN_IF_ERROR(probe.setIndexName("DATUM"));
        KOLVIO_RETURN_IF_ERROR(probe.last());
    } else {
        KOLVIO_RETURN_IF_ERROR(LastByDateScan(probe));
    }
    if (!probe.isEmpty()) *out = AsLatestRide(probe);
    return Status::Ok();
}

LatestRide AsLatestRide(const Dataset& ride) {
    LatestRide r;
    r.date = ride.getDate("DATUM");
    r.route = WholeOr(ride, "TRS_C", -1);
    r.direction = WholeOr(ride, "TRS_SMER", -1);
    r.ageLimit = WholeOr(ride, "SR_X", -1);
    r.setLimit = WholeOr(ride, "SR_LIM", -1);
    r.measured = ride.hasField("SR_MER") && ride.getBool("SR_MER");
    return r;
}

LatestRide LatestAfterStoring(const LatestRide& latest, const LatestRide& stored) {
    // An empty date orders first, as in the DATUM index.
    const auto day = [](const LatestRide& r) { return r.date ? r.date->dayNumber() : INT32_MIN; };
    return day(stored) >= day(latest) ? stored : latest;
}

NewRidePresets PresetsFor(const LatestRide& latest, const NewRideChoices& choices,
                          int ageLimitSetting) {
    NewRidePresets p;
    if (choices.routeOfLatest) {
        p.route = latest.route;
        // Only a real direction turns the arrow: a ride without a route
        // (direction 0) leaves it pointing from start to finish.
        if (latest.direction == 1 || latest.direction == 2) p.direction = latest.direction;
    }
    p.ageLimit = latest.ageLimit < 1 ? ageLimitSetting : latest.ageLimit;
    p.setLimit = latest.setLimit > 0 ? latest.setLimit : 0;
    p.measured = latest.measured;
    return p;
}

Status RememberedRowExists(Table& list, RememberedChoice choice, int code, bool* exists) {
    *exists = false;
    if (code == kNoChoice) return Status::Ok();
    return ValueOccurs(list, CodeFieldOf(choice), Value(code), 1, exists);
}

}  // namespace kolvio
