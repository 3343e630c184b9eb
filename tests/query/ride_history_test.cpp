// The years list and the latest rides, read without disturbing the shared
// rides dataset.
#include "query/ride_history.h"

#include <gtest/gtest.h>

#include "data/database/database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

class RideHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    }

    // Stored in this physical order; dates need not be in order.
    void AddRide(std::optional<Date> date, int route, int bike = 1) {
        Table& rides = db.Table1();
        ASSERT_TRUE(rides.append().ok());
        if (date) {
            ASSERT_TRUE(rides.setValue("DATUM", *date).ok());
        }
        ASSERT_TRUE(rides.setValue("TRS_C", route).ok());
        ASSERT_TRUE(rides.setValue("KOL_C", bike).ok());
        ASSERT_TRUE(rides.post().ok());
    }

    static Date D(int y, int m, int d) { return *Date::FromYmd(y, m, d); }

    std::vector<int> Years() {
        std::vector<int> years;
        EXPECT_TRUE(UsedYears(tmp.path(), &years).ok());
        return years;
    }

    testing::TempDir tmp;
    Database db;
};

TEST_F(RideHistoryTest, YearsWithRidesOnlySkippingGapsAndUndatedRides) {
    EXPECT_TRUE(Years().empty());
    AddRide(D(2021, 12, 31), 1);
    AddRide(D(2019, 1, 1), 1);
    AddRide(std::nullopt, 1);
    AddRide(D(2021, 1, 1), 1);
    AddRide(D(2024, 6, 1), 1);
    EXPECT_EQ(Years(), (std::vector<int>{2019, 2021, 2024}));
}

TEST_F(RideHistoryTest, YearsOfADeletedRideAreNotListed) {
    AddRide(D(2020, 5, 1), 1);
    AddRide(D(2022, 5, 1), 1);
    ASSERT_TRUE(db.Table1().first().ok());
    ASSERT_TRUE(db.Table1().deleteRecord().ok());
    EXPECT_EQ(Years(), (std::vector<int>{2022}));
}

TEST_F(RideHistoryTest, LatestRideIsTheLastByDateNotTheLastStored) {
    AddRide(D(2024, 5, 1), 4, 2);
    AddRide(D(2024, 8, 1), 3, 1);
    AddRide(D(2024, 6, 1), 2, 2);
    Table& rides = db.Table1();
    ASSERT_TRUE(rides.setIndexName("KOL_C").ok());
    ASSERT_TRUE(rides.moveToRow(1).ok());
    const Bookmark before = rides.bookmark();

    std::optional<std::vector<Value>> values;
    ASSERT_TRUE(LatestRideValues(rides, {"TRS_C", "KOL_C", "NOPE"}, &values).ok());
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->at(0).asInt(), 3);
    EXPECT_EQ(values->at(1).asInt(), 1);
    EXPECT_EQ(values->at(2).asInt(), 1);  // a field the table lacks reads as code 1

    EXPECT_EQ(rides.indexName(), "KOL_C");
    EXPECT_EQ(rides.bookmark(), before);
    EXPECT_EQ(rides.rowNumber(), 1);
}

TEST_F(RideHistoryTest, NoRideGivesNoValuesAndNoDates) {
    std::optional<std::vector<Value>> values;
    ASSERT_TRUE(LatestRideValues(db.Table1(), {"TRS_C"}, &values).ok());
    EXPECT_FALSE(values.has_value());
    std::optional<RideDates> dates;
    ASSERT_TRUE(LatestRideDates(db.Table1(), 10, &dates).ok());
    EXPECT_FALSE(dates.has_value());
}

TEST_F(RideHistoryTest, DatesOfTheLatestRidesStopAtTheFirstRide) {
    AddRide(D(2024, 3, 1), 1);
    AddRide(D(2024, 1, 10), 1);
    AddRide(D(2024, 2, 1), 1);
    AddRide(D(2024, 4, 2), 1);
    struct Row {
        int64_t count;
        Date from;
    };
    const Row rows[] = {{1, D(2024, 4, 2)},
                        {2, D(2024, 3, 1)},
                        {3, D(2024, 2, 1)},
                        {4, D(2024, 1, 10)},
                        {10, D(2024, 1, 10)}};
    for (const Row& r : rows) {
        std::optional<RideDates> dates;
        ASSERT_TRUE(LatestRideDates(db.Table1(), r.count, &dates).ok());
        ASSERT_TRUE(dates.has_value());
        EXPECT_EQ(dates->to, D(2024, 4, 2)) << r.count;
        EXPECT_EQ(dates->from, r.from) << r.count;
    }
}

}  // namespace
}  // namespace kolvio
