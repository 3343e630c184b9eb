// Zone maps: which blocks a filter may skip, MIN/MAX from zones, and never
// trusting what was learned about a file that has changed since.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/sql/answer_cache.h"
#include "data/sql/binder/bound_expr.h"
#include "data/sql/execution/zone_pruning.h"
#include "data/sql/sql_engine.h"
#include "data/summary/summary_file.h"
#include "data/table.h"
#include "data/temp_dir.h"
#include "diary_fixture.h"

namespace kolvio::sql {
namespace {

using BK = BoundExpr::Kind;

BoundExprPtr Slot(int s) {
    return MakeSlot(s, SqlType::kNumber);
}
BoundExprPtr Const(double v) {
    auto e = MakeBound(BK::kConstant, SqlType::kNumber, {});
    e->constant = Value(v);
    return e;
}
BoundExprPtr Binary(BK kind, BoundExprPtr a, BoundExprPtr b, CompareOp op = CompareOp::kEq) {
    auto e = MakeBound(kind, SqlType::kBool, {});
    e->compareOp = op;
    e->children.push_back(std::move(a));
    e->children.push_back(std::move(b));
    return e;
}

// One field, three blocks: [10,20], no values, unknown.
TableZones ThreeBlocks() {
    TableZones z(1, 3 * kZoneRows);
    z.setZone(0, 0, {Zone::State::kRange, 10, 20});
    z.setZone(0, 1, {Zone::State::kNoValues, 0, 0});
    return z;
}

TEST(BlockMayMatch, ComparisonsAgainstTheRange) {
    const TableZones z = ThreeBlocks();
    const std::vector<int> fields = {0};
    const auto cmp = [&](CompareOp op, double c, uint32_t block) {
        return BlockMayMatch(*Binary(BK::kCompare, Slot(0), Const(c), op), z, block, fields);
    };
    EXPECT_TRUE(cmp(CompareOp::kEq, 15, 0));
    EXPECT_FALSE(cmp(CompareOp::kEq, 21, 0));
    EXPECT_FALSE(cmp(CompareOp::kGt, 20, 0));
    EXPECT_TRUE(cmp(CompareOp::kGe, 20, 0));
    EXPECT_FALSE(cmp(CompareOp::kLt, 10, 0));
    EXPECT_TRUE(cmp(CompareOp::kNe, 10, 0));
    // A block whose values are all null matches no comparison.
    EXPECT_FALSE(cmp(CompareOp::kNe, 10, 1));
    // Unknown zone: may match.
    EXPECT_TRUE(cmp(CompareOp::kEq, 1e9, 2));
    // Constant on the left: 25 < x means x > 25.
    EXPECT_FALSE(
        BlockMayMatch(*Binary(BK::kCompare, Const(25), Slot(0), CompareOp::kLt), z, 0, fields));
}

TEST(BlockMayMatch, OrNeedsOneSideAndNotIsNeverUsedToSkip) {
    const TableZones z = ThreeBlocks();
    const std::vector<int> fields = {0};
    auto no = Binary(BK::kCompare, Slot(0), Const(50), CompareOp::kEq);
    auto yes = Binary(BK::kCompare, Slot(0), Const(12), CompareOp::kEq);
    EXPECT_TRUE(BlockMayMatch(*Binary(BK::kOr, Clone(*no), Clone(*yes)), z, 0, fields));
    EXPECT_FALSE(BlockMayMatch(*Binary(BK::kAnd, Clone(*no), Clone(*yes)), z, 0, fields));
    auto notNo = MakeBound(BK::kNot, SqlType::kBool, {});
    notNo->children.push_back(Clone(*no));
    EXPECT_TRUE(BlockMayMatch(*notNo, z, 0, fields));
}

TEST(BlockMayMatch, BetweenAndInList) {
    const TableZones z = ThreeBlocks();
    const std::vector<int> fields = {0};
    auto between = MakeBound(BK::kBetween, SqlType::kBool, {});
    between->children.push_back(Slot(0));
    between->children.push_back(Const(21));
    between->children.push_back(Const(30));
    EXPECT_FALSE(BlockMayMatch(*between, z, 0, fields));
    between->negated = true;  // NOT BETWEEN 21 AND 30 holds for 10..20
    EXPECT_TRUE(BlockMayMatch(*between, z, 0, fields));
    auto in = MakeBound(BK::kIn, SqlType::kBool, {});
    in->children.push_back(Slot(0));
    in->children.push_back(Const(1));
    in->children.push_back(Const(30));
    EXPECT_FALSE(BlockMayMatch(*in, z, 0, fields));
    in->children.push_back(Const(20));
    EXPECT_TRUE(BlockMayMatch(*in, z, 0, fields));
}

TEST(AggregateFromZones, NeedsEveryBlockKnown) {
    TableZones z = ThreeBlocks();
    EXPECT_FALSE(AggregateFromZones(z, AggFunc::kMin, 0));
    z.setZone(0, 2, {Zone::State::kRange, 5, 8});
    EXPECT_EQ(AggregateFromZones(z, AggFunc::kMin, 0), std::optional<double>(5));
    EXPECT_EQ(AggregateFromZones(z, AggFunc::kMax, 0), std::optional<double>(20));
    EXPECT_FALSE(AggregateFromZones(z, AggFunc::kCount, -1));
    for (uint32_t b = 0; b < 3; ++b)
        z.setLiveRows(b, 100);
    EXPECT_EQ(AggregateFromZones(z, AggFunc::kCount, -1), std::optional<double>(300));
}

class ZoneCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZoneCache::Shared().clear();
        AnswerCache::Shared().clear();
    }
    void TearDown() override {
        ZoneCache::Shared().clear();
        AnswerCache::Shared().clear();
        ZoneCache::Shared().setMinimumAge(3'000'000'000);
    }

    // Rides in date order, 3.5 blocks; every 7th deleted with an extreme
    // distance that must never show; every 11th without a date.
    void WriteRides(int rows) {
        sqltest::TableSpec t{
            "jizdy.dbf", {FieldDef::DateField("DATUM"), FieldDef::Numeric("DELKA", 10, 1)}, {}, {}};
        const int32_t base = Date::FromYmd(2000, 1, 1)->dayNumber();
        for (int i = 0; i < rows; ++i) {
            const bool deleted = i % 7 == 3;
            const Value day = i % 11 == 5 ? Value() : Value(Date::FromDayNumber(base + i));
            t.rows.push_back({day, Value(deleted ? 99999.0 : 10.0 + i % 50)});
            t.deleted.push_back(deleted);
        }
        sqltest::WriteTable(dir_.path(), t);
    }

    std::vector<std::string> Rows(const std::string& sql) {
        std::unique_ptr<ResultSet> r;
        const Status st = Query(dir_.path(), sql, &r);
        EXPECT_TRUE(st.ok()) << st.message();
        std::vector<std::string> out;
        for (int64_t i = 0; r && i < r->size(); ++i) {
            std::string line;
            for (size_t c = 0; c < r->fields().size(); ++c) {
                const Value v = r->valueAt(i, static_cast<int>(c));
                line += (c ? "|" : "") + (v.isNull()   ? std::string("NULL")
                                          : v.isDate() ? v.asDate().toIso()
                                                       : std::to_string(v.asDouble()));
            }
            out.push_back(line);
        }
        return out;
    }

    kolvio::testing::TempDir dir_;
};

TEST_F(ZoneCacheTest, SkippingBlocksGivesTheSameRowsAsReadingThemAll) {
    ZoneCache::Shared().setMinimumAge(0);
    WriteRides(4 * kZoneRows - 500);
    const std::vector<std::string> queries = {
        "select datum, delka from jizdy where datum between '3.2.2010' and '20.2.2010'",
        "select count(*), max(delka) from jizdy where datum >= '1.1.2040' or delka > 58",
        "select datum from jizdy where delka in (11, 12) and datum < '10.1.2000'",
        "select min(datum), max(datum), count(*), max(delka) from jizdy",
        "select count(*) from jizdy where datum is null",
        "select count(*) from jizdy where datum between '1.1.2001' and '31.12.2001'",
        "select count(*), count(*) from jizdy where datum >= '1.1.2003' and delka < 30",
        "select count(*) from jizdy where not (datum between '2.1.2000' and '1.1.2043')",
    };
    std::vector<std::vector<std::string>> cold;
    for (const auto& q : queries) {
        ZoneCache::Shared().clear();
        AnswerCache::Shared().clear();
        cold.push_back(Rows(q));
    }
    Rows("select datum, delka from jizdy");  // learns every block of both fields
    for (size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(Rows(queries[i]), cold[i]) << queries[i];
    EXPECT_EQ(cold[3], std::vector<std::string>{"2000-01-01|2043-06-27|" + std::to_string(13615.0) +
                                                "|" + std::to_string(59.0)});
}

TEST_F(ZoneCacheTest, ValueChangedInPlaceIsSeenByTheNextStatement) {
    WriteRides(100);
    EXPECT_EQ(Rows("select max(delka) from jizdy"), std::vector<std::string>{std::to_string(59.0)});
    // Change a value in place: same size, and possibly the same time stamp.
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(dir_.file("jizdy.dbf"), true, LockMode::kExclusive, &f).ok());
        std::string rec;
        ASSERT_TRUE(f->readRecord(0, &rec).ok());
        ASSERT_TRUE(
            EncodeField(f->header().fields[1], Value(77.0), rec.data(), CodePage::kCp852, nullptr)
                .ok());
        ASSERT_TRUE(f->writeRecord(0, rec).ok());
    }
    EXPECT_EQ(Rows("select max(delka) from jizdy"), std::vector<std::string>{std::to_string(77.0)});
}

