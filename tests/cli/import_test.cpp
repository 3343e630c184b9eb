// kolvio-db import: rides from device files stored with the remembered
// choices of the new-ride screen, duplicates skipped, refused files leaving
// the diary as it was.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "data/table.h"
#include "tests/activity/ride_track.h"
#include "tests/cli/run_program.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::ProgramRun;
using testing::TempDir;
using testing::TrackSpec;

ProgramRun KolvioDb(const std::vector<std::string>& args) {
    return testing::RunProgram(KOLVIO_DB, args, 60);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

using Ride = std::map<std::string, Value>;

std::vector<Ride> Rides(const std::string& dir) {
    std::vector<Ride> out;
    Table t(dir, "jizdy.dbf");
    EXPECT_TRUE(t.open().ok());
    for (Status st = t.first(); st.ok() && !t.eof(); st = t.next()) {
        Ride ride;
        for (size_t i = 0; i < t.fields().size(); ++i)
            ride[t.fields()[i].name] = t.value(static_cast<int>(i));
        out.push_back(std::move(ride));
    }
    return out;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::HaveGpsbabel()) {
            if (std::getenv("CI")) FAIL() << "gpsbabel is missing (tools/debian-packages.txt)";
            GTEST_SKIP() << "gpsbabel is not installed";
        }
        ASSERT_EQ(KolvioDb({"open", db}).exitCode, 0);
        setenv("KOLVIO_HOME", home.path().c_str(), 1);
        setenv("TZ", "Europe/Prague", 1);
        std::filesystem::create_directory(rides);
    }
    void TearDown() override { unsetenv("KOLVIO_HOME"); }

    // The remembered choices of the new-ride screen.
    void remember(const std::string& lines) {
        std::ofstream(home.file("kolvio.ini")) << "[Nova_jizda]\n" << lines;
    }
    std::string ride(const std::string& name) const { return rides + "/" + name; }

    TempDir parent, home;
    const std::string db = parent.file("db");
    const std::string rides = parent.file("jizdy");
};

TEST_F(ImportTest, AFolderIsStoredWithTheRememberedChoicesAndTheSecondImportSkipsIt) {
    remember("TRNZ=3\nTYP_KOL=2\nTYP_HL=2\n");
    // A ride with heart rate through gpsbabel's TCX, one without through its
    // FIT, one as the GPX itself.
    const std::string gpx1 = parent.file("a.gpx"), gpx2 = parent.file("b.gpx");
    testing::WriteTrackGpx(gpx1, {.day = 12, .seconds = 3600, .heartRate = 140});
    testing::WriteTrackGpx(gpx2, {.day = 14, .seconds = 1800, .metresPerSecond = 10});
    ASSERT_TRUE(testing::ConvertTrack(gpx1, "gtrnctr", ride("a.tcx")));
    ASSERT_TRUE(testing::ConvertTrack(gpx2, "garmin_fit", ride("b.FIT")));
    testing::WriteTrackGpx(ride("c.gpx"), {.day = 15, .seconds = 5400, .metresPerSecond = 6});
    std::ofstream(ride("poznamky.txt")) << "not a ride";  // not taken from a folder

    const ProgramRun first = KolvioDb({"import", db, rides});
    ASSERT_EQ(first.exitCode, 0) << first.out << first.err;
    EXPECT_EQ(CountOf(first.out, "uložena: "), 3u) << first.out;
    EXPECT_TRUE(Contains(first.out, "12.6.2024, 28.80 km, 1:00:00, s tepem")) << first.out;
    EXPECT_TRUE(Contains(first.out, "Uloženo 3, přeskočeno 0, odmítnuto 0.")) << first.out;

    std::vector<Ride> stored = Rides(db);
    ASSERT_EQ(stored.size(), 3u);
    Ride& a = stored[0];
    EXPECT_EQ(a["DATUM"].asDate(), *Date::FromYmd(2024, 6, 12));
    EXPECT_EQ(a["MESIC_C"].asInt(), 2024006);
    EXPECT_NEAR(a["DELKA"].asDouble(), 28.80, 1e-9);
    EXPECT_NEAR(a["CAS"].asDouble(), 1.0, 1e-9);
    EXPECT_NEAR(a["RYCHL_MAX"].asDouble(), 28.8, 1e-9);
    EXPECT_NEAR(a["PRUMER"].asDouble(), 28.8, 1e-6);
    EXPECT_TRUE(a["SR_MER"].asBool());
    EXPECT_EQ(a["SR_AVG"].asDouble(), 140);
    EXPECT_EQ(a["SR_MAX"].asDouble(), 140);
    EXPECT_EQ(a["SR_X"].asDouble(), 190);  // the default age limit
    EXPECT_EQ(a["OSOB"].asInt(), 1);
    // The remembered race type with its first secondary type and route 1,
    // the remembered bike and watch type.
    EXPECT_EQ(a["TRNZ_C"].asInt(), 3);
    EXPECT_EQ(a["TRN_C"].asInt(), 301);
    EXPECT_EQ(a["TRS_C"].asInt(), 1);
    EXPECT_EQ(a["TRS_SMER"].asInt(), 1);
    EXPECT_EQ(a["KOL_C"].asInt(), 2);
    EXPECT_EQ(a["THL_C"].asInt(), 2);
    // gpsbabel's FIT carries no heart rate: an unmeasured ride.
    Ride& b = stored[1];
    EXPECT_NEAR(b["DELKA"].asDouble(), 18.00, 1e-9);
    EXPECT_NEAR(b["CAS"].asDouble(), 0.5, 1e-9);
    EXPECT_FALSE(b["SR_MER"].asBool());
    EXPECT_EQ(b["THL_C"].asInt(), 0);
    EXPECT_TRUE(b["SR_AVG"].isNull());
    EXPECT_NEAR(stored[2]["DELKA"].asDouble(), 32.40, 1e-9);

    const std::string before = Bytes(db + "/jizdy.dbf");
    const ProgramRun second = KolvioDb({"import", db, rides});
    ASSERT_EQ(second.exitCode, 0) << second.out << second.err;
    EXPECT_EQ(CountOf(second.out, "přeskočena: "), 3u) << second.out;
    EXPECT_TRUE(Contains(second.out, "v deníku už je jízda 12.6.2024, 28.80 km, 1:00:00"))
        << second.out;
    EXPECT_EQ(Bytes(db + "/jizdy.dbf"), before);
}

