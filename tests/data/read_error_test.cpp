// A read that fails is reported, never taken for the end of the table, nor a
// search's "no such row" for one that is there.
//
// A table with deleted rows is walked, in physical order and in the order of
// an index, row by row and by position, with the Nth read of the disk
// failing. Every walk either sees every live row or gets an error naming
// the table: a failed read that looked like "no more rows" would show the
// rider a diary cut short without a word. Searches (locate, findKey) meet
// the same failing reads, and a failed post of the row being edited before
// them: each is the search's error, never "not found".
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/table.h"
#include "tests/data/fault_file_system.h"
#include "tests/data/numbered_table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FsCall;
using testing::FsError;
using testing::TempDir;

constexpr int kRows = 30;

void WriteTable(const std::string& dir) {
    testing::WriteNumberedTable(
        dir, kRows, [](int i) { return "Jízda " + std::to_string(kRows - i); }, {20, 7, 0});
    Table t(dir, "jizdy.dbf");
    ASSERT_TRUE(t.open(true).ok());
    ASSERT_TRUE(t.addIndex({"POPIS", "POPIS1", false}).ok());
}

// The rows a walk saw, or the error that stopped it.
struct Walk {
    int rows = 0;
    Status error;
};
using Walker = std::function<Walk(Table&)>;

Walk RowByRow(Table& t) {
    Walk walk;
    for (Status st = t.first();; st = t.next()) {
        if (!st.ok()) return {walk.rows, st};
        if (t.eof()) return walk;
        ++walk.rows;
    }
}

Walk ByPosition(Table& t) {
    Walk walk;
    const int64_t count = t.recordCount();
    for (int64_t row = 0; row < count; ++row) {
        if (Status st = t.moveToRow(row); !st.ok()) return {walk.rows, st};
        ++walk.rows;
    }
    return walk;
}

Walk Backwards(Table& t) {
    Walk walk;
    for (Status st = t.last();; st = t.prior()) {
        if (!st.ok()) return {walk.rows, st};
        if (t.bof()) return walk;
        ++walk.rows;
    }
}

Walk OpenAndWalk(const std::string& dir, const std::string& index, const Walker& walker) {
    Table t(dir, "jizdy.dbf");
    if (Status st = t.open(); !st.ok()) return {0, st};
    if (Status st = t.setIndexName(index); !st.ok()) return {0, st};
    return walker(t);
}

TEST(TableReadErrors, AFailedReadIsReportedWithTheTableNeverTakenForTheEnd) {
    TempDir tmp;
    WriteTable(tmp.path());
    const int live = kRows - 3;
    const struct {
        const char* name;
        Walker walker;
    } walks[] = {{"row by row", RowByRow}, {"by position", ByPosition}, {"backwards", Backwards}};
    int injected = 0;
    for (const char* index : {"", "POPIS"}) {
        for (const auto& [name, walker] : walks) {
            SCOPED_TRACE(std::string(name) + (*index ? " by the index" : " in physical order"));
            FaultFileSystem counting;
            {
                ScopedFileSystem installed(counting);
                const Walk whole = OpenAndWalk(tmp.path(), index, walker);
                ASSERT_TRUE(whole.error.ok()) << whole.error.message();
                ASSERT_EQ(whole.rows, live);
            }
            for (int n = 1; n <= counting.count(FsCall::kRead); ++n) {
                SCOPED_TRACE("read #" + std::to_string(n) + " fails");
                FaultFileSystem failing(Fault{FsCall::kRead, n, FsError::kEio});
                ScopedFileSystem installed(failing);
                const Walk walk = OpenAndWalk(tmp.path(), index, walker);
                if (!failing.fired()) continue;
                ++injected;
                if (walk.error.ok()) {
                    EXPECT_EQ(walk.rows, live) << "a failed read taken for the end";
                } else {
                    EXPECT_NE(walk.error.message().find("jizdy"), std::string::npos)
                        << walk.error.message();
                }
            }
        }
    }
    EXPECT_GT(injected, 0);
}

// What a search left behind: its outcome and where the cursor stood.
struct Cursor {
    uint32_t recno = 0;
    Value number;
    bool eof = false, bof = false;
    DatasetState state = DatasetState::kInactive;
    bool operator==(const Cursor&) const = default;
};

Cursor CursorOf(const Table& t) {
    return {t.recno(), t.value("CISLO"), t.eof(), t.bof(), t.state()};
}

struct Search {
    const char* name;
    std::function<Status(Table&)> run;
};

// Row 21 ("Jízda 9") comes late in physical order and last in the order of
// POPIS; 99 is in no row, so looking for it reads every row.
const Search kLocates[] = {
    {"locate of a late row", [](Table& t) { return t.locate("CISLO", Value(21)); }},
    {"locate of a missing row", [](Table& t) { return t.locate("CISLO", Value(99)); }},
};
const Search kFindKeys[] = {
    {"findKey of a late row", [](Table& t) { return t.findKey({Value("Jízda 9")}); }},
    {"findKey of a missing row", [](Table& t) { return t.findKey({Value("Jízda 99")}); }},
};

// The order is chosen before the table opens, so that opening reads only
// the first row it shows: the search then reads the others itself.
struct Order {
    const char* name;
    const char* index;
    bool filtered;
};