TEST_F(ZoneCacheTest, WhatIsLearnedOfARecentlyChangedFileIsNotKept) {
    // A change within the time stamp granularity of the scan could leave the
    // identity as it was; such knowledge is dropped.
    WriteRides(100);
    FileIdentity id;
    ASSERT_TRUE(CurrentFileIdentity(dir_.file("jizdy.dbf"), &id));
    TableZones learned(2, 100);
    learned.setLiveRows(0, 86);
    const int64_t changed = std::max(id.modifiedNs, id.changedNs);
    ZoneCache::Shared().learn(dir_.file("jizdy.dbf"), id, changed + 1'000'000'000, learned);
    EXPECT_EQ(ZoneCache::Shared().find(dir_.file("jizdy.dbf"), id), nullptr);
    ZoneCache::Shared().learn(dir_.file("jizdy.dbf"), id, changed + 4'000'000'000, learned);
    ASSERT_NE(ZoneCache::Shared().find(dir_.file("jizdy.dbf"), id), nullptr);
    // Another identity (the file changed since) finds nothing.
    FileIdentity other = id;
    other.size += 1;
    EXPECT_EQ(ZoneCache::Shared().find(dir_.file("jizdy.dbf"), other), nullptr);
}

TEST_F(ZoneCacheTest, RepeatedAnswerFollowsADeletedRow) {
    ZoneCache::Shared().setMinimumAge(0);
    WriteRides(100);
    Rows("select datum, delka from jizdy");
    const std::string q = "select min(datum), count(*) from jizdy";
    EXPECT_EQ(Rows(q), std::vector<std::string>{"2000-01-01|" + std::to_string(86.0)});
    EXPECT_EQ(Rows(q), std::vector<std::string>{"2000-01-01|" + std::to_string(86.0)});
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(dir_.file("jizdy.dbf"), true, LockMode::kExclusive, &f).ok());
        ASSERT_TRUE(f->markDeleted(0, true).ok());
    }
    EXPECT_EQ(Rows(q), std::vector<std::string>{"2000-01-02|" + std::to_string(85.0)});
}

