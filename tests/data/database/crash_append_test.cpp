// Killing the program while it stores a stream of rides loses no stored ride.
//
// A child opens a new database, builds every index of the ride table so that
// each append keeps all of them current, and appends rides (every tenth
// append also a route with a picture in the memo file). After each post that
// returns it counts the row in memory shared with the parent. Killed at a
// moment that sweeps the stream (kill_moments.h: how many), the next opening
// must succeed and hold every counted row exactly once, in order, with every
// character, plus at most the one row whose post was under way; every index
// lists each row once in its order, and the checker finds no damage.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <new>
#include <optional>

#include "data/database/check.h"
#include "data/database/database.h"
#include "data/file.h"
#include "tests/data/database/kill_moments.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::KillMoments;
using testing::ReportKills;
using testing::RunAndKill;
using testing::Sweep;
using testing::TempDir;
using testing::TimeUnkilled;

constexpr int kRouteEvery = 10;
constexpr int kFirstRouteCode = 1000;
constexpr int kDefaultRoutes = 2;

// 1,000 rides, and ten per moment at scale (10,000 for 1,000 moments).
int StreamLength() {
    return std::max(1000, 10 * KillMoments());
}

// Rows whose post returned, written by the child after each post.
struct Progress {
    std::atomic<int> rides{0};
    std::atomic<int> routes{0};
};

class SharedProgress {
public:
    SharedProgress() {
        void* at = mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        progress_ = at == MAP_FAILED ? nullptr : new (at) Progress;
    }
    ~SharedProgress() {
        if (progress_) munmap(progress_, sizeof(Progress));
    }
    Progress* get() const { return progress_; }

private:
    Progress* progress_;
};

std::string RideText(int i) {
    return "Jízda " + std::to_string(i) + ": Ř ž ť ů ď ó Ú ěščř";
}

double RideKm(int i) {
    return (i * 37 % 1000) * 0.25;
}

Date RideDay(int i) {
    return Date::FromDayNumber(Date::FromYmd(2001, 1, 1)->dayNumber() + i * 7 % 9000);
}

std::string RouteName(int k) {
    return "Přes Říp a Žďár " + std::to_string(k);
}

// A picture of every byte value, of a length that varies from route to route.
std::string RoutePicture(int k) {
    std::string bytes(static_cast<size_t>(1 + k * 97 % 1500), '\0');
    for (size_t b = 0; b < bytes.size(); ++b)
        bytes[b] = static_cast<char>((b * 7 + static_cast<size_t>(k)) & 0xFF);
    return bytes;
}

Status AppendRide(Table& t, int i) {
    KOLVIO_RETURN_IF_ERROR(t.append());
    KOLVIO_RETURN_IF_ERROR(t.setValue("DATUM", RideDay(i)));
    KOLVIO_RETURN_IF_ERROR(t.setValue("DELKA", RideKm(i)));
    KOLVIO_RETURN_IF_ERROR(t.setValue("TRS_C", i % 7));
    KOLVIO_RETURN_IF_ERROR(t.setValue("KOL_C", i % 3));
    KOLVIO_RETURN_IF_ERROR(t.setValue("POPIS1", RideText(i)));
    KOLVIO_RETURN_IF_ERROR(t.setValue("ROK", RideDay(i).year()));
    return t.post();
}

Status AppendRoute(Table& t, int k) {
    KOLVIO_RETURN_IF_ERROR(t.append());
    KOLVIO_RETURN_IF_ERROR(t.setValue("TRS_C", kFirstRouteCode + k));
    KOLVIO_RETURN_IF_ERROR(t.setValue("TRS_MEZI", RouteName(k)));
    KOLVIO_RETURN_IF_ERROR(t.setValue("TRS_OBR", RoutePicture(k)));
    return t.post();
}

// The child: every index of the ride table built, then the stream.
void AppendStream(const std::string& dir, int length, Progress* progress) {
    Database db;
    if (!db.MOtevriNovaDB(dir, OverwritePolicy::kKeepFiles).ok()) return;
    Table& rides = db.Table1();
    for (const IndexDef& def : rides.indexDefs()) {
        if (!rides.setIndexName(def.name).ok()) return;
    }
    if (!rides.setIndexName("").ok()) return;
    for (int i = 0; i < length; ++i) {
        if (!AppendRide(rides, i).ok()) return;
        progress->rides.store(i + 1);
        if (i % kRouteEvery != kRouteEvery - 1) continue;
        const int k = i / kRouteEvery;
        if (!AppendRoute(db.TTRS(), k).ok()) return;
        progress->routes.store(k + 1);
    }
}

