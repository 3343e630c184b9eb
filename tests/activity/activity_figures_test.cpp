// The rules that turn samples into the ride's figures.
#include "activity/activity_figures.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace kolvio::activity {
namespace {

constexpr double kStart = 1686349800;  // 2023-06-09 22:30:00 UTC

// Samples one second apart at the speeds given (metres per second), with
// the device's distance, starting at kStart.
std::vector<Sample> BySpeeds(const std::vector<double>& speeds) {
    std::vector<Sample> samples(speeds.size() + 1);
    double distance = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i].time = kStart + static_cast<double>(i);
        if (i > 0) distance += speeds[i - 1];
        samples[i].distance = distance;
    }
    return samples;
}

Activity Of(std::vector<Sample> samples, std::vector<TimerEvent> events = {}) {
    Activity a;
    a.samples = std::move(samples);
    a.timerEvents = std::move(events);
    return a;
}

TEST(RidingTime, TimerStopsAreLeftOut) {
    const Activity a =
        Of(BySpeeds(std::vector<double>(100, 10)), {{kStart + 40, false}, {kStart + 60, true}});
    EXPECT_DOUBLE_EQ(RideTrack(a).ridingSeconds(), 80);
}

TEST(RidingTime, GapsLongerThanTheLimitAreLeftOut) {
    std::vector<Sample> s = BySpeeds({10, 10, 10, 10});
    s[2].time = kStart + 2 + 0;  // intervals: 1, 1, then 10 and 11 seconds below
    for (size_t i = 3; i < s.size(); ++i)
        s[i].time = s[i - 1].time + (i == 3 ? 10 : 11);
    s[3].distance = s[2].distance + 100;  // 10 m/s over the 10-second gap
    s[4].distance = s[3].distance + 110;
    EXPECT_DOUBLE_EQ(RideTrack(Of(s)).ridingSeconds(), 1 + 1 + kLongestSampleGap);
}

TEST(RidingTime, StretchesBelowWalkingSpeedAreLeftOut) {
    // 0.875 m/s is standing or pushing; 1 m/s (3.6 km/h) still counts.
    const Activity a = Of(BySpeeds({5, 0, 0.875, 1.0, 0, 5}));
    EXPECT_DOUBLE_EQ(RideTrack(a).ridingSeconds(), 3);
}

TEST(RidingTime, AnIntervalWithoutAnyMeasureOfMovementIsNotRiding) {
    std::vector<Sample> s(3);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i].time = kStart + static_cast<double>(i);
        s[i].heartRate = 120;
    }
    EXPECT_DOUBLE_EQ(RideTrack(Of(s)).ridingSeconds(), 0);
}

TEST(RidingTime, TheDevicesDistanceIsTrustedBeforePositionsAndSpeeds) {
    std::vector<Sample> s = BySpeeds({8});
    for (Sample& x : s) {
        x.latitude = 50;  // positions that stand still
        x.longitude = 14;
        x.speed = 0;
    }
    const RideTrack track(Of(s));
    ASSERT_EQ(track.intervals().size(), 1u);
    EXPECT_EQ(track.intervals()[0].measure, Measure::kDeviceDistance);
    EXPECT_DOUBLE_EQ(track.intervals()[0].speed, 8);
}

TEST(RidingTime, SamplesOutOfTimeOrderAreTakenInTimeOrder) {
    std::vector<Sample> s = BySpeeds({10, 10, 10});
    std::swap(s[1], s[2]);
    Sample untimed;
    untimed.distance = 5;
    s.push_back(untimed);
    const RideTrack track(Of(s));
    EXPECT_EQ(track.samples().size(), 4u);
    EXPECT_DOUBLE_EQ(track.ridingSeconds(), 3);
}

TEST(MaxSpeed, SpikesOfOneOrTwoSamplesAreIgnored) {
    struct Row {
        std::vector<double> speeds;
        double max;
    };
    const Row rows[] = {
        {{10, 10, 10, 40, 10, 10, 10}, 10},      // one GPS spike
        {{10, 10, 10, 40, 45, 10, 10, 10}, 10},  // a displaced point: two spikes
        {{10, 10, 12, 14, 13, 10, 10}, 12},      // held for three samples of five
        {{10, 11, 12, 20, 20, 20, 11, 10}, 20},  // held: counts in full
        {{7, 30}, 7},                            // fewer than five: the lower middle
        {{7, 9, 30}, 9},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(RobustMaxSpeed(RideTrack(Of(BySpeeds(row.speeds)))), row.max);
    }
}

TEST(MaxSpeed, TheDevicesOwnSpeedIsUsedWhereRecorded) {
    std::vector<Sample> s = BySpeeds({10, 10, 10, 10, 10});
    for (Sample& x : s)
        x.speed = 11;
    EXPECT_DOUBLE_EQ(RobustMaxSpeed(RideTrack(Of(s))), 11);
}

// Heart rate at one-second samples; riding throughout at 10 m/s.
Activity WithHeartRates(const std::vector<double>& rates) {
    std::vector<Sample> s = BySpeeds(std::vector<double>(rates.size() - 1, 10));
    for (size_t i = 0; i < s.size(); ++i)
        s[i].heartRate = rates[i];
    return Of(s);
}

TEST(HeartRate, TimeAboveTheLimitIsExactBetweenSamples) {
    // 140 -> 160 over one second crosses 150 halfway; 160 -> 100 crosses it
    // after a sixth; 150 itself is not above.
    const HeartRateFigures h =
        HeartRateOverRidingTime(RideTrack(WithHeartRates({140, 160, 100, 150, 150})), 150);
    EXPECT_TRUE(h.measured);
    EXPECT_DOUBLE_EQ(h.secondsAbove, 0.5 + 1.0 / 6);
    EXPECT_DOUBLE_EQ(h.average, (150 + 130 + 125 + 150) / 4.0);
    EXPECT_DOUBLE_EQ(h.maximum, 160);
}

