#include "rides/figure_checks.h"

#include <gtest/gtest.h>

namespace kolvio {
namespace {

std::string Refusal(FigureBox box, RideScreen screen, std::string_view text, double hours = 0) {
    return RefusalMessage(box, screen, CheckFigure(box, text, hours).check, text);
}

constexpr auto kNew = RideScreen::kNewRide;
constexpr auto kEdit = RideScreen::kEditor;

TEST(FigureChecks, UpperBoundsAreInclusive) {
    EXPECT_TRUE(CheckFigure(FigureBox::kDistance, "10000").ok());
    EXPECT_EQ(CheckFigure(FigureBox::kDistance, "10000").value, 10000);
    EXPECT_EQ(Refusal(FigureBox::kDistance, kNew, "10000.01"),
              "Zadané číslo musí být menší jak 10000");
    EXPECT_EQ(Refusal(FigureBox::kDistance, kEdit, "10000.01"),
              "Zadané číslo: musí být menší jak 10000");
    EXPECT_TRUE(CheckFigure(FigureBox::kMaxSpeed, "500").ok());
    EXPECT_EQ(Refusal(FigureBox::kMaxSpeed, kNew, "500.1"), "Zadané číslo: musí být menší jak 500");
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitShare, "100").ok());
    EXPECT_EQ(Refusal(FigureBox::kOverLimitShare, kEdit, "100.01"),
              "Zadané číslo musí být menší, nebo rovno 100");
}

TEST(FigureChecks, ZeroIsRefusedExceptForTheShare) {
    EXPECT_EQ(Refusal(FigureBox::kDistance, kNew, "0"), "Zadané číslo musí být větší jak 0");
    EXPECT_EQ(Refusal(FigureBox::kDistance, kEdit, "-0"), "Zadané číslo: musí být větší jak 0");
    EXPECT_EQ(Refusal(FigureBox::kMaxSpeed, kNew, "0"), "Zadané číslo: musí být větší jak 0");
    EXPECT_EQ(Refusal(FigureBox::kHeartFigure, kEdit, "0"), "Zadané číslo musí být větší jak 0");
    EXPECT_TRUE(CheckFigure(FigureBox::kHeartFigure, "1e6").ok());
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitShare, "0").ok());
    EXPECT_EQ(Refusal(FigureBox::kOverLimitShare, kNew, "-0.1"),
              "Zadané číslo musí být větší, nebo rovno 0");
}

TEST(FigureChecks, CommaAndFractionalRidersAreNotNumbers) {
    EXPECT_EQ(Refusal(FigureBox::kDistance, kNew, "25,4"), "Toto není přípustné číslo");
    EXPECT_EQ(Refusal(FigureBox::kRiders, kNew, "1.5"), "Toto není přípustné číslo");
    EXPECT_EQ(Refusal(FigureBox::kRiders, kNew, "0"), "Zadané číslo musí být větší jak 0");
    EXPECT_EQ(Refusal(FigureBox::kRiders, kEdit, "0"), "Zadané číslo: musí být větší jak 0");
    EXPECT_EQ(CheckFigure(FigureBox::kRiders, "2").value, 2);
}

TEST(FigureChecks, OverLimitTimeMayEqualButNotExceedTheRidingTime) {
    const double ride = 1.5;
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "1:30:00", ride).ok());
    EXPECT_EQ(Refusal(FigureBox::kOverLimitTime, kNew, "1:30:01", ride),
              "Zadaný čas nesmí být delší než čas jízdy");
    // A riding time kept by the table with 4 decimals (1:14:04 is 1.23444... h).
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "1:14:04", 1.2344).ok());
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "0:00:00", 0).ok());
    EXPECT_FALSE(CheckFigure(FigureBox::kOverLimitTime, "0:00:01", 0).ok());
    EXPECT_EQ(Refusal(FigureBox::kRidingTime, kEdit, "0:60:00"), "'0:60:00' is not a valid time");
}

}  // namespace
}  // namespace kolvio