// Each index lists every row once, in its order.
void ExpectIndexesInOrder(Table& t, int64_t rows) {
    for (const IndexDef& def : t.indexDefs()) {
        SCOPED_TRACE("index " + def.name);
        ASSERT_TRUE(t.setIndexName(def.name).ok());
        ASSERT_EQ(t.recordCount(), rows);
        std::vector<bool> seen(static_cast<size_t>(rows), false);
        std::optional<double> previous;
        for (Status st = t.first(); !t.eof(); st = t.next()) {
            ASSERT_TRUE(st.ok()) << st.message();
            ASSERT_LT(t.recno(), static_cast<uint32_t>(rows));
            ASSERT_FALSE(seen[t.recno()]) << "row " << t.recno() << " listed twice";
            seen[t.recno()] = true;
            const Value v = t.value(def.expression);
            if (v.isNull()) {
                ASSERT_FALSE(previous.has_value()) << "a null after a value";
                continue;
            }
            const double key = v.isDate() ? v.asDate().dayNumber() : v.asDouble();
            if (previous) {
                ASSERT_LE(*previous, key) << "row " << t.recno();
            }
            previous = key;
        }
    }
    ASSERT_TRUE(t.setIndexName("").ok());
}

class CrashAppendTest : public ::testing::Test {
protected:
    std::string work() const { return tmp.file("work"); }
    std::string templ() const { return tmp.file("template"); }
    void resetWork() {
        std::filesystem::remove_all(work());
        std::filesystem::copy(templ(), work());
    }
    TempDir tmp;
};

TEST_F(CrashAppendTest, AppendStreamKilledAtAnyMomentKeepsEveryStoredRowOnce) {
    {
        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(templ(), OverwritePolicy::kKeepFiles).ok());
        ASSERT_EQ(db.TTRS().recordCount(), kDefaultRoutes);
    }
    SharedProgress shared;
    Progress* progress = shared.get();
    ASSERT_NE(progress, nullptr);
    const int length = StreamLength();
    const auto stream = [&] { AppendStream(work(), length, progress); };
    const auto total = TimeUnkilled(stream, [&] { resetWork(); });

    int killed = 0;
    for (const auto delay : Sweep(total)) {
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " µs");
        resetWork();
        progress->rides = 0;
        progress->routes = 0;
        killed += RunAndKill(stream, delay);
        const int ridesStored = progress->rides;
        const int routesStored = progress->routes;

        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(work(), OverwritePolicy::kKeepFiles).ok());
        Table& rides = db.Table1();
        const int64_t rows = rides.recordCount();
        ASSERT_TRUE(rows == ridesStored || rows == ridesStored + 1)
            << rows << " rows, " << ridesStored << " stored";
        ASSERT_TRUE(rides.first().ok());
        for (int i = 0; i < rows; ++i, (void)rides.next()) {
            ASSERT_EQ(rides.getString("POPIS1"), RideText(i)) << "ride " << i;
            ASSERT_EQ(rides.getDouble("DELKA"), RideKm(i)) << "ride " << i;
            ASSERT_EQ(rides.value("DATUM"), Value(RideDay(i))) << "ride " << i;
        }
        ExpectIndexesInOrder(rides, rows);
        if (::testing::Test::HasFatalFailure()) return;

        Table& routes = db.TTRS();
        const int64_t routeRows = routes.recordCount() - kDefaultRoutes;
        ASSERT_TRUE(routeRows == routesStored || routeRows == routesStored + 1)
            << routeRows << " routes, " << routesStored << " stored";
        for (int k = 0; k < routeRows; ++k) {
            ASSERT_TRUE(routes.moveToRow(kDefaultRoutes + k).ok());
            ASSERT_EQ(routes.getInt("TRS_C"), kFirstRouteCode + k);
            ASSERT_EQ(routes.getString("TRS_MEZI"), RouteName(k)) << "route " << k;
            ASSERT_EQ(routes.getString("TRS_OBR"), RoutePicture(k)) << "route " << k;
        }
        const CheckReport check = CheckDatabase(work());
        ASSERT_TRUE(check.healthy()) << check.damage.front();
    }
    ReportKills("append stream", KillMoments(), killed);
    EXPECT_GT(killed, KillMoments() / 3);
}

}  // namespace
}  // namespace kolvio
