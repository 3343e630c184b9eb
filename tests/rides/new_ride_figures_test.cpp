// The working figures of the new-ride screen: what leaving each box does to
// them, and what a save stores.
#include "rides/new_ride_figures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kolvio {
namespace {

// Leaves every box in turn with a valid text, as a rider fills the screen.
NewRideFigures Filled(const char* distance, const char* time, const char* maxSpeed) {
    NewRideFigures f;
    EXPECT_TRUE(f.leave(RideBox::kETRP, distance).ok());
    EXPECT_TRUE(f.leave(RideBox::kESTP, time).ok());
    EXPECT_TRUE(f.leave(RideBox::kEMAX, maxSpeed).ok());
    return f;
}

Value StoredValue(const FieldChanges& changes, const std::string& field) {
    const auto it = std::find_if(changes.begin(), changes.end(),
                                 [&](const FieldChange& c) { return c.field == field; });
    EXPECT_NE(it, changes.end()) << field;
    return it == changes.end() ? Value() : it->value;
}

TEST(NewRideFigures, AverageFollowsDistanceAndTimeAndIsShownEachTime) {
    NewRideFigures f;
    LeaveResult r = f.leave(RideBox::kETRP, "95.7");
    EXPECT_EQ(r.show.eavs, " 0.00");  // no time yet: the average stays as it was
    r = f.leave(RideBox::kESTP, "3:00:00");
    EXPECT_EQ(r.show.eavs, "31.90");
    EXPECT_NEAR(f.average, 31.9, 1e-12);
    r = f.leave(RideBox::kESTP, "0:00:00");
    EXPECT_EQ(r.show.eavs, "31.90");  // a time of 0 keeps the last average
    EXPECT_EQ(f.hours, 0);
    EXPECT_FALSE(f.leave(RideBox::kEMAX, "80").show.eavs.has_value());
}

TEST(NewRideFigures, OverLimitTimeAndShareStayInStep) {
    NewRideFigures f = Filled("60", "2:00:00", "50");
    EXPECT_EQ(f.leave(RideBox::kSrPlp, "25").show.srPlc, "0:30:00");
    EXPECT_EQ(f.overHours, 0.5);
    // A new riding time carries the share over to the time.
    EXPECT_EQ(f.leave(RideBox::kESTP, "1:00:00").show.srPlc, "0:15:00");
    EXPECT_EQ(f.leave(RideBox::kSrPlp, "0").show.srPlc, "0:00:00");
    EXPECT_EQ(f.overHours, 0);
    f = Filled("60", "1:30:00", "50");
    EXPECT_EQ(f.leave(RideBox::kSrPlc, "0:18:00").show.srPlp, "20.0");
    EXPECT_NEAR(f.share, 20, 1e-12);
    // Equal to the riding time is accepted, one second more is not.
    EXPECT_TRUE(f.leave(RideBox::kSrPlc, "1:30:00").ok());
    EXPECT_EQ(f.leave(RideBox::kSrPlc, "1:30:01").refusal->text,
              "Zadaný čas nesmí být delší než čas jízdy");
    EXPECT_EQ(f.overHours, 1.5);
    EXPECT_EQ(f.share, 100);
}

TEST(NewRideFigures, WorkedOutTextLeftUnchangedKeepsTheExactFigure) {
    NewRideFigures f = Filled("60", "2:00:00", "50");
    // 0:07:24 of 2 hours is 6.1666... percent, shown rounded.
    ASSERT_EQ(f.leave(RideBox::kSrPlc, "0:07:24").show.srPlp, " 6.2");
    const double share = f.share;
    const double over = f.overHours;
    EXPECT_TRUE(f.leave(RideBox::kSrPlp, " 6.2").ok());
    EXPECT_EQ(f.share, share);
    EXPECT_EQ(f.overHours, over);
    // Typing the rounded share is a new share: the time follows it.
    EXPECT_EQ(f.leave(RideBox::kSrPlp, "6.2").show.srPlc, "0:07:26");
    EXPECT_DOUBLE_EQ(f.overHours, 2 * 0.062);
}

TEST(NewRideFigures, RefusedTextKeepsEveryFigure) {
    const NewRideFigures before = Filled("42.5", "1:30:00", "55");
    struct Case {
        RideBox box;
        const char* text;
        const char* message;
        bool error;
    };
    const Case cases[] = {
        {RideBox::kETRP, "25,4", "Toto není přípustné číslo", false},
        {RideBox::kETRP, "0", "Zadané číslo musí být větší jak 0", false},
        {RideBox::kETRP, "10000.01", "Zadané číslo musí být menší jak 10000", false},
        {RideBox::kESTP, "1:60:00", "'1:60:00' is not a valid time", true},
        {RideBox::kEMAX, "0", "Zadané číslo: musí být větší jak 0", false},
        {RideBox::kEMAX, "500.5", "Zadané číslo: musí být menší jak 500", false},
        {RideBox::kSrAvg, "-5", "Zadané číslo musí být větší jak 0", false},
        {RideBox::kSrX, "abc", "Toto není přípustné číslo", false},
        {RideBox::kSrPlp, "-1", "Zadané číslo musí být větší, nebo rovno 0", false},
        {RideBox::kSrPlp, "100.1", "Zadané číslo musí být menší, nebo rovno 100", false},
        {RideBox::kSrPlc, "2:00:00", "Zadaný čas nesmí být delší než čas jízdy", false},
        {RideBox::kRiders, "1.5", "Toto není přípustné číslo", false},
        {RideBox::kRiders, "0", "Zadané číslo musí být větší jak 0", false},
    };
    for (const Case& c : cases) {
        NewRideFigures f = before;
        const LeaveResult r = f.leave(c.box, c.text);
        ASSERT_TRUE(r.refusal.has_value()) << c.text;
        EXPECT_EQ(r.refusal->text, c.message);
        EXPECT_EQ(r.refusal->error, c.error);
        EXPECT_TRUE(r.refusal->beep);
        EXPECT_FALSE(r.show.eavs || r.show.srPlc || r.show.srPlp) << c.text;
        EXPECT_EQ(f.storedValues({}), before.storedValues({})) << c.text;
    }
}

TEST(NewRideFigures, HeartBoxesFeedTheirOwnFigure) {
    NewRideFigures f;
    const std::pair<RideBox, double NewRideFigures::*> boxes[] = {
        {RideBox::kSrAvg, &NewRideFigures::avgRate},
        {RideBox::kSrMax, &NewRideFigures::maxRate},
        {RideBox::kSrKcal, &NewRideFigures::energy},
        {RideBox::kSrX, &NewRideFigures::ageLimit},
        {RideBox::kSrLim, &NewRideFigures::setLimit}};
    double value = 100;
    for (const auto& [box, figure] : boxes) {
        ASSERT_TRUE(f.leave(box, std::to_string(static_cast<int>(++value))).ok());
        EXPECT_EQ(f.*figure, value);
    }
    EXPECT_EQ(f.leave(RideBox::kRiders, "3").value, 3);
}

TEST(NewRideFigures, PresetLimitsAndResetAfterSave) {
    NewRideFigures f = Filled("60", "2:00:00", "50");
    EXPECT_EQ(f.presetAgeLimit(185), "185");
    EXPECT_EQ(f.presetSetLimit(0), "0");
    EXPECT_EQ(f.presetSetLimit(150), "150");
    ASSERT_TRUE(f.leave(RideBox::kSrPlp, "10").ok());
    const double average = f.average;
    f.resetAfterSave();
    EXPECT_EQ(f.ageLimit, 185);
    EXPECT_EQ(f.average, average);
    for (const double v : {f.distance, f.hours, f.maxSpeed, f.avgRate, f.maxRate, f.energy,
                           f.setLimit, f.share, f.overHours}) {
        EXPECT_EQ(v, 0);
    }
    EXPECT_EQ(NewRideFigures::ZeroText(RideBox::kETRP), "0.00");
    EXPECT_EQ(NewRideFigures::ZeroText(RideBox::kESTP), "0:00:00");
    EXPECT_EQ(NewRideFigures::ZeroText(RideBox::kEMAX), "0.0");
    EXPECT_EQ(NewRideFigures::ZeroText(RideBox::kSrPlp), "0");
    EXPECT_EQ(NewRideFigures::ZeroText(RideBox::kSrPlc), "0:00:00");
}

TEST(NewRideFigures, BoxesLeftUntouchedRefuseNothingButATypedZeroIsRefused) {
    // The screen opens with the focus in a zero box; passing through it or
    // any other untouched one asks nothing, before and after a save.
    NewRideFigures f;
    f.presetSetLimit(0);
    for (int round = 0; round < 2; ++round) {
        for (const RideBox box : {RideBox::kETRP, RideBox::kESTP, RideBox::kEMAX, RideBox::kSrAvg,
                                  RideBox::kSrLim, RideBox::kSrPlp, RideBox::kSrPlc}) {
            SCOPED_TRACE(static_cast<int>(box));
            EXPECT_TRUE(f.leave(box, NewRideFigures::ZeroText(box)).ok());
        }
        EXPECT_EQ(f.checkBeforeSave(false), SaveCheck::kZeroComputerFigures);
        f.resetAfterSave();
    }
    EXPECT_FALSE(f.leave(RideBox::kETRP, "0").ok());
    EXPECT_FALSE(f.leave(RideBox::kSrLim, "0.0").ok());
}

TEST(NewRideFigures, SaveRefusesZeroComputerFiguresAndAsksForZeroHeartFigures) {
    EXPECT_EQ(NewRideFigures().checkBeforeSave(false), SaveCheck::kZeroComputerFigures);
    EXPECT_EQ(Filled("60", "0:00:00", "50").checkBeforeSave(false),
              SaveCheck::kZeroComputerFigures);
    NewRideFigures f = Filled("60", "2:00:00", "50");
    EXPECT_EQ(f.checkBeforeSave(false), SaveCheck::kOk);
    EXPECT_EQ(f.checkBeforeSave(true), SaveCheck::kZeroHeartFigures);
    for (const RideBox box : {RideBox::kSrAvg, RideBox::kSrMax, RideBox::kSrKcal})
        ASSERT_TRUE(f.leave(box, "140").ok());
    EXPECT_EQ(f.checkBeforeSave(true), SaveCheck::kZeroHeartFigures);  // set limit 0
    ASSERT_TRUE(f.leave(RideBox::kSrLim, "160").ok());
    EXPECT_EQ(f.checkBeforeSave(true), SaveCheck::kOk);
}

TEST(NewRideFigures, StoredRideHasItsDateMonthAndYearInStep) {
    NewRideFigures f = Filled("95.7", "3:00:00", "52.1");
    const Date day = *Date::FromYmd(2003, 5, 31);
    const FieldChanges row = f.storedValues({false, 2, "Okolo Brna", day});
    EXPECT_EQ(StoredValue(row, "DATUM"), Value(day));
    EXPECT_EQ(StoredValue(row, "MESIC_C"), Value(2003005));
    EXPECT_EQ(StoredValue(row, "ROK"), Value(2003));
    EXPECT_EQ(StoredValue(row, "OSOB"), Value(2));
    EXPECT_EQ(StoredValue(row, "POPIS1"), Value("Okolo Brna"));
    EXPECT_NEAR(StoredValue(row, "PRUMER").asDouble(), 31.9, 1e-12);
    // Unmeasured: watch type 0 and every heart-rate figure empty.
    EXPECT_EQ(StoredValue(row, "SR_MER"), Value(false));
    EXPECT_EQ(StoredValue(row, "THL_C"), Value(0));
    for (const char* field : {"SR_AVG", "SR_MAX", "SR_KCAL", "SR_X", "SR_LIM", "SR_PLP", "SR_PLC",
                              "SR_AXP", "SR_ALP", "SR_MXP", "SR_MLP"}) {
        EXPECT_TRUE(StoredValue(row, field).isNull()) << field;
    }
}

TEST(NewRideFigures, MeasuredRideStoresPercentagesAndZeroDivisorsAsZero) {
    NewRideFigures f = Filled("60", "2:00:00", "50");
    f.presetAgeLimit(190);
    ASSERT_TRUE(f.leave(RideBox::kSrAvg, "150").ok());
    ASSERT_TRUE(f.leave(RideBox::kSrMax, "180").ok());
    ASSERT_TRUE(f.leave(RideBox::kSrPlp, "20").ok());
    const FieldChanges row = f.storedValues({true, 1, "", *Date::FromYmd(2024, 1, 2)});
    EXPECT_NEAR(StoredValue(row, "SR_AXP").asDouble(), 78.947368421, 1e-8);
    EXPECT_NEAR(StoredValue(row, "SR_MXP").asDouble(), 94.736842105, 1e-8);
    EXPECT_EQ(StoredValue(row, "SR_ALP"), Value(0.0));
    EXPECT_EQ(StoredValue(row, "SR_MLP"), Value(0.0));
    EXPECT_EQ(StoredValue(row, "SR_PLC"), Value(0.4));
    EXPECT_EQ(StoredValue(row, "SR_X"), Value(190.0));
    // The watch type is the lookups' business.
    EXPECT_TRUE(std::none_of(row.begin(), row.end(),
                             [](const FieldChange& c) { return c.field == "THL_C"; }));
}

}  // namespace
}  // namespace kolvio