// Runs `search` with the Nth read failing (none: n == 0). A failed read
// before the search may be absorbed, but must not change what it finds; a
// read failing in the search itself is its error, naming the table, with the
// cursor where it was. Returns whether the fault fired in the search.
bool SearchWithFailingRead(const std::string& dir, const Order& order, const Search& search, int n,
                           int* reads, Status* cleanOutcome, Value* cleanFound) {
    FaultFileSystem fs(n > 0 ? std::optional(Fault{FsCall::kRead, n, FsError::kEio})
                             : std::nullopt);
    ScopedFileSystem installed(fs);
    Table t(dir, "jizdy.dbf");
    if (!t.setIndexName(order.index).ok() || !t.open().ok()) return false;
    if (order.filtered) {
        // The filtered rows are worked out by the move setFiltered() makes.
        t.setFilter([](const Table& row) { return row.getInt("CISLO") != 5; });
        t.setFiltered(true);
    }
    const bool firedBefore = fs.fired();
    const Cursor before = CursorOf(t);
    const Status st = search.run(t);
    if (n == 0) {
        *reads = fs.count(FsCall::kRead);
        *cleanOutcome = st;
        *cleanFound = t.value("CISLO");
        return false;
    }
    if (!fs.fired()) return false;
    if (!firedBefore || (st.failed() && !st.notFound())) {
        EXPECT_TRUE(st.failed() && !st.notFound())
            << "a failed read taken for " << (st.ok() ? "a row" : "no row");
        EXPECT_NE(st.message().find("jizdy"), std::string::npos) << st.message();
        EXPECT_EQ(CursorOf(t), before) << "the cursor moved";
    } else {
        EXPECT_EQ(st.code(), cleanOutcome->code()) << st.message();
        if (st.ok()) {
            EXPECT_EQ(t.value("CISLO"), *cleanFound);
        }
    }
    return !firedBefore;
}

TEST(TableReadErrors, ASearchMeetingAFailedReadReportsItWithTheCursorStaying) {
    TempDir tmp;
    WriteTable(tmp.path());
    const Order orders[] = {{"physical order", "", false},
                            {"index order", "POPIS", false},
                            {"filtered", "", true},
                            {"filtered in index order", "POPIS", true}};
    int failedInLocate = 0, failedInFindKey = 0;
    for (const Order& order : orders) {
        std::vector<Search> searches(std::begin(kLocates), std::end(kLocates));
        if (*order.index)
            searches.insert(searches.end(), std::begin(kFindKeys), std::end(kFindKeys));
        for (const Search& search : searches) {
            SCOPED_TRACE(std::string(search.name) + ", " + order.name);
            int reads = 0;
            Status clean;
            Value found;
            SearchWithFailingRead(tmp.path(), order, search, 0, &reads, &clean, &found);
            ASSERT_TRUE(clean.ok() || clean.notFound()) << clean.message();
            EXPECT_EQ(clean.ok(), std::string(search.name).find("late") != std::string::npos);
            int& failedInSearch = std::string_view(search.name).starts_with("locate")
                                      ? failedInLocate
                                      : failedInFindKey;
            for (int n = 1; n <= reads; ++n) {
                SCOPED_TRACE("read #" + std::to_string(n) + " fails");
                if (SearchWithFailingRead(tmp.path(), order, search, n, &reads, &clean, &found))
                    ++failedInSearch;
            }
        }
    }
    EXPECT_GT(failedInLocate, 0);
    EXPECT_GT(failedInFindKey, 0);
}

TEST(TableReadErrors, AFailedPostBeforeASearchIsItsErrorAndTheRowStaysInEdit) {
    TempDir tmp;
    WriteTable(tmp.path());
    const Search searches[] = {kLocates[0], kFindKeys[0]};
    int failedPosts = 0;
    for (const Search& search : searches) {
        SCOPED_TRACE(search.name);
        int writes = 0;
        for (int n = 0; n == 0 || n <= writes; ++n) {
            SCOPED_TRACE("write #" + std::to_string(n) + " fails");
            FaultFileSystem fs(n > 0 ? std::optional(Fault{FsCall::kWrite, n, FsError::kEio})
                                     : std::nullopt);
            ScopedFileSystem installed(fs);
            Table t(tmp.path(), "jizdy.dbf");
            ASSERT_TRUE(t.open().ok());
            ASSERT_TRUE(t.setIndexName("POPIS").ok());
            ASSERT_TRUE(t.edit().ok());
            // The row is stored as it was, so that every round finds the same
            // rows whatever the rounds before it stored.
            ASSERT_TRUE(t.setValue("POPIS1", t.value("POPIS1")).ok());
            const Cursor before = CursorOf(t);
            const Status st = search.run(t);
            if (n == 0) {
                ASSERT_TRUE(st.ok()) << st.message();
                writes = fs.count(FsCall::kWrite);
                ASSERT_GT(writes, 0);
                continue;
            }
            if (st.ok()) continue;  // a write the row does not depend on
            ++failedPosts;
            EXPECT_FALSE(st.notFound()) << "a failed post taken for no row";
            EXPECT_NE(st.message().find("jizdy"), std::string::npos) << st.message();
            EXPECT_EQ(CursorOf(t), before) << "the cursor moved";
        }
    }
    EXPECT_GT(failedPosts, 0);
}

}  // namespace
}  // namespace kolvio
