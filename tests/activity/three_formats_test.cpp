// One ride in three formats. The test writes a GPX track, Debian's gpsbabel
// converts it into FIT and TCX, and all of them must give the figures worked
// out by hand below.
//
// The track runs east along the parallel 0.01° N, one sample a second,
// starting 2023-06-09 22:30:00 UTC (00:30 on 10 June in Prague):
//
//   t =    0 ..  600  0.0001° a second (11.131 949 m/s = 40.075 km/h); at
//                     t = 300 the position jumps 0.0002° ahead for one
//                     sample (a GPS spike: 120.2 km/h in, back out)
//   t =  600 ..  900  no samples: the device paused (a gap; a new segment)
//   t =  900 ..  960  standing at the same place
//   t =  960 .. 1020  0.00015° a second (16.697 924 m/s = 60.113 km/h)
//   t = 1020 .. 1620  0.0001° a second
//
// One degree of the parallel is N·cos φ·π/180 = 111 319.490 8 m (at
// 0.01° N, N·cos φ differs from the equatorial radius by 1.5e-8).
//
//   riding time   600 + 60 + 600 s = 1260 s = 0.35 h (the gap and the
//                 standing minute are left out)
//   distance      (0.06 + 0.0002 + 0.009 + 0.06)° = 0.1292° = 14.382 478 km
//                 (the spike's detour of 0.0002° is ridden as recorded)
//   average       14.382 478 / 0.35 = 41.092 795 km/h
//   maximum       60.112 527 km/h (the spike of one sample is ignored)
//
// Heart rate: 100 + t up to 160 at t = 60, then 160 to t = 600; 170 while
// standing (no riding time: must not count); 100 rising to 160 over
// 960..1020; 160 to 1500, falling to 100 at 1560, 100 to the end. Linear
// between samples, over the riding time:
//
//   average   (60·130 + 540·160 + 60·130 + 480·160 + 60·130 + 60·100) / 1260
//             = 192 600 / 1260 = 152.857 143 bpm
//   maximum   160 bpm
//   above 150 550 + 10 + 480 + 10 s = 1050 s = 0.291 667 h, 83.333 %
//
// Tolerances: distance 1 m (positions in FIT are rounded to 1/2^31 of a
// half-circle, distances to 1 cm); riding time and time above the limit
// exact to the second; maximum speed 0.05 km/h (FIT and TCX store speed to
// 1 mm/s); average speed 0.01 km/h; average heart rate 0.01 bpm.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "../data/temp_dir.h"
#include "activity/activity_file.h"
#include "fit_writer.h"