TEST(HeartRate, OnlyRidingTimeCountsAndGapsInTheRateAreBridged) {
    Activity a = WithHeartRates({120, 0, 130, kAbsent, kAbsent, 200});
    a.samples[5].distance = a.samples[4].distance;  // the last second stands still
    const HeartRateFigures h = HeartRateOverRidingTime(RideTrack(a), 125);
    // 120 held over the first second (0 is no contact), 130 held over the
    // next, the third has none; 200 lies in a standing second.
    EXPECT_DOUBLE_EQ(h.average, (120 + 130 + 130) / 3.0);
    EXPECT_DOUBLE_EQ(h.maximum, 130);
    EXPECT_DOUBLE_EQ(h.secondsAbove, 2);
}

TEST(HeartRate, NoLimitMeansNothingAboveItAndNoRateMeansNotMeasured) {
    EXPECT_DOUBLE_EQ(HeartRateOverRidingTime(RideTrack(WithHeartRates({140, 160})), 0).secondsAbove,
                     0);
    EXPECT_FALSE(HeartRateOverRidingTime(RideTrack(Of(BySpeeds({10, 10}))), 150).measured);
}

TEST(Distance, TheDevicesFiguresComeFirst) {
    Activity a = Of(BySpeeds({10, 10, 10, 10}));
    a.samples[3].distance = 5;  // the counter started again after 20 m: 5, then 15
    a.samples[4].distance = 15;
    for (Sample& s : a.samples) {
        s.latitude = 0;
        s.longitude = 14;
    }
    DistanceSource source;
    EXPECT_DOUBLE_EQ(RideDistance(a, RideTrack(a), &source), 30);
    EXPECT_EQ(source, DistanceSource::kDeviceDistance);
    a.totals.distance = 1234;
    EXPECT_DOUBLE_EQ(RideDistance(a, RideTrack(a), &source), 1234);
    EXPECT_EQ(source, DistanceSource::kDeviceTotal);
}

TEST(Distance, PositionsCountOnlyWhileRiding) {
    // Along the equator, 0.0001° = 11.1319 m a second; then the GPS drifts
    // 0.5 m a second while the rider stands: not counted.
    std::vector<Sample> s(6);
    const double lons[] = {14, 14.0001, 14.0002, 14.0002045, 14.000209, 14.0003};
    for (size_t i = 0; i < s.size(); ++i) {
        s[i].time = kStart + static_cast<double>(i);
        s[i].latitude = 0;
        s[i].longitude = lons[i];
    }
    const Activity a = Of(s);
    DistanceSource source;
    EXPECT_NEAR(RideDistance(a, RideTrack(a), &source), 11.13195 * 2 + 11.13195 * 0.91, 1e-4);
    EXPECT_EQ(source, DistanceSource::kPositions);
}

TEST(Distance, WithoutDistanceOrPositionsTheSpeedIsIntegrated) {
    std::vector<Sample> s(3);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i].time = kStart + 2.0 * static_cast<double>(i);
        s[i].speed = 5 + static_cast<double>(i);
    }
    const Activity a = Of(s);
    DistanceSource source;
    EXPECT_DOUBLE_EQ(RideDistance(a, RideTrack(a), &source), 2 * 5.5 + 2 * 6.5);
    EXPECT_EQ(source, DistanceSource::kDeviceSpeed);
}

TEST(RideFigures, AreGivenInTheDiarysUnits) {
    setenv("TZ", "Europe/Prague", 1);
    Activity a = WithHeartRates(std::vector<double>(3601, 150));
    a.samples[1800].heartRate = 170;  // above 160 for one second around it
    a.startTime = kStart;
    a.totals.energy = 650;
    const FiguresResult r = WorkOutRideFigures(a, 160, "jizda.gpx");
    ASSERT_TRUE(r.ok()) << r.error;
    const RideFigures& f = r.figures;
    EXPECT_EQ(f.date, (CivilDate{2023, 6, 10}));  // 00:30 in Prague
    EXPECT_DOUBLE_EQ(f.distanceKm, 36);
    EXPECT_DOUBLE_EQ(f.ridingHours, 1);
    EXPECT_DOUBLE_EQ(f.maxSpeedKmh, 36);
    EXPECT_DOUBLE_EQ(f.averageSpeedKmh, 36);
    EXPECT_TRUE(f.heartRateMeasured);
    EXPECT_DOUBLE_EQ(f.maxHeartRate, 170);
    EXPECT_DOUBLE_EQ(f.overLimitHours, 1.0 / 3600);
    EXPECT_DOUBLE_EQ(f.overLimitPercent, 100.0 / 3600);
    EXPECT_EQ(f.energyKcal, 650);
}

TEST(RideFigures, RefuseRecordingsThatHoldNoRide) {
    Activity noSamples;
    Activity noTimes = Of(std::vector<Sample>(3));
    Activity standing = Of(BySpeeds({0, 0, 0}));
    struct Row {
        const Activity* activity;
        const char* words;
    };
    for (const Row& row : {Row{&noSamples, "žádné body"}, Row{&noTimes, "nemají čas"},
                           Row{&standing, "není žádný úsek"}}) {
        const FiguresResult r = WorkOutRideFigures(*row.activity, 150, "a.fit");
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.error.find(row.words), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("\"a.fit\""), std::string::npos) << r.error;
    }
}

}  // namespace
}  // namespace kolvio::activity
