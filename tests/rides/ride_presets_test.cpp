// The presets of a new ride: the latest ride read beside the shared rides
// table, the remembered choices and the age limit of the settings file.
#include "rides/ride_presets.h"

#include <gtest/gtest.h>

#include "data/database/database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

class LatestRideTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    }

    void AddRide(int year, int month, int day, int route, int direction, double ageLimit = 0,
                 double setLimit = 0, bool measured = false) {
        Table& rides = db.Table1();
        ASSERT_TRUE(rides.append().ok());
        ASSERT_TRUE(rides.setValue("DATUM", *Date::FromYmd(year, month, day)).ok());
        ASSERT_TRUE(rides.setValue("TRS_C", route).ok());
        ASSERT_TRUE(rides.setValue("TRS_SMER", direction).ok());
        if (ageLimit > 0) {
            ASSERT_TRUE(rides.setValue("SR_X", ageLimit).ok());
        }
        if (setLimit > 0) {
            ASSERT_TRUE(rides.setValue("SR_LIM", setLimit).ok());
        }
        ASSERT_TRUE(rides.setValue("SR_MER", measured).ok());
        ASSERT_TRUE(rides.post().ok());
    }

    LatestRide Latest() {
        LatestRide latest;
        EXPECT_TRUE(ReadLatestRide(db.Table1(), &latest).ok());
        return latest;
    }

    TempDir tmp;
    Database db;
};

TEST_F(LatestRideTest, LatestIsByDateNotByStoringOrder) {
    AddRide(2024, 5, 1, 3, 2);
    AddRide(2024, 6, 1, 5, 1, 185.4, 160, true);
    AddRide(2024, 4, 1, 7, 2);  // stored last, ridden earlier
    const LatestRide latest = Latest();
    EXPECT_EQ(latest.route, 5);
    EXPECT_EQ(latest.date, Date::FromYmd(2024, 6, 1));
    EXPECT_EQ(latest.direction, 1);
    EXPECT_EQ(latest.ageLimit, 185);  // read as a whole number
    EXPECT_EQ(latest.setLimit, 160);
    EXPECT_TRUE(latest.measured);
    // Of two rides of the same day, the one stored later.
    AddRide(2024, 6, 1, 9, 2);
    EXPECT_EQ(Latest().route, 9);
}

TEST_F(LatestRideTest, NoRidesAndEmptyFieldsReadAsZero) {
    const LatestRide none = Latest();
    EXPECT_EQ(none.route, 0);
    EXPECT_EQ(none.direction, 0);
    EXPECT_EQ(none.ageLimit, 0);
    EXPECT_FALSE(none.measured);
    AddRide(2024, 6, 1, 0, 0);  // no heart-rate figures at all
    const LatestRide empty = Latest();
    EXPECT_EQ(empty.ageLimit, 0);
    EXPECT_EQ(empty.setLimit, 0);
}

TEST_F(LatestRideTest, SharedTableKeepsItsIndexRowAndPendingRide) {
    AddRide(2024, 5, 1, 3, 2);
    AddRide(2024, 5, 3, 4, 1);
    AddRide(2024, 5, 2, 6, 2);
    Table& rides = db.Table1();
    ASSERT_TRUE(rides.setIndexName("TRS_C").ok());
    ASSERT_TRUE(rides.moveToRow(1).ok());
    ASSERT_TRUE(rides.append().ok());
    ASSERT_TRUE(rides.setValue("DATUM", *Date::FromYmd(2030, 1, 1)).ok());
    ASSERT_TRUE(rides.setValue("TRS_C", 99).ok());
    int scrolls = 0;
    const Table::HandlerId id = rides.on(TableEvent::kAfterScroll, [&](Table&) {
        ++scrolls;
        return Status::Ok();
    });

    EXPECT_EQ(Latest().route, 4);  // the pending ride is not stored, so not the latest

    rides.off(id);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(rides.state(), DatasetState::kInsert);
    EXPECT_EQ(rides.getInt("TRS_C"), 99);
    EXPECT_EQ(rides.indexName(), "TRS_C");
    rides.cancel();
    EXPECT_EQ(rides.rowNumber(), 1);
    EXPECT_EQ(rides.recordCount(), 3);

    // A ride stored after the first read is seen by the next one: the order
    // read is kept up to date, not sorted once and left.
    AddRide(2024, 6, 1, 7, 1);
    EXPECT_EQ(Latest().route, 7);
    AddRide(2024, 4, 1, 8, 1);
    EXPECT_EQ(Latest().route, 7);
}

