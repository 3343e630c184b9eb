// Killing the program in the middle of an upgrade or a pack loses nothing.
//
// A child process opens (and so upgrades) or packs a database and is killed
// with SIGKILL after a delay that sweeps the whole length of the operation,
// as timed on an unkilled run (kill_moments.h: how many moments). After every kill the next opening
// must succeed with every row and every character as it should be: no row lost, no table converted
// twice (that would turn "Ř" into "ü").
#include <gtest/gtest.h>

#include <filesystem>

#include "data/database/database.h"
#include "data/file.h"
#include "tests/data/database/kill_moments.h"
#include "tests/data/database/old_database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::KillMoments;
using testing::OldRide;
using testing::ReportKills;
using testing::RunAndKill;
using testing::Sweep;
using testing::TempDir;
using testing::TimeUnkilled;

constexpr int kRides = 1500;

std::string RideText(int i) {
    return "Jízda " + std::to_string(i) + ": ŘÝ žluťoučký kůň úpěl ďábelské ódy";
}

void CopyDirectory(const std::string& from, const std::string& to) {
    std::filesystem::remove_all(to);
    std::filesystem::copy(from, to);
}

void OpenInChild(const std::string& dir) {
    Database db;
    (void)db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles);
}

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MakeDirectories(tmp.file("empty")).ok()); }
    std::string work() const { return tmp.file("work"); }
    std::string templ() const { return tmp.file("template"); }
    TempDir tmp;
};

TEST_F(CrashTest, UpgradeKilledAtAnyMomentIsCompletedByTheNextOpening) {
    std::vector<OldRide> rides;
    for (int i = 0; i < kRides; ++i) {
        rides.push_back({2000 + i % 20, 1 + i % 12, 1 + i % 28, 1, 1, 2, 201, 1, i * 0.25, 1, 40,
                         20, 1, RideText(i), false});
    }
    ASSERT_TRUE(MakeDirectories(templ()).ok());
    ASSERT_TRUE(testing::WriteOldDatabase(templ(), rides).ok());
    const auto total =
        TimeUnkilled([&] { OpenInChild(work()); }, [&] { CopyDirectory(templ(), work()); });

    int killed = 0;
    for (const auto delay : Sweep(total)) {
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " µs");
        CopyDirectory(templ(), work());
        killed += RunAndKill([&] { OpenInChild(work()); }, delay);

        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(work(), OverwritePolicy::kKeepFiles).ok());
        Table& t = db.Table1();
        ASSERT_EQ(t.recordCount(), kRides);
        ASSERT_TRUE(t.first().ok());
        for (int i = 0; i < kRides; ++i, (void)t.next()) {
            ASSERT_EQ(t.getString("POPIS1"), RideText(i)) << "row " << i;
            ASSERT_EQ(t.getDouble("DELKA"), i * 0.25);
            ASSERT_EQ(t.getInt("ROK"), 2000 + i % 20);
            ASSERT_FALSE(t.isNull("THL_C"));
            ASSERT_FALSE(t.isNull("SR_MER"));
        }
        ASSERT_TRUE(db.TTRS().locate("TRS_C", 2).ok());
        EXPECT_EQ(db.TTRS().getString("TRS_MEZI"), testing::kOldRouteNames[2]);
        EXPECT_EQ(db.TTRS().getString("TRS_OBR"), testing::kOldRoutePicture);
        ASSERT_TRUE(db.TTKOL().locate("KOL_C", 2).ok());
        EXPECT_EQ(db.TTKOL().getString("KOL_ZNA"), "Škoda");
        EXPECT_EQ(db.TTHLD().recordCount(), 3);
    }
    ReportKills("upgrade", KillMoments(), killed);
    EXPECT_GT(killed, KillMoments() / 3);  // kills landed inside the operation
}

TEST_F(CrashTest, CreationKilledAtAnyMomentEndsWithEveryDefaultRow) {
    const auto total = TimeUnkilled([&] { OpenInChild(work()); },
                                    [&] { CopyDirectory(tmp.file("empty"), work()); });
    int killed = 0;
    for (const auto delay : Sweep(total)) {
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " µs");
        CopyDirectory(tmp.file("empty"), work());
        killed += RunAndKill([&] { OpenInChild(work()); }, delay);

        // Also with one to four tables in place: they are the program's own.
        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(work(), OverwritePolicy::kKeepFiles).ok());
        EXPECT_EQ(db.Table1().recordCount(), 0);
        EXPECT_EQ(db.TTRNZ().recordCount(), 3);
        ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2).ok());
        EXPECT_EQ(db.TTRN().recordCount(), 4);
        EXPECT_EQ(db.TTKOL().recordCount(), 2);
        EXPECT_EQ(db.TTRS().recordCount(), 2);
        EXPECT_EQ(db.TTHLD().recordCount(), 3);
        EXPECT_FALSE(CreationInterrupted(work()));
    }
    ReportKills("creation", KillMoments(), killed);
    EXPECT_GT(killed, KillMoments() / 3);
}

TEST_F(CrashTest, PackKilledAtAnyMomentLosesNoRide) {
    std::vector<double> kept;
    {
        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(templ(), OverwritePolicy::kKeepFiles).ok());
        Table& t = db.Table1();
        for (int i = 0; i < kRides * 4; ++i) {
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("DELKA", i).ok());
            ASSERT_TRUE(t.setValue("POPIS1", RideText(i)).ok());
            ASSERT_TRUE(t.post().ok());
        }
        for (int i = kRides * 4 - 1; i >= 0; --i) {
            if (i % 10 != 3) {
                kept.insert(kept.begin(), i);
                continue;
            }
            ASSERT_TRUE(t.moveToRow(i).ok());
            ASSERT_TRUE(t.deleteRecord().ok());
        }
    }
    const auto pack = [&] {
        Database db;
        if (db.MOtevriNovaDB(work(), OverwritePolicy::kKeepFiles).ok()) (void)db.CompactDatabase();
    };
    const auto total = TimeUnkilled(pack, [&] { CopyDirectory(templ(), work()); });

    int killed = 0;
    for (const auto delay : Sweep(total)) {
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " µs");
        CopyDirectory(templ(), work());
        killed += RunAndKill(pack, delay);

        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(work(), OverwritePolicy::kKeepFiles).ok());
        Table& t = db.Table1();
        ASSERT_EQ(t.recordCount(), static_cast<int64_t>(kept.size()));
        ASSERT_TRUE(t.first().ok());
        for (double km : kept) {
            ASSERT_EQ(t.getDouble("DELKA"), km);
            ASSERT_EQ(t.getString("POPIS1"), RideText(static_cast<int>(km)));
            ASSERT_TRUE(t.next().ok());
        }
        EXPECT_EQ(db.TTHLD().recordCount(), 3);
        ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2).ok());
        EXPECT_EQ(db.TTRN().recordCount(), 4);  // the detail link survived
    }
    ReportKills("pack", KillMoments(), killed);
    EXPECT_GT(killed, KillMoments() / 3);
}

}  // namespace
}  // namespace kolvio