namespace kolvio::activity {
namespace {

using kolvio::testing::TempDir;

constexpr double kDistanceKm = 0.1292 * 111319.4908 / 1000;
constexpr double kRidingHours = 0.35;
constexpr double kMaxSpeedKmh = 0.00015 * 111319.4908 * 3.6;
constexpr double kAverageHeartRate = 192600.0 / 1260;
constexpr double kOverLimitHours = 1050.0 / 3600;

struct Point {
    int t;
    double lon;
    int heartRate;
};

std::vector<Point> Track() {
    std::vector<Point> points;
    for (int t = 0; t <= 600; ++t) {
        points.push_back({t, 14 + 0.0001 * t + (t == 300 ? 0.0002 : 0), std::min(100 + t, 160)});
    }
    for (int t = 900; t < 960; ++t)
        points.push_back({t, 14.06, 170});
    for (int t = 960; t <= 1020; ++t)
        points.push_back({t, 14.06 + 0.00015 * (t - 960), 100 + (t - 960)});
    for (int t = 1021; t <= 1620; ++t) {
        const int rate = t <= 1500 ? 160 : t <= 1560 ? 160 - (t - 1500) : 100;
        points.push_back({t, 14.069 + 0.0001 * (t - 1020), rate});
    }
    return points;
}

std::string TimeText(int t) {
    const int seconds = 22 * 3600 + 30 * 60 + t;  // from 2023-06-09 00:00:00 UTC
    const int day = 9 + seconds / 86400;
    const int s = seconds % 86400;
    char text[32];
    std::snprintf(text, sizeof text, "2023-06-%02dT%02d:%02d:%02dZ", day, s / 3600, s / 60 % 60,
                  s % 60);
    return text;
}

std::string Gpx() {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"kolvio test\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\""
           " xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
           "<trk><name>test</name><trkseg>\n";
    for (const Point& p : Track()) {
        if (p.t == 900) out << "</trkseg><trkseg>\n";
        char lon[32];
        std::snprintf(lon, sizeof lon, "%.7f", p.lon);
        out << "<trkpt lat=\"0.0100000\" lon=\"" << lon << "\"><ele>200</ele><time>"
            << TimeText(p.t) << "</time><extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>"
            << p.heartRate << "</gpxtpx:hr></gpxtpx:TrackPointExtension></extensions></trkpt>\n";
    }
    out << "</trkseg></trk></gpx>\n";
    return out.str();
}

bool HaveGpsbabel() {
    return std::system("command -v gpsbabel >/dev/null 2>&1") == 0;
}

void ExpectTrackFigures(const LoadedRide& ride, bool withHeartRate, const std::string& label) {
    SCOPED_TRACE(label);
    ASSERT_TRUE(ride.ok()) << ride.error;
    EXPECT_TRUE(ride.warnings.empty());
    const RideFigures& f = ride.figures;
    EXPECT_EQ(f.date, (CivilDate{2023, 6, 10}));
    EXPECT_NEAR(f.distanceKm, kDistanceKm, 0.001);
    EXPECT_NEAR(f.ridingHours * 3600, kRidingHours * 3600, 0.5);
    EXPECT_NEAR(f.maxSpeedKmh, kMaxSpeedKmh, 0.05);
    EXPECT_NEAR(f.averageSpeedKmh, kDistanceKm / kRidingHours, 0.01);
    EXPECT_EQ(f.heartRateMeasured, withHeartRate);
    if (!withHeartRate) return;
    EXPECT_NEAR(f.averageHeartRate, kAverageHeartRate, 0.01);
    EXPECT_EQ(f.maxHeartRate, 160);
    EXPECT_NEAR(f.overLimitHours * 3600, kOverLimitHours * 3600, 0.5);
    EXPECT_NEAR(f.overLimitPercent, 1050.0 / 1260 * 100, 0.05);
    EXPECT_FALSE(f.energyKcal.has_value());
}

class ThreeFormats : public ::testing::Test {
protected:
    void SetUp() override { setenv("TZ", "Europe/Prague", 1); }
};

TEST_F(ThreeFormats, TheHandWorkedTrackGivesItsFiguresFromGpx) {
    TempDir dir;
    const std::string gpx = dir.file("jizda.gpx");
    std::ofstream(gpx) << Gpx();
    ExpectTrackFigures(LoadRideFigures(gpx, 150), true, "GPX");
}

TEST_F(ThreeFormats, OurFitOfTheTrackGivesTheSameFigures) {
    // The GPX's activity written as FIT by the tests' writer, with heart
    // rate, compressed timestamps and big-endian definitions.
    TempDir dir;
    const std::string gpx = dir.file("jizda.gpx");
    std::ofstream(gpx) << Gpx();
    const ActivityResult read = ReadActivityFile(gpx);
    ASSERT_TRUE(read.ok()) << read.error;
    const std::string fit = dir.file("jizda.fit");
    std::ofstream(fit, std::ios::binary) << testing::WriteFitActivity(
        read.activity, {.compressedTimestamps = true, .bigEndian = true});
    ExpectTrackFigures(LoadRideFigures(fit, 150), true, "FIT");
}

TEST_F(ThreeFormats, GpsbabelsFitAndTcxOfTheTrackGiveTheSameFigures) {
    if (!HaveGpsbabel()) {
        if (std::getenv("CI")) FAIL() << "gpsbabel is missing (tools/debian-packages.txt)";
        GTEST_SKIP() << "gpsbabel is not installed";
    }
    TempDir dir;
    const std::string gpx = dir.file("jizda.gpx");
    std::ofstream(gpx) << Gpx();
    const std::string fit = dir.file("jizda.fit"), tcx = dir.file("jizda.tcx");
    const std::string convert = "gpsbabel -i gpx -f '" + gpx + "' -o garmin_fit -F '" + fit +
                                "' -o gtrnctr -F '" + tcx + "'";
    ASSERT_EQ(std::system(convert.c_str()), 0) << convert;
    // gpsbabel's FIT writer writes courses, whose records carry no heart rate.
    ExpectTrackFigures(LoadRideFigures(fit, 150), false, "gpsbabel FIT");
    ExpectTrackFigures(LoadRideFigures(tcx, 150), true, "gpsbabel TCX");
}

}  // namespace
}  // namespace kolvio::activity