// An older table without the heart-rate columns and without the DATUM
// index: the latest ride is found by reading the dates, and the missing
// fields give their defaults.
TEST(LatestRide, TableWithoutIndexOrHeartRateColumns) {
    TempDir tmp;
    ASSERT_TRUE(Table::Create(tmp.path(), "jizdy.dbf",
                              {FieldDef::DateField("DATUM"), FieldDef::Float("TRS_C", 20, 4),
                               FieldDef::Float("TRS_SMER", 20, 4)})
                    .ok());
    Table rides(tmp.path(), "jizdy.dbf");
    ASSERT_TRUE(rides.open().ok());
    for (const auto& [day, route] : {std::pair{3, 1}, {9, 2}, {9, 3}, {5, 4}}) {
        ASSERT_TRUE(rides.append().ok());
        ASSERT_TRUE(rides.setValue("DATUM", *Date::FromYmd(2020, 2, day)).ok());
        ASSERT_TRUE(rides.setValue("TRS_C", route).ok());
        ASSERT_TRUE(rides.setValue("TRS_SMER", 2).ok());
        ASSERT_TRUE(rides.post().ok());
    }
    LatestRide latest;
    ASSERT_TRUE(ReadLatestRide(rides, &latest).ok());
    EXPECT_EQ(latest.route, 3);
    EXPECT_EQ(latest.direction, 2);
    EXPECT_EQ(latest.ageLimit, -1);
    EXPECT_EQ(latest.setLimit, -1);
    EXPECT_FALSE(latest.measured);
    // No age limit in the ride: the setting's; no set limit: none.
    const NewRidePresets p = PresetsFor(latest, {}, 177);
    EXPECT_EQ(p.ageLimit, 177);
    EXPECT_EQ(p.setLimit, 0);
}

TEST(LatestRide, MissingTableIsAnErrorNamingIt) {
    TempDir tmp;
    Table rides(tmp.path(), "jizdy.dbf");
    LatestRide latest;
    const Status st = ReadLatestRide(rides, &latest);
    EXPECT_TRUE(st.failed());
    EXPECT_NE(st.message().find("jizdy"), std::string::npos) << st.message();
}

TEST(LatestAfterStoring, StoredRideIsLatestFromTheLatestDateOn) {
    LatestRide latest;
    latest.date = Date::FromYmd(2024, 6, 1);
    latest.route = 5;
    LatestRide stored;
    stored.route = 1;
    stored.date = Date::FromYmd(2024, 5, 31);
    EXPECT_EQ(LatestAfterStoring(latest, stored).route, 5);
    stored.date = Date::FromYmd(2024, 6, 1);  // the same day: stored last wins
    EXPECT_EQ(LatestAfterStoring(latest, stored).route, 1);
    // No ride before: whatever was stored.
    stored.date.reset();
    EXPECT_EQ(LatestAfterStoring(LatestRide{}, stored).route, 1);
    EXPECT_EQ(LatestAfterStoring(latest, stored).route, 5);
}

TEST(PresetsFor, RouteOfLatestRideOnlyWhenChosenAndNoFlipForARideWithoutRoute) {
    const LatestRide ride{Date::FromYmd(2024, 6, 1), 12, 2, 183, 165, true};
    NewRideChoices choices;
    NewRidePresets p = PresetsFor(ride, choices, 190);
    EXPECT_EQ(p.route, -1);
    EXPECT_EQ(p.direction, -1);
    EXPECT_EQ(p.ageLimit, 183);
    EXPECT_EQ(p.setLimit, 165);
    EXPECT_TRUE(p.measured);
    choices.routeOfLatest = true;
    p = PresetsFor(ride, choices, 190);
    EXPECT_EQ(p.route, 12);
    EXPECT_EQ(p.direction, 2);
    // A latest ride without a route: route 0 (the type rule makes it 1
    // where routes apply) and the direction left alone.
    p = PresetsFor({std::nullopt, 0, 0, 0, 0, false}, choices, 190);
    EXPECT_EQ(p.route, 0);
    EXPECT_EQ(p.direction, -1);
    EXPECT_EQ(p.ageLimit, 190);
    EXPECT_FALSE(p.measured);
}

