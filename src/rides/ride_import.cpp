#include "rides/ride_import.h"

#include <limits>

#include "activity/activity_file.h"
#include "activity/activity_messages.h"
#include "app/decimal_text.h"
#include "app/display_format.h"
#include "app/row_edit.h"
#include "rides/new_ride_figures.h"
#include "rides/ride_edit_rules.h"

namespace kolvio {

namespace {

Value CurrentCode(Table& list, const char* field) {
    if (!list.isOpen() || list.isEmpty()) return Value();
    return list.value(field);
}

std::string Quoted(const std::string& file) {
    return "\"" + file + "\"";
}

std::string DayText(const Date& d) {
    return std::to_string(d.day()) + "." + std::to_string(d.month()) + "." +
           std::to_string(d.year());
}

// "12.6.2024, 42.12 km, 1:30:00"
std::string RideText(const Date& day, double distanceKm, double hours) {
    return DayText(day) + ", " + FormatFixed(distanceKm, 2) + " km, " + FormatDuration(hours);
}

// The keys of the rides in the diary, read through a handle of their own.
Status ReadRideKeys(const Table& rides, std::set<RideKey>* keys) {
    Table probe(rides.directory(), rides.fileName());
    KOLVIO_RETURN_IF_ERROR(probe.open());
    if (!probe.hasField("DATUM") || !probe.hasField("DELKA") || !probe.hasField("CAS")) {
        return Status::Ok();
    }
    for (Status st = probe.first(); !probe.eof(); st = probe.next()) {
        KOLVIO_RETURN_IF_ERROR(st);
        const std::optional<Date> day = probe.getDate("DATUM");
        if (day) keys->insert(KeyOf(*day, probe.getDouble("DELKA"), probe.getDouble("CAS")));
    }
    return Status::Ok();
}

// What a refused figure is called in the message.
const char* LabelOf(RideBox box) {
    switch (box) {
        case RideBox::kETRP:
            return "vzdálenost";
        case RideBox::kESTP:
            return "čas jízdy";
        case RideBox::kEMAX:
            return "maximální rychlost";
        case RideBox::kSrAvg:
            return "průměrný tep";
        case RideBox::kSrMax:
            return "maximální tep";
        case RideBox::kSrKcal:
            return "energie";
        case RideBox::kSrPlc:
            return "čas nad limitem";
        default:
            return FieldOf(box);
    }
}

}  // namespace

Status NewRideStartFields(Database& db, const NewRideChoices& choices,
                          const NewRidePresets& presets, FieldChanges* out) {
    // The current rows of the lists (ImplHod), as a freshly started program
    // has them.
    Value route = CurrentCode(db.TTRS(), "TRS_C");
    Value primary = CurrentCode(db.TTRNZ(), "TRNZ_C");
    Value bike = CurrentCode(db.TTKOL(), "KOL_C");
    Value watch = CurrentCode(db.TTHLD(), "THL_C");
    // The remembered choices that still name a row of their list.
    const std::pair<RememberedChoice, std::pair<Table*, Value*>> remembered[] = {
        {RememberedChoice::kPrimaryType, {&db.TTRNZ(), &primary}},
        {RememberedChoice::kBike, {&db.TTKOL(), &bike}},
        {RememberedChoice::kWatchType, {&db.TTHLD(), &watch}}};
    for (const auto& [choice, target] : remembered) {
        bool exists = false;
        KOLVIO_RETURN_IF_ERROR(
            RememberedRowExists(*target.first, choice, choices.code(choice), &exists));
        if (exists) *target.second = Value(choices.code(choice));
    }
    if (presets.route != -1) route = Value(presets.route);
    const bool arrowRight = presets.direction != 2;
    // The primary-type rule: its first secondary type, and the route it
    // allows (a primary type missing from its list allows routes).
    bool found = false;
    if (!primary.isNull()) {
        const Status located = db.TTRNZ().locate("TRNZ_C", primary);
        if (!located.notFound()) KOLVIO_RETURN_IF_ERROR(located);
        found = located.ok();
    }
    const Value secondary = CurrentCode(db.TTRN(), "TRN_C");
    const bool noRoutes = found && db.TTRNZ().getBool("ZADNE_TRS");
    const RouteFields fields =
        RouteForPrimaryType(RideScreen::kNewRide, noRoutes,
                            {route.isNull() ? 0 : route.asInt(), arrowRight ? 1 : 2}, arrowRight);
    *out = {{"TRS_C", Value(fields.route)},
            {"TRS_SMER", Value(fields.direction)},
            {"TRNZ_C", primary},
            {"TRN_C", secondary},
            {"KOL_C", bike},
            {"THL_C", watch}};
    return Status::Ok();
}

Status RideImporter::begin() {
    choices_ = LoadNewRideChoices(ini_);
    ageLimitSetting_ = LoadAgeLimitSetting(ini_);
    KOLVIO_RETURN_IF_ERROR(ReadLatestRide(db_.Table1(), &latest_));
    return ReadRideKeys(db_.Table1(), &keys_);
}

ImportOutcome RideImporter::refuse(std::string text) const {
    return {ImportOutcome::Kind::kRefused, std::move(text)};
}

int64_t RideImporter::watchTypeForMeasured(int64_t preset) {
    if (preset != 0) return preset;
    Table probe(db_.TTHLD().directory(), db_.TTHLD().fileName());
    if (!probe.open().ok()) return 0;
    int64_t best = 0;
    for (Status st = probe.first(); st.ok() && !probe.eof(); st = probe.next()) {
        const int64_t code = probe.getInt("THL_C");
        if (code != 0 && (best == 0 || code < best)) best = code;
    }
    return best;
}

ImportOutcome RideImporter::importFile(const std::string& path) {
    const NewRidePresets presets = PresetsFor(latest_, choices_, ageLimitSetting_);
    const activity::LoadedRide loaded =
        activity::LoadRideFigures(path, static_cast<double>(presets.setLimit));
    if (!loaded.ok()) return refuse(loaded.error);
    // Nobody looks at the figures here, so a file read only in part (or
    // with a doubt about its contents) is left to the new-ride screen.
    if (loaded.damaged || !loaded.warnings.empty()) {
        const std::string why =
            loaded.warnings.empty() ? activity::LoadedRide().error : loaded.warnings.front();
        return refuse(why + " Jízda nebyla uložena; zadejte ji v okně Nová jízda.");
    }
    const std::optional<Date> day = DateOf(loaded.figures);
    if (!day) return refuse("Soubor " + Quoted(path) + " nemá platné datum jízdy.");

    NewRideFigures figures;
    figures.presetAgeLimit(presets.ageLimit);
    figures.presetSetLimit(presets.setLimit);
    for (const BoxText& entry : BoxTextsOf(loaded.figures)) {
        const LeaveResult left = figures.leave(entry.box, entry.text);
        if (left.refusal) {
            return refuse("Soubor " + Quoted(path) + ": " + LabelOf(entry.box) + " " + entry.text +
                          " nelze uložit: " + left.refusal->text);
        }
    }
    const bool measured = loaded.figures.heartRateMeasured;
    if (figures.checkBeforeSave(measured) == SaveCheck::kZeroComputerFigures) {
        return refuse("Soubor " + Quoted(path) + ": " + kZeroComputerFiguresText);
    }
    const RideKey key = KeyOf(*day, figures.distance, figures.hours);
    if (keys_.count(key)) {
        return {ImportOutcome::Kind::kDuplicate,
                "v deníku už je jízda " + RideText(*day, figures.distance, figures.hours)};
    }

    FieldChanges changes;
    if (const Status st = NewRideStartFields(db_, choices_, presets, &changes); !st.ok()) {
        return refuse("Jízdu ze souboru " + Quoted(path) + " nelze uložit: " + st.message());
    }
    if (measured) {
        for (FieldChange& change : changes) {
            if (change.field != "THL_C") continue;
            const int64_t watch =
                watchTypeForMeasured(change.value.isNull() ? 0 : change.value.asInt());
            if (watch == 0) {
                return refuse("Soubor " + Quoted(path) +
                              " má záznam tepu, ale v seznamu typů hlídání tepového limitu není "
                              "jiný typ než \"neměřeno\". Přidejte typ hlídání a import opakujte.");
            }
            change.value = Value(watch);
        }
    }
    RideEntry entry;
    entry.measured = measured;
    entry.date = *day;
    const FieldChanges stored = figures.storedValues(entry);
    changes.insert(changes.end(), stored.begin(), stored.end());

    Table& rides = db_.Table1();
    RowEdit row(rides);
    row.append();
    for (const FieldChange& change : changes) {
        if (rides.hasField(change.field)) row.set(change.field, change.value);
    }
    const Status st = row.commit();
    if (!st.ok()) {
        return refuse("Jízdu ze souboru " + Quoted(path) + " nelze uložit: " + st.message());
    }
    latest_ = LatestAfterStoring(latest_, AsLatestRide(rides));
    keys_.insert(key);
    return {ImportOutcome::Kind::kStored,
            RideText(*day, figures.distance, figures.hours) + (measured ? ", s tepem" : "")};
}

}  // namespace kolvio
