#include "rides/ride_figures.h"

#include <gtest/gtest.h>

#include "app/display_format.h"

namespace kolvio {
namespace {

TEST(RideFigures, AverageNeedsARidingTimeAboveZero) {
    EXPECT_NEAR(*AverageSpeed(95.7, 3), 31.9, 1e-12);
    EXPECT_EQ(AverageSpeed(95.7, 0), std::nullopt);
    EXPECT_EQ(AverageSpeed(95.7, -1), std::nullopt);
    EXPECT_EQ(AverageSpeedText(31.9), "31.90");
    EXPECT_EQ(AverageSpeedText(5), " 5.00");
}

TEST(RideFigures, EditorIgnoresRidingTimeChangesBelowTheTolerance) {
    EXPECT_FALSE(RidingTimeChanged(1.5 + 0.00009, 1.5));
    EXPECT_TRUE(RidingTimeChanged(1.5 + 1.0 / 3600, 1.5));
}

TEST(RideFigures, OverLimitTimeAndShareStayInStep) {
    EXPECT_EQ(FormatDuration(OverLimitTime(1.5, 20)), "0:18:00");
    EXPECT_EQ(FormatDuration(OverLimitTime(2, 25)), "0:30:00");
    EXPECT_EQ(FormatDuration(OverLimitTime(1, 25)), "0:15:00");
    EXPECT_EQ(OverLimitTime(1.5, 0), 0);
    EXPECT_NEAR(OverLimitPercent(0.3, 1.5), 20, 1e-12);
    EXPECT_EQ(OverLimitPercent(0.3, 0), 0);  // no division by a zero riding time
    EXPECT_EQ(OverLimitShareText(0.3, 1.5), "20.0");
    EXPECT_EQ(OverLimitShareText(0.0625, 0.5), "12.5");
    EXPECT_EQ(OverLimitShareText(0.01, 1), " 1.0");
    EXPECT_EQ(OverLimitShareText(0.3, 0), "   0");
}

TEST(RideFigures, PercentageWithZeroDivisorIsZero) {
    const HeartRatePercents p = HeartRatePercentages(150, 180, 190, 0);
    EXPECT_NEAR(p.axp, 78.947368421, 1e-8);
    EXPECT_NEAR(p.mxp, 94.736842105, 1e-8);
    EXPECT_EQ(p.alp, 0);
    EXPECT_EQ(p.mlp, 0);
    const HeartRatePercents q = HeartRatePercentages(150, 180, 0, 160);
    EXPECT_EQ(q.axp, 0);
    EXPECT_NEAR(q.mlp, 112.5, 1e-12);
}

TEST(RideFigures, AgeLimitHalvesGoToTheEvenNeighbourWithinBounds) {
    EXPECT_EQ(AgeLimit(30, Sex::kMan), 190);
    EXPECT_EQ(AgeLimit(31, Sex::kMan), 189);    // 189.2
    EXPECT_EQ(AgeLimit(35, Sex::kWoman), 184);  // 184.5
    EXPECT_EQ(AgeLimit(25, Sex::kWoman), 192);  // 191.5
    EXPECT_EQ(AgeLimit(30, Sex::kWoman), 188);
    EXPECT_EQ(AgeLimit(300, Sex::kMan), 20);
    EXPECT_EQ(AgeLimit(-100, Sex::kMan), 250);
    EXPECT_EQ(RoundHalfEven(184.5, 20, 250), 184);
    EXPECT_EQ(RoundHalfEven(185.5, 20, 250), 186);
    EXPECT_EQ(RoundHalfEven(1e300, 20, 250), 250);
}

TEST(RideFigures, TrainingZoneHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(TrainingZones(190, 60), (std::array<int, 6>{125, 138, 151, 164, 170, 177}));
    EXPECT_EQ(TrainingZones(190, 70), (std::array<int, 6>{130, 142, 154, 166, 172, 178}));
    EXPECT_EQ(TrainingZones(150, 150), (std::array<int, 6>{150, 150, 150, 150, 150, 150}));
    // A negative reserve rounds like a positive one: 59.5 -> 60, -1.5 -> -2.
    EXPECT_EQ(TrainingZones(58, 61)[0], 60);
    EXPECT_EQ(TrainingZones(-3, 0)[0], -2);
}

TEST(RideFigures, ZoneGroupsShareTheirInnerBoundsAndTheThresholdEndsAtNinety) {
    const std::array<ZoneBounds, 5> groups = ZoneGroupBounds(190, 60);
    EXPECT_EQ(
        groups,
        (std::array<ZoneBounds, 5>{{{125, 138}, {138, 151}, {151, 164}, {164, 177}, {170, 177}}}));
    EXPECT_EQ(ZoneGroupBounds(190, 70)[4], (ZoneBounds{172, 178}));
}

}  // namespace
}  // namespace kolvio