class ChoicesTest : public ::testing::Test {
protected:
    TempDir tmp;
    SettingsFile ini{tmp.file("kolvio.ini")};
};

TEST_F(ChoicesTest, RememberedChoicesRoundTripAndResetToNone) {
    NewRideChoices c = LoadNewRideChoices(ini);
    EXPECT_EQ(c.primaryType, -1);
    EXPECT_EQ(c.bike, -1);
    EXPECT_EQ(c.watchType, -1);
    EXPECT_FALSE(c.routeOfLatest);
    ASSERT_TRUE(RememberChoice(ini, RememberedChoice::kPrimaryType, 3).ok());
    ASSERT_TRUE(RememberChoice(ini, RememberedChoice::kBike, 7).ok());
    ASSERT_TRUE(RememberChoice(ini, RememberedChoice::kWatchType, 0).ok());
    ASSERT_TRUE(RememberRouteOfLatest(ini, true).ok());
    c = LoadNewRideChoices(ini);
    EXPECT_EQ(c.code(RememberedChoice::kPrimaryType), 3);
    EXPECT_EQ(c.code(RememberedChoice::kBike), 7);
    EXPECT_EQ(c.code(RememberedChoice::kWatchType), 0);
    EXPECT_TRUE(c.routeOfLatest);
    EXPECT_EQ(ini.readString("Nova_jizda", "TYP_KOL", ""), "7");
    EXPECT_EQ(ini.readString("Nova_jizda", "TRS_dle_posledni", ""), "1");
    ASSERT_TRUE(ForgetChoice(ini, RememberedChoice::kBike).ok());
    ASSERT_TRUE(RememberChoice(ini, RememberedChoice::kPrimaryType, int64_t{1} << 40).ok());
    ASSERT_TRUE(RememberRouteOfLatest(ini, false).ok());
    c = LoadNewRideChoices(ini);
    EXPECT_EQ(c.bike, -1);
    EXPECT_EQ(c.primaryType, -1);
    EXPECT_FALSE(c.routeOfLatest);
}

TEST_F(ChoicesTest, AgeLimitIsRememberedRoundedHalfToEven) {
    EXPECT_EQ(LoadAgeLimitSetting(ini), 190);
    ASSERT_TRUE(RememberAgeLimit(ini, 184.5).ok());
    EXPECT_EQ(ini.readString("Srdce", "hsr_x", ""), "184");
    ASSERT_TRUE(RememberAgeLimit(ini, 185.5).ok());
    EXPECT_EQ(LoadAgeLimitSetting(ini), 186);
    ASSERT_TRUE(RememberAgeLimit(ini, 0).ok());  // no age limit: the setting stays
    EXPECT_EQ(LoadAgeLimitSetting(ini), 186);
}

TEST_F(LatestRideTest, RememberedCodeCountsOnlyWhenItsRowExists) {
    bool exists = true;
    ASSERT_TRUE(RememberedRowExists(db.TTKOL(), RememberedChoice::kBike, kNoChoice, &exists).ok());
    EXPECT_FALSE(exists);
    ASSERT_TRUE(RememberedRowExists(db.TTHLD(), RememberedChoice::kWatchType, 2, &exists).ok());
    EXPECT_TRUE(exists);
    ASSERT_TRUE(RememberedRowExists(db.TTRNZ(), RememberedChoice::kPrimaryType, 42, &exists).ok());
    EXPECT_FALSE(exists);
}

}  // namespace
}  // namespace kolvio