TEST_F(ZoneCacheTest, AppendedRowChangesTheIdentity) {
    ZoneCache::Shared().setMinimumAge(0);
    WriteRides(100);
    EXPECT_EQ(Rows("select max(delka), count(*) from jizdy"),
              std::vector<std::string>{std::to_string(59.0) + "|" + std::to_string(86.0)});
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(dir_.file("jizdy.dbf"), true, LockMode::kExclusive, &f).ok());
        std::string rec(f->recordLength(), ' ');
        ASSERT_TRUE(
            EncodeField(f->header().fields[1], Value(500.0), rec.data(), CodePage::kCp852, nullptr)
                .ok());
        uint32_t recno = 0;
        ASSERT_TRUE(f->appendRecord(rec, &recno).ok());
    }
    EXPECT_EQ(Rows("select max(delka), count(*) from jizdy"),
              std::vector<std::string>{std::to_string(500.0) + "|" + std::to_string(87.0)});
}

// A remembered answer is for one file as it is: the name of the statement
// is resolved again, and the file opened, before any answer is given.
TEST_F(ZoneCacheTest, RememberedAnswerIsForTheFileTheNameNamesNowAndItsLock) {
    ZoneCache::Shared().setMinimumAge(0);
    WriteRides(100);
    const std::string count = "select count(*) from JIZDY";
    Rows("select datum, delka from jizdy");  // learns every block
    ASSERT_EQ(Rows(count), std::vector<std::string>{std::to_string(86.0)});
    ASSERT_EQ(Rows(count), std::vector<std::string>{std::to_string(86.0)});  // remembered
    {
        // Another program holds the table exclusively: refused, as it would
        // be in a fresh process.
        Table holder(dir_.path(), "jizdy.dbf");
        ASSERT_TRUE(holder.open(true).ok());
        std::unique_ptr<ResultSet> r;
        EXPECT_EQ(Query(dir_.path(), count, &r).code(), Status::Code::kLocked);
    }
    // A table named exactly as the statement writes it appears beside it.
    sqltest::WriteTable(
        dir_.path(),
        {"JIZDY.dbf", {FieldDef::Numeric("DELKA", 10, 1)}, {{Value(1.0)}, {Value(2.0)}}, {}});
    EXPECT_EQ(Rows(count), std::vector<std::string>{std::to_string(2.0)});
}

