// The ride editor's rules: which fields leaving a box changes, the texts the
// boxes show, the primary-type route rule and the check before storing.
#include "rides/ride_edit_rules.h"

#include <gtest/gtest.h>

#include "rides/figure_input.h"

namespace kolvio {
namespace {

RideFigures Ride() {
    RideFigures r;
    r.delka = 42.123;
    r.cas = 1.5;
    r.rychlMax = 48.4;
    r.prumer = r.delka / r.cas;
    r.osob = 1;
    r.srAvg = 150;
    r.srMax = 180;
    r.srKcal = 900;
    r.srX = 190;
    r.srLim = 160;
    r.srPlp = 20;
    r.srPlc = 0.3;
    return r;
}

FieldChanges Changes(RideBox box, const char* text, const RideFigures& ride = Ride(),
                     const char* shown = "shown before") {
    const EditorLeave leave = LeaveEditorBox(box, text, shown, ride);
    EXPECT_FALSE(leave.refusal.has_value()) << text << ": " << leave.refusal->text;
    return leave.changes;
}

std::vector<std::string> Fields(const FieldChanges& changes) {
    std::vector<std::string> out;
    for (const FieldChange& c : changes)
        out.push_back(c.field);
    return out;
}

using Names = std::vector<std::string>;

TEST(EditorLeave, BoxLeftWithItsShownTextChangesNothing) {
    // 42.123 is shown as 42.12 and a time of 1.50013 h as 1:30:00: reading
    // those texts back would change the ride.
    RideFigures ride = Ride();
    ride.cas = 1.50013;
    EXPECT_TRUE(Changes(RideBox::kETRP, "42.12", ride, "42.12").empty());
    EXPECT_TRUE(Changes(RideBox::kESTP, "1:30:00", ride, "1:30:00").empty());
    // Even an empty box of an empty field, which would not read as a number.
    const EditorLeave empty = LeaveEditorBox(RideBox::kSrKcal, "", "", ride);
    EXPECT_FALSE(empty.refusal.has_value());
    EXPECT_TRUE(empty.changes.empty());
}

TEST(EditorLeave, SameFigureTypedAgainChangesNothing) {
    EXPECT_TRUE(Changes(RideBox::kETRP, "42.123").empty());
    EXPECT_TRUE(Changes(RideBox::kEMAX, "48.4").empty());
    EXPECT_TRUE(Changes(RideBox::kRiders, "1").empty());
    EXPECT_TRUE(Changes(RideBox::kSrPlp, "20").empty());
    // Within 0.0001 hour of the stored riding time.
    RideFigures ride = Ride();
    ride.cas = 1.5 + 0.00009;
    EXPECT_TRUE(Changes(RideBox::kESTP, "1:30:00", ride).empty());
}

TEST(EditorLeave, DistanceOrTimeReworksTheAverage) {
    FieldChanges c = Changes(RideBox::kETRP, "45");
    ASSERT_EQ(Fields(c), (Names{"DELKA", "PRUMER"}));
    EXPECT_EQ(c[1].value, Value(30.0));
    c = Changes(RideBox::kESTP, "1:30:01");
    ASSERT_EQ(Fields(c), (Names{"CAS", "PRUMER"}));
    EXPECT_NEAR(c[1].value.asDouble(), 42.123 / (1.5 + 1.0 / 3600), 1e-12);
    // The editor stores no average for a riding time of 0.
    c = Changes(RideBox::kESTP, "0:00:00");
    EXPECT_EQ(c[1].value, Value(0.0));
    // The over-limit figures stay as they were.
    EXPECT_EQ(Fields(Changes(RideBox::kESTP, "3:00:00")), (Names{"CAS", "PRUMER"}));
}

TEST(EditorLeave, HeartRatesAndLimitsReworkThePercentagesButEnergyDoesNot) {
    FieldChanges c = Changes(RideBox::kSrLim, "150");
    ASSERT_EQ(Fields(c), (Names{"SR_LIM", "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}));
    EXPECT_NEAR(c[1].value.asDouble(), 150.0 / 190 * 100, 1e-12);
    EXPECT_EQ(c[2].value, Value(100.0));
    EXPECT_EQ(c[4].value, Value(120.0));
    EXPECT_EQ(Fields(Changes(RideBox::kSrKcal, "950")), (Names{"SR_KCAL"}));
    for (const RideBox box : {RideBox::kSrAvg, RideBox::kSrMax, RideBox::kSrX}) {
        EXPECT_EQ(Changes(box, "120").size(), 5u) << static_cast<int>(box);
    }
}

TEST(EditorLeave, OverLimitShareAndTimeFollowEachOther) {
    FieldChanges c = Changes(RideBox::kSrPlp, "0");
    ASSERT_EQ(Fields(c), (Names{"SR_PLP", "SR_PLC"}));
    EXPECT_EQ(c[1].value, Value(0.0));
    c = Changes(RideBox::kSrPlp, "40");
    EXPECT_EQ(c[1].value, Value(0.6));
    c = Changes(RideBox::kSrPlc, "0:45:00");
    ASSERT_EQ(Fields(c), (Names{"SR_PLC", "SR_PLP"}));
    EXPECT_EQ(c[1].value, Value(50.0));
    // No riding time: only 0:00:00 can be typed, and the share is 0.
    RideFigures ride = Ride();
    ride.cas = 0;
    EXPECT_EQ(LeaveEditorBox(RideBox::kSrPlc, "0:00:01", "", ride).refusal->text,
              "Zadaný čas nesmí být delší než čas jízdy");
    c = Changes(RideBox::kSrPlc, "0:00:00", ride);
    ASSERT_EQ(Fields(c), (Names{"SR_PLC", "SR_PLP"}));
    EXPECT_EQ(c[1].value, Value(0.0));
}

TEST(EditorLeave, RefusalsUseTheEditorsWordingAndChangeNothing) {
    const struct {
        RideBox box;
        const char* text;
        const char* message;
        bool beep;
    } cases[] = {
        {RideBox::kETRP, "0", "Zadané číslo: musí být větší jak 0", false},
        {RideBox::kETRP, "10001", "Zadané číslo: musí být menší jak 10000", false},
        {RideBox::kEMAX, "501", "Zadané číslo: musí být menší jak 500", false},
        {RideBox::kRiders, "0", "Zadané číslo: musí být větší jak 0", false},
        {RideBox::kRiders, "x", "Toto není přípustné číslo", false},
        {RideBox::kSrAvg, "0", "Zadané číslo musí být větší jak 0", true},
        {RideBox::kSrPlp, "101", "Zadané číslo musí být menší, nebo rovno 100", true},
        {RideBox::kESTP, "1:5", "'1:5' is not a valid time", true},
    };
    for (const auto& c : cases) {
        const EditorLeave leave = LeaveEditorBox(c.box, c.text, "", Ride());
        ASSERT_TRUE(leave.refusal.has_value()) << c.text;
        EXPECT_EQ(leave.refusal->text, c.message);
        EXPECT_EQ(leave.refusal->beep, c.beep) << c.text;
        EXPECT_TRUE(leave.changes.empty());
    }
}

TEST(EditorBoxText, ShownTextsLoseTheirPaddingAndReadBack) {
    const DisplaySettings s;
    EXPECT_EQ(EditorBoxText(RideBox::kETRP, Value(42.5), s), "42.50");
    EXPECT_EQ(EditorBoxText(RideBox::kEMAX, Value(48.44), s), "48.4");
    EXPECT_EQ(EditorBoxText(RideBox::kSrPlp, Value(12.345), s), "12");
    EXPECT_EQ(EditorBoxText(RideBox::kSrAvg, Value(150.0), s), "150");
    EXPECT_EQ(EditorBoxText(RideBox::kRiders, Value(3.0), s), "3");
    EXPECT_EQ(EditorBoxText(RideBox::kESTP, Value(25.25), s), "1den 1:15:00");
    EXPECT_EQ(EditorBoxText(RideBox::kSrPlc, Value(), s), "");
    EXPECT_EQ(EditorBoxText(RideBox::kESTP, Value(), s), "");
    // Every shown figure reads back as a figure of its box.
    for (const RideBox box :
         {RideBox::kETRP, RideBox::kESTP, RideBox::kEMAX, RideBox::kSrAvg, RideBox::kSrKcal,
          RideBox::kSrPlp, RideBox::kSrPlc, RideBox::kRiders}) {
        for (const double v : {0.5, 1.0, 12.345, 99.95, 250.0, 9999.5}) {
            const std::string text = EditorBoxText(box, Value(v), s);
            const bool time = box == RideBox::kESTP || box == RideBox::kSrPlc;
            const bool reads =
                time ? ParseDuration(text).has_value() : ParseDecimal(text).has_value();
            EXPECT_TRUE(reads) << text;
        }
    }
}

TEST(RouteForPrimaryType, TypeWithoutRoutesClearsTheRouteAndTheOtherGivesRouteOne) {
    using S = RideScreen;
    EXPECT_EQ(RouteForPrimaryType(S::kNewRide, true, {5, 2}, true), (RouteFields{0, 0}));
    EXPECT_EQ(RouteForPrimaryType(S::kEditor, true, {5, 2}, false), (RouteFields{0, 0}));
    EXPECT_EQ(RouteForPrimaryType(S::kNewRide, false, {0, 0}, true), (RouteFields{1, 1}));
    EXPECT_EQ(RouteForPrimaryType(S::kNewRide, false, {5, 1}, false), (RouteFields{5, 2}));
    EXPECT_EQ(RouteForPrimaryType(S::kEditor, false, {0, 0}, false), (RouteFields{1, 1}));
    EXPECT_EQ(RouteForPrimaryType(S::kEditor, false, {5, 2}, true), (RouteFields{5, 2}));
}

TEST(DateDerivedChanges, MonthCodeAndYearFollowTheDate) {
    const FieldChanges c = DateDerivedChanges(Value(*Date::FromYmd(2001, 12, 31)));
    EXPECT_EQ(c, (FieldChanges{{"MESIC_C", Value(2001012)}, {"ROK", Value(2001)}}));
    EXPECT_EQ(DateDerivedChanges(Value()), (FieldChanges{{"MESIC_C", Value()}, {"ROK", Value()}}));
}

TEST(CheckBeforeStoring, MeasuredRideNeedsAWatchType) {
    EXPECT_EQ(CheckBeforeStoring(false, 2), StoreCheck::kStoreUnmeasured);
    EXPECT_EQ(CheckBeforeStoring(false, 0), StoreCheck::kStoreUnmeasured);
    EXPECT_EQ(CheckBeforeStoring(true, 1), StoreCheck::kStore);
    EXPECT_EQ(CheckBeforeStoring(true, 0), StoreCheck::kRefuseWatchType);
}

}  // namespace
}  // namespace kolvio
