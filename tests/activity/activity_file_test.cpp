// Reading a ride by path: recognising the format, refusing what is no ride,
// and the figures in the diary's units.
#include "activity/activity_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "../data/temp_dir.h"
#include "fit_writer.h"

namespace kolvio::activity {
namespace {

using kolvio::testing::TempDir;

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ActivityFile, RefusesWhatIsNoRideWithTheFilesName) {
    TempDir dir;
    struct Row {
        std::string name, bytes, words;
    };
    const Row rows[] = {
        {"prazdny.fit", "", "je prázdný"},
        {"obrazek.fit", "\x89PNG\r\n\x1a\n0000000000000000", "není záznam jízdy ve formátu FIT"},
        {"text.gpx", "jízda 12 km", "není záznam jízdy ve formátu FIT"},
        {"useknuty.fit", std::string("\x0e\x20\x54\x08", 4), "poškozený nebo zkrácený"},
        {"jina.xml", "<?xml version=\"1.0\"?><kniha/>", "ne záznam jízdy ve formátu TCX"},
    };
    for (const Row& row : rows) {
        const std::string path = dir.file(row.name);
        Write(path, row.bytes);
        const LoadedRide ride = LoadRideFigures(path, 150);
        EXPECT_FALSE(ride.ok()) << row.name;
        EXPECT_NE(ride.error.find(row.words), std::string::npos) << ride.error;
        EXPECT_NE(ride.error.find("\"" + path + "\""), std::string::npos) << ride.error;
    }
}

TEST(ActivityFile, OnlyRegularFilesOfBoundedSizeAreOpened) {
    TempDir dir;
    const std::string fifo = dir.file("roura.gpx");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opening it would block the caller
    const std::string large = dir.file("velky.gpx");
    std::ofstream(large).close();
    std::filesystem::resize_file(large, kMaxFileBytes + 1);  // sparse: costs no disk
    struct Row {
        std::string path, words;
    };
    for (const Row& row :
         {Row{dir.path(), "nelze přečíst"}, Row{dir.file("chybi.fit"), "nelze přečíst"},
          Row{fifo, "nelze přečíst"}, Row{large, "příliš velký"}}) {
        const ActivityResult r = ReadActivityFile(row.path);
        EXPECT_FALSE(r.ok()) << row.path;
        EXPECT_NE(r.error.find(row.words), std::string::npos) << r.error;
    }
}

TEST(ActivityFile, RecognisesTheFormatByContentNotByName) {
    TempDir dir;
    const std::string gpx =
        "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>"
        "<trkpt lat=\"0.01\" lon=\"14\"><time>2023-06-09T22:30:00Z</time></trkpt>"
        "<trkpt lat=\"0.01\" lon=\"14.0001\"><time>2023-06-09T22:30:01Z</time></trkpt>"
        "</trkseg></trk></gpx>";
    Write(dir.file("jizda.fit"), "\xEF\xBB\xBF\n" + gpx);  // a byte-order mark first
    const ActivityResult r = ReadActivityFile(dir.file("jizda.fit"));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.activity.format, ActivityFormat::kGpx);
    EXPECT_EQ(r.activity.samples.size(), 2u);
}

TEST(ActivityFile, LoadsTheFiguresOfAFitRide) {
    setenv("TZ", "Europe/Prague", 1);
    // Half an hour at 8 m/s (28.8 km/h), heart rate 140 then 160.
    Activity a;
    a.startTime = 1686349800;  // 2023-06-09 22:30:00 UTC, 00:30 in Prague
    for (int i = 0; i <= 1800; ++i) {
        Sample s;
        s.time = a.startTime + i;
        s.distance = 8.0 * i;
        s.heartRate = i < 900 ? 140 : 160;
        a.samples.push_back(s);
    }
    a.totals.energy = 420;
    TempDir dir;
    const std::string path = dir.file("jizda.fit");
    Write(path, testing::WriteFitActivity(a, {.compressedTimestamps = true}));
    const LoadedRide ride = LoadRideFigures(path, 150);
    ASSERT_TRUE(ride.ok()) << ride.error;
    EXPECT_TRUE(ride.warnings.empty());
    const RideFigures& f = ride.figures;
    EXPECT_EQ(f.date, (CivilDate{2023, 6, 10}));
    EXPECT_DOUBLE_EQ(f.distanceKm, 14.4);
    EXPECT_DOUBLE_EQ(f.ridingHours, 0.5);
    EXPECT_NEAR(f.maxSpeedKmh, 28.8, 1e-9);
    EXPECT_NEAR(f.averageSpeedKmh, 28.8, 1e-9);
    EXPECT_TRUE(f.heartRateMeasured);
    // 140 for 899 s, the step from 140 to 160 over one second, 160 for 900 s.
    EXPECT_NEAR(f.averageHeartRate, (899 * 140 + 150 + 900 * 160) / 1800.0, 1e-9);
    EXPECT_EQ(f.maxHeartRate, 160);
    EXPECT_NEAR(f.overLimitHours, 900.5 / 3600, 1e-12);
    EXPECT_NEAR(f.overLimitPercent, 900.5 / 1800 * 100, 1e-9);
    EXPECT_EQ(f.energyKcal, 420);
}

TEST(ActivityFile, ErrorsOfTheFiguresNameTheFile) {
    TempDir dir;
    const std::string path = dir.file("trasa.gpx");
    Write(path,
          "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>"
          "<trkpt lat=\"50\" lon=\"14\"/><trkpt lat=\"50.1\" lon=\"14\"/></trkseg></trk></gpx>");
    const LoadedRide ride = LoadRideFigures(path, 150);
    EXPECT_FALSE(ride.ok());
    EXPECT_NE(ride.error.find("nemají čas"), std::string::npos) << ride.error;
    EXPECT_NE(ride.error.find(path), std::string::npos);
}

}  // namespace
}  // namespace kolvio::activity
