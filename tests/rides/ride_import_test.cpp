// Rides from device files without the screen: the texts the boxes get, the
// duplicate key, and the presets and limits an imported ride takes from the
// latest ride and the remembered choices.
#include "rides/ride_import.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/row_edit.h"
#include "rides/new_ride_figures.h"
#include "tests/activity/ride_track.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

activity::RideFigures Figures(double km, double hours, double maxKmh) {
    activity::RideFigures f;
    f.date = {2024, 6, 12};
    f.distanceKm = km;
    f.ridingHours = hours;
    f.maxSpeedKmh = maxKmh;
    return f;
}

// The boxes filled from `f` as the screen leaves them, one after another.
NewRideFigures Leave(const activity::RideFigures& f, std::string* refused = nullptr) {
    NewRideFigures figures;
    figures.presetSetLimit(150);
    for (const BoxText& entry : BoxTextsOf(f)) {
        const LeaveResult r = figures.leave(entry.box, entry.text);
        if (r.refusal && refused) *refused = entry.text + ": " + r.refusal->text;
    }
    return figures;
}

TEST(RideFromFile, BoxesTakeTheFiguresAsADeviceShowsThem) {
    activity::RideFigures f = Figures(42.1234, 1.5 + 0.4 / 3600, 48.46);
    f.heartRateMeasured = true;
    f.averageHeartRate = 152.5;
    f.maxHeartRate = 171;
    f.overLimitHours = 1.5 + 0.3 / 3600;  // all of it, a little less than the riding time
    std::string refused;
    const NewRideFigures n = Leave(f, &refused);
    EXPECT_EQ(refused, "");
    EXPECT_EQ(n.distance, 42.12);
    EXPECT_EQ(n.hours, 1.5);
    EXPECT_EQ(n.maxSpeed, 48.5);
    EXPECT_DOUBLE_EQ(n.average, 42.12 / 1.5);
    EXPECT_EQ(n.avgRate, 153);
    EXPECT_EQ(n.maxRate, 171);
    EXPECT_EQ(n.energy, 0);  // the file has none: the box is left alone
    EXPECT_EQ(n.overHours, 1.5);
    EXPECT_EQ(n.share, 100);
}

TEST(RideFromFile, WithoutHeartRateOnlyTheComputerBoxesAreFilled) {
    activity::RideFigures f = Figures(20, 1, 30);
    f.energyKcal = 600;  // without heart rate not used
    const std::vector<BoxText> boxes = BoxTextsOf(f);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "20.00");
    EXPECT_EQ(boxes[1].text, "1:00:00");
    EXPECT_EQ(boxes[2].text, "30.0");
    f.heartRateMeasured = true;
    EXPECT_EQ(BoxTextsOf(f).size(), 7u);
}

TEST(RideFromFile, BoundsApplyToTheShownFigureAsToATypedOne) {
    struct Row {
        double km, maxKmh;
        const char* refused;
    };
    for (const Row& row :
         {Row{10000.004, 50, ""},  // shown as 10000.00
          Row{10000.006, 50, "10000.01: Zadané číslo musí být menší jak 10000"},
          Row{-0.5, 50, "-0.50: Zadané číslo musí být větší jak 0"}, Row{20, 500.04, ""},
          Row{20, 500.06, "500.1: Zadané číslo: musí být menší jak 500"}}) {
        SCOPED_TRACE(row.km);
        std::string refused;
        Leave(Figures(row.km, 2, row.maxKmh), &refused);
        EXPECT_EQ(refused, row.refused);
    }
}

TEST(RideFromFile, ARideTypedFromTheComputerAndItsFileHaveOneKey) {
    const Date day = *Date::FromYmd(2024, 6, 12);
    const RideKey typed = KeyOf(day, 42.12, 1.5);
    EXPECT_EQ(KeyOf(day, 42.1200000001, 1.5 + 0.4 / 3600), typed);
    EXPECT_NE(KeyOf(day, 42.13, 1.5), typed);
    EXPECT_NE(KeyOf(day, 42.12, 1.5 + 1.0 / 3600), typed);
    EXPECT_NE(KeyOf(*Date::FromYmd(2024, 6, 13), 42.12, 1.5), typed);
}

class RideImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.file("db"), OverwritePolicy::kKeepFiles).ok());
    }

    void AddLatestRide() {
        RowEdit ride(db.Table1());
        ride.append().set({{"DATUM", *Date::FromYmd(2024, 5, 1)},
                           {"TRS_C", Value(1)},
                           {"TRS_SMER", Value(2)},
                           {"TRNZ_C", Value(2)},
                           {"SR_X", Value(180)},
                           {"SR_LIM", Value(150)},
                           {"SR_MER", true}});
        ASSERT_TRUE(ride.commit().ok());
    }

    Value field(const char* name) { return db.Table1().value(name); }

    TempDir tmp;
    Database db;
    SettingsFile ini{tmp.file("kolvio.ini")};
};

TEST_F(RideImportTest, TheLatestRideGivesRouteDirectionAndLimits) {
    AddLatestRide();
    ASSERT_TRUE(RememberRouteOfLatest(ini, true).ok());
    ASSERT_TRUE(RememberChoice(ini, RememberedChoice::kPrimaryType, 3).ok());
    ASSERT_TRUE(RememberChoice(ini, RememberedChoice::kBike, 99).ok());  // no longer listed
    const std::string gpx = tmp.file("a.gpx");
    testing::WriteTrackGpx(gpx, {.day = 2, .seconds = 1200, .heartRate = 160});
    RideImporter importer(db, ini);
    ASSERT_TRUE(importer.begin().ok());
    const ImportOutcome outcome = importer.importFile(gpx);
    ASSERT_EQ(outcome.kind, ImportOutcome::Kind::kStored) << outcome.text;
    EXPECT_EQ(field("DATUM").asDate(), *Date::FromYmd(2024, 6, 2));
    EXPECT_EQ(field("TRS_C").asInt(), 1);
    EXPECT_EQ(field("TRS_SMER").asInt(), 2);
    EXPECT_EQ(field("TRNZ_C").asInt(), 3);
    EXPECT_EQ(field("TRN_C").asInt(), 301);
    EXPECT_EQ(field("KOL_C").asInt(), 1);
    EXPECT_EQ(field("SR_X").asDouble(), 180);
    EXPECT_EQ(field("SR_LIM").asDouble(), 150);
    // The table keeps four decimals.
    EXPECT_NEAR(field("SR_PLC").asDouble(), 1200.0 / 3600, 1e-4);
    EXPECT_EQ(field("SR_PLP").asDouble(), 100);
    EXPECT_NEAR(field("SR_MLP").asDouble(), 160.0 / 150 * 100, 1e-4);
    EXPECT_EQ(field("THL_C").asInt(), 1);  // the first watch type other than "neměřeno"
    // Stored once: the same file again is the ride of the diary.
    EXPECT_EQ(importer.importFile(gpx).kind, ImportOutcome::Kind::kDuplicate);
    EXPECT_EQ(db.Table1().recordCount(), 2);
}

TEST_F(RideImportTest, AFileOfARideTypedByHandIsADuplicate) {
    RowEdit typed(db.Table1());
    typed.append().set({{"DATUM", *Date::FromYmd(2024, 6, 5)},
                        {"DELKA", 14.4},
                        {"CAS", 0.5},
                        {"RYCHL_MAX", 30.0}});
    ASSERT_TRUE(typed.commit().ok());
    const std::string gpx = tmp.file("a.gpx");
    testing::WriteTrackGpx(gpx, {.day = 5, .seconds = 1800});  // 8 m/s: 14.40 km
    RideImporter importer(db, ini);
    ASSERT_TRUE(importer.begin().ok());
    const ImportOutcome outcome = importer.importFile(gpx);
    EXPECT_EQ(outcome.kind, ImportOutcome::Kind::kDuplicate) << outcome.text;
    EXPECT_EQ(outcome.text, "v deníku už je jízda 5.6.2024, 14.40 km, 0:30:00");
    EXPECT_EQ(db.Table1().recordCount(), 1);
}

}  // namespace
}  // namespace kolvio
