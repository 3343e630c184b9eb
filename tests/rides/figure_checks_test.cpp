#include "rides/figure_checks.h"

#include <gtest/gtest.h>

namespace kolvio {
namespace {

std::string RefusalText(FigureBox box, RideScreen screen, std::string_view text, double hours = 0) {
    return RefusalMessage(box, screen, CheckFigure(box, text, hours).check, text);
}

constexpr auto kNew = RideScreen::kNewRide;
constexpr auto kEdit = RideScreen::kEditor;

TEST(FigureChecks, UpperBoundsAreInclusive) {
    EXPECT_TRUE(CheckFigure(FigureBox::kDistance, "10000").ok());
    EXPECT_EQ(CheckFigure(FigureBox::kDistance, "10000").value, 10000);
    EXPECT_EQ(RefusalText(FigureBox::kDistance, kNew, "10000.01"),
              "Zadané číslo musí být menší jak 10000");
    EXPECT_EQ(RefusalText(FigureBox::kDistance, kEdit, "10000.01"),
              "Zadané číslo: musí být menší jak 10000");
    EXPECT_TRUE(CheckFigure(FigureBox::kMaxSpeed, "500").ok());
    EXPECT_EQ(RefusalText(FigureBox::kMaxSpeed, kNew, "500.1"),
              "Zadané číslo: musí být menší jak 500");
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitShare, "100").ok());
    EXPECT_EQ(RefusalText(FigureBox::kOverLimitShare, kEdit, "100.01"),
              "Zadané číslo musí být menší, nebo rovno 100");
}

TEST(FigureChecks, ZeroIsRefusedExceptForTheShare) {
    EXPECT_EQ(RefusalText(FigureBox::kDistance, kNew, "0"), "Zadané číslo musí být větší jak 0");
    EXPECT_EQ(RefusalText(FigureBox::kDistance, kEdit, "-0"), "Zadané číslo: musí být větší jak 0");
    EXPECT_EQ(RefusalText(FigureBox::kMaxSpeed, kNew, "0"), "Zadané číslo: musí být větší jak 0");
    EXPECT_EQ(RefusalText(FigureBox::kHeartFigure, kEdit, "0"),
              "Zadané číslo musí být větší jak 0");
    EXPECT_TRUE(CheckFigure(FigureBox::kHeartFigure, "1e6").ok());
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitShare, "0").ok());
    EXPECT_EQ(RefusalText(FigureBox::kOverLimitShare, kNew, "-0.1"),
              "Zadané číslo musí být větší, nebo rovno 0");
}

TEST(FigureChecks, CommaAndFractionalRidersAreNotNumbers) {
    EXPECT_EQ(RefusalText(FigureBox::kDistance, kNew, "25,4"), "Toto není přípustné číslo");
    EXPECT_EQ(RefusalText(FigureBox::kRiders, kNew, "1.5"), "Toto není přípustné číslo");
    EXPECT_EQ(RefusalText(FigureBox::kRiders, kNew, "0"), "Zadané číslo musí být větší jak 0");
    EXPECT_EQ(RefusalText(FigureBox::kRiders, kEdit, "0"), "Zadané číslo: musí být větší jak 0");
    EXPECT_EQ(CheckFigure(FigureBox::kRiders, "2").value, 2);
}

TEST(FigureChecks, OverLimitTimeMayEqualButNotExceedTheRidingTime) {
    const double ride = 1.5;
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "1:30:00", ride).ok());
    EXPECT_EQ(RefusalText(FigureBox::kOverLimitTime, kNew, "1:30:01", ride),
              "Zadaný čas nesmí být delší než čas jízdy");
    // A riding time kept by the table with 4 decimals (1:14:04 is 1.23444... h).
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "1:14:04", 1.2344).ok());
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "0:00:00", 0).ok());
    EXPECT_FALSE(CheckFigure(FigureBox::kOverLimitTime, "0:00:01", 0).ok());
    EXPECT_EQ(RefusalText(FigureBox::kRidingTime, kEdit, "0:60:00"),
              "'0:60:00' is not a valid time");
}

// Which refusals beep, and which are errors rather than warnings, differs
// between the two screens.
TEST(FigureChecks, EditorRefusesComputerFiguresWithoutTheBeep) {
    struct Case {
        FigureBox box;
        RideScreen screen;
        const char* text;
        bool error;
        bool beep;
    };
    const Case cases[] = {
        {FigureBox::kDistance, kNew, "0", false, true},
        {FigureBox::kDistance, kEdit, "0", false, false},
        {FigureBox::kMaxSpeed, kEdit, "x", false, false},
        {FigureBox::kRiders, kEdit, "0", false, false},
        {FigureBox::kRiders, kNew, "0", false, true},
        {FigureBox::kHeartFigure, kEdit, "0", false, true},
        {FigureBox::kOverLimitShare, kEdit, "101", false, true},
        {FigureBox::kOverLimitTime, kEdit, "2:00:00", false, true},
        {FigureBox::kRidingTime, kNew, "1:61:00", true, true},
        {FigureBox::kRidingTime, kEdit, "1:61:00", true, true},
        {FigureBox::kOverLimitTime, kNew, "x", true, true},
    };
    for (const Case& c : cases) {
        const FigureEntry entry = CheckFigure(c.box, c.text, 1);
        ASSERT_FALSE(entry.ok()) << c.text;
        const Refusal r = RefusalOf(c.box, c.screen, entry.check, c.text);
        EXPECT_EQ(r.text, RefusalMessage(c.box, c.screen, entry.check, c.text));
        EXPECT_EQ(r.error, c.error) << c.text;
        EXPECT_EQ(r.beep, c.beep) << c.text;
    }
}

TEST(FigureChecks, LongRidingTimesAreAccepted) {
    EXPECT_EQ(CheckFigure(FigureBox::kRidingTime, "36:00:00").value, 36);
    EXPECT_TRUE(CheckFigure(FigureBox::kOverLimitTime, "1den 12:00:00", 36).ok());
    EXPECT_FALSE(CheckFigure(FigureBox::kOverLimitTime, "1den 12:00:01", 36).ok());
}

}  // namespace
}  // namespace kolvio