// What one process learned is found by the next in the sidecar, as long as
// the table is as it was; a table changed by another program is read again.
TEST_F(ZoneCacheTest, NextProcessAnswersFromTheSidecarOfTheUnchangedTable) {
    ZoneCache::Shared().setMinimumAge(0);
    WriteRides(2 * kZoneRows);
    const std::string table = dir_.file("jizdy.dbf");
    Rows("select datum, delka from jizdy");  // learns every block of both fields
    SummaryStamp stamp;
    ASSERT_TRUE(CurrentFileIdentity(table, &stamp.identity));
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(table, false, LockMode::kShared, &f).ok());
        stamp.layout = LayoutFingerprint(f->header());
    }
    auto zones = ReadSummaries(table, stamp, 2 * kZoneRows, 2);
    ASSERT_NE(zones, nullptr);
    // A largest distance no row has: only an answer from the sidecar gives it.
    Zone tampered = zones->zone(1, 1);
    tampered.max = 12345;
    zones->setZone(1, 1, tampered);
    ASSERT_TRUE(WriteSummaries(table, stamp, *zones).ok());
    ZoneCache::Shared().clear();  // as in a new process
    AnswerCache::Shared().clear();
    const std::string q = "select max(delka) from jizdy";
    EXPECT_EQ(Rows(q), std::vector<std::string>{std::to_string(12345.0)});

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    {
        std::unique_ptr<DbfFile> f;
        ASSERT_TRUE(DbfFile::Open(table, true, LockMode::kNone, &f).ok());
        std::string rec;
        ASSERT_TRUE(f->readRecord(1, &rec).ok());
        ASSERT_TRUE(
            EncodeField(f->header().fields[1], Value(77.0), rec.data(), CodePage::kCp852, nullptr)
                .ok());
        ASSERT_TRUE(f->writeRecord(1, rec).ok());
    }
    ZoneCache::Shared().clear();
    AnswerCache::Shared().clear();
    EXPECT_EQ(Rows(q), std::vector<std::string>{std::to_string(77.0)});
}

// COUNT(*) with a filter counts the blocks the zones prove to match without
// reading them; a block with a row without a value is read, never counted whole.
TEST_F(ZoneCacheTest, CountOverARangeAgreesWithReadingEveryRow) {
    ZoneCache::Shared().setMinimumAge(0);
    sqltest::TableSpec t{"jizdy.dbf", {FieldDef::DateField("DATUM")}, {}, {}};
    const int32_t base = Date::FromYmd(2000, 1, 1)->dayNumber();
    for (uint32_t i = 0; i < 4 * kZoneRows; ++i) {
        const bool lastBlockHole = i == 3 * kZoneRows + 7;
        t.rows.push_back({lastBlockHole ? Value() : Value(Date::FromDayNumber(base + i))});
        t.deleted.push_back(i % 13 == 4);
    }
    sqltest::WriteTable(dir_.path(), t);
    const std::vector<std::string> queries = {
        // blocks 1 and 2 wholly, block 3 with its hole, block 0 not at all
        "select count(*) from jizdy where datum between '1.1.2011' and '1.1.2050'",
        "select count(*) from jizdy where datum >= '1.1.2011'",
        "select count(*) from jizdy where datum < '1.1.2011' or datum > '1.1.2040'",
    };
    std::vector<std::vector<std::string>> cold;
    for (const auto& q : queries) {
        ZoneCache::Shared().clear();
        AnswerCache::Shared().clear();
        cold.push_back(Rows(q));
    }
    ZoneCache::Shared().clear();
    AnswerCache::Shared().clear();
    Rows("select datum from jizdy");  // learns every block
    for (size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(Rows(queries[i]), cold[i]) << queries[i];
}

}  // namespace
}  // namespace kolvio::sql