TEST_F(ImportTest, RefusedFilesStoreNothingAndTheExitSaysSo) {
    // Nothing remembered: the ride is preset as a freshly opened new-ride
    // screen presets it; a ride with heart rate takes the first watch type
    // other than "neměřeno".
    const std::string gpx = parent.file("dobra.gpx");
    testing::WriteTrackGpx(gpx, {.day = 20, .seconds = 600, .heartRate = 150});
    ASSERT_TRUE(testing::ConvertTrack(gpx, "garmin_fit", ride("dobra.fit")));
    const std::string fit = Bytes(ride("dobra.fit"));
    std::ofstream(ride("useknuta.fit"), std::ios::binary) << fit.substr(0, fit.size() * 2 / 3);
    std::ofstream(ride("prazdna.gpx"));
    // 150 m/s for a minute: 540 km/h, above the maximum speed the box takes.
    testing::WriteTrackGpx(ride("rychla.gpx"), {.day = 21, .seconds = 60, .metresPerSecond = 150});

    const std::string before = Bytes(db + "/jizdy.dbf");
    const ProgramRun bad =
        KolvioDb({"import", db, ride("useknuta.fit"), ride("prazdna.gpx"), ride("rychla.gpx")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(CountOf(bad.out, "odmítnuta: "), 3u) << bad.out;
    // A file read only in part is never stored.
    EXPECT_TRUE(Contains(bad.out, "useknuta.fit\" je poškozený")) << bad.out;
    EXPECT_TRUE(Contains(bad.out, "prazdna.gpx\" je prázdný")) << bad.out;
    EXPECT_TRUE(Contains(bad.out,
                         "maximální rychlost 540.0 nelze uložit: Zadané číslo: musí být "
                         "menší jak 500"))
        << bad.out;
    EXPECT_EQ(Bytes(db + "/jizdy.dbf"), before);

    // Good and bad together: the good one is stored, the exit still says a
    // file was refused.
    testing::WriteTrackGpx(ride("s_tepem.gpx"), {.day = 22, .seconds = 900, .heartRate = 150});
    const ProgramRun mixed = KolvioDb({"import", db, ride("prazdna.gpx"), ride("s_tepem.gpx")});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_TRUE(Contains(mixed.out, "Uloženo 1, přeskočeno 0, odmítnuto 1.")) << mixed.out;
    std::vector<Ride> stored = Rides(db);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["TRNZ_C"].asInt(), 1);  // "trenažer", the first type
    EXPECT_EQ(stored[0]["TRS_C"].asInt(), 0);
    EXPECT_EQ(stored[0]["TRS_SMER"].asInt(), 0);
    EXPECT_EQ(stored[0]["KOL_C"].asInt(), 1);
    EXPECT_TRUE(stored[0]["SR_MER"].asBool());
    EXPECT_EQ(stored[0]["THL_C"].asInt(), 1);
}

TEST_F(ImportTest, ADirectoryWithoutADatabaseIsRefusedAndNotCreated) {
    testing::WriteTrackGpx(ride("a.gpx"), {});
    const std::string missing = parent.file("preklep");
    const ProgramRun run = KolvioDb({"import", missing, ride("a.gpx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "není databáze")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(KolvioDb({"import", db}).exitCode, 2);
}

TEST(ImportLayering, KolvioDbLoadsNoQt) {
    // kolvio-db starts once per statement in scripts: loading Qt would cost
    // more than most queries. Device files are read with expat.
    FILE* pipe = popen(("ldd '" + std::string(KOLVIO_DB) + "'").c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string libraries;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe))
        libraries += buffer;
    ASSERT_EQ(pclose(pipe), 0) << libraries;
    EXPECT_TRUE(Contains(libraries, "libexpat")) << libraries;
    EXPECT_FALSE(Contains(libraries, "libQt6")) << libraries;
}

}  // namespace
}  // namespace kolvio
