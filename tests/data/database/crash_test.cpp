// Killing the program in the middle of an upgrade or a pack loses nothing.
//
// A child process opens (and so upgrades) or packs a database and is killed
// with SIGKILL after a delay that sweeps the whole length of the operation,
// as timed on an unkilled run. After every kill the next opening must
// succeed with every row and every character as it should be: no row lost,
// no table converted twice (that would turn "Ř" into "ü").
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "data/database/database.h"
#include "data/file.h"
#include "tests/data/database/old_database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::OldRide;
using testing::TempDir;
using Clock = std::chrono::steady_clock;

constexpr int kRides = 1500;
#ifdef __SANITIZE_ADDRESS__
constexpr int kRuns = 10;  // the sanitizers slow every run down many times
#else
constexpr int kRuns = 20;
#endif

std::string RideText(int i) {
    return "Jízda " + std::to_string(i) + ": ŘÝ žluťoučký kůň úpěl ďábelské ódy";
}

void CopyDirectory(const std::string& from, const std::string& to) {
    std::filesystem::remove_all(to);
    std::filesystem::copy(from, to);
}

// Runs `work` in a child killed after `delay` unless it ends first; true
// when it was killed before finishing.
bool RunAndKill(const std::function<void()>& work, std::chrono::microseconds delay) {
    const auto deadline = Clock::now() + delay;
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    while (Clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

// How long `work` takes in a child: the median of three runs.
std::chrono::microseconds TimeUnkilled(const std::function<void()>& work,
                                       const std::function<void()>& reset) {
    std::vector<std::chrono::microseconds> times;
    for (int i = 0; i < 3; ++i) {
        reset();
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            work();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        times.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[1];
}

// Delays covering [0, total] evenly, each at a random place in its slot.
std::vector<std::chrono::microseconds> Sweep(std::chrono::microseconds total) {
    std::mt19937 rng(20030501);
    std::uniform_real_distribution<double> within(0, 1);
    std::vector<std::chrono::microseconds> delays;
    for (int k = 0; k < kRuns; ++k) {
        const double at = (k + within(rng)) / kRuns * static_cast<double>(total.count());
        delays.emplace_back(static_cast<int64_t>(at));
    }
    return delays;
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
        ASSERT_TRUE(db.TTRS().locate("TRS_C", 2));
        EXPECT_EQ(db.TTRS().getString("TRS_MEZI"), testing::kOldRouteNames[2]);
        EXPECT_EQ(db.TTRS().getString("TRS_OBR"), testing::kOldRoutePicture);
        ASSERT_TRUE(db.TTKOL().locate("KOL_C", 2));
        EXPECT_EQ(db.TTKOL().getString("KOL_ZNA"), "Škoda");
        EXPECT_EQ(db.TTHLD().recordCount(), 3);
    }
    EXPECT_GT(killed, kRuns / 3);  // kills landed inside the operation
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
        ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2));
        EXPECT_EQ(db.TTRN().recordCount(), 4);
        EXPECT_EQ(db.TTKOL().recordCount(), 2);
        EXPECT_EQ(db.TTRS().recordCount(), 2);
        EXPECT_EQ(db.TTHLD().recordCount(), 3);
        EXPECT_FALSE(CreationInterrupted(work()));
    }
    EXPECT_GT(killed, kRuns / 3);
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
        ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2));
        EXPECT_EQ(db.TTRN().recordCount(), 4);  // the detail link survived
    }
    EXPECT_GT(killed, kRuns / 3);
}

}  // namespace
}  // namespace kolvio
