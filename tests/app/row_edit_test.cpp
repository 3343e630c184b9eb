// The row-edit guard: a row is stored whole or not at all, and a guard
// touches no row but its own.
#include "app/row_edit.h"

#include <gtest/gtest.h>

#include "scratch_table.h"

namespace kolvio::testing {
namespace {

using Strings = std::vector<std::string>;
using RowEditTest = ScratchTableTest;

TEST_F(RowEditTest, CommitStoresTheWholeRowAndLeavingTheScopeStoresNothing) {
    {
        RowEdit row(table);
        ASSERT_TRUE(row.append().set({{"KOL_C", 1}, {"KOL_TYP", "SILNIČNÍ"}}).commit().ok());
    }
    {
        RowEdit row(table);
        row.append().set("KOL_C", 2).set("KOL_TYP", "HORSKÉ");
        EXPECT_TRUE(row.pending());
    }
    EXPECT_EQ(table.state(), DatasetState::kBrowse);
    EXPECT_EQ(StoredTypes(), Strings{"SILNIČNÍ"});
    EXPECT_EQ(table.getInt("KOL_C"), 1);  // the stored row is current
}

TEST_F(RowEditTest, AFailureAtAnyStepStoresNothingAndIsReported) {
    Add(1, "SILNIČNÍ");
    struct Case {
        const char* name;
        bool appending;
        const char* field;
        Value value;
        Status veto;  // of a before-post handler
        bool failed;  // an error to show (not a silent abort)
    };
    const Case cases[] = {
        {"unknown field", true, "KOL_ZNA", "X", Status::Ok(), true},
        {"number too wide", true, "KOL_C", 1e30, Status::Ok(), true},
        {"text too long", false, "KOL_TYP", std::string(21, 'x'), Status::Ok(), true},
        {"store refused", false, "KOL_C", 5, Status::IoError("disk"), true},
        {"rider said no", true, "KOL_C", 5, Status::Aborted(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Table::HandlerId veto =
            table.on(TableEvent::kBeforePost, [&c](Table&) { return c.veto; });
        RowEdit row(table);
        if (c.appending) {
            row.append();
        } else {
            row.edit();
        }
        // The bad value comes first: the later, good one must not be stored either.
        row.set(c.field, c.value).set("KOL_TYP", "ZMĚNA");
        const Status st = row.commit();
        table.off(veto);
        EXPECT_FALSE(st.ok());
        EXPECT_EQ(st.failed(), c.failed);
        EXPECT_EQ(table.state(), DatasetState::kBrowse);
        EXPECT_EQ(StoredTypes(), Strings{"SILNIČNÍ"});
        EXPECT_EQ(table.getString("KOL_TYP"), "SILNIČNÍ");
    }
}

// The new-ride screen keeps one appended row open for its whole life.
TEST_F(RowEditTest, PendingRowOfAScreenIsStoredByCommitAndDroppedWithTheScreen) {
    struct Screen {
        explicit Screen(Table& t) : pending(t) { pending.append(); }
        RowEdit pending;
    };
    {
        Screen screen(table);
        ASSERT_TRUE(screen.pending.set({{"KOL_C", 1}, {"KOL_TYP", "PRVNÍ"}}).commit().ok());
        EXPECT_FALSE(screen.pending.pending());
        screen.pending.append().set({{"KOL_C", 2}, {"KOL_TYP", "DRUHÁ"}});  // the next one
        EXPECT_EQ(table.state(), DatasetState::kInsert);
    }
    EXPECT_EQ(table.state(), DatasetState::kBrowse);
    EXPECT_EQ(StoredTypes(), Strings{"PRVNÍ"});
}

TEST_F(RowEditTest, GuardLeavesAlonePendingRowsThatAreNotItsOwn) {
    Add(1, "A");
    Add(2, "B");
    RowEdit guard(table);
    guard.edit().set("KOL_TYP", "A2");
    // Moving the cursor stores the guard's row; another edit begins.
    ASSERT_TRUE(table.first().ok());
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("KOL_TYP", "jiná změna").ok());
    EXPECT_FALSE(guard.pending());
    guard.cancel();
    EXPECT_EQ(table.state(), DatasetState::kEdit);
    const Status st = guard.commit();
    EXPECT_TRUE(st.failed());
    EXPECT_EQ(table.state(), DatasetState::kEdit);
    EXPECT_EQ(table.getString("KOL_TYP"), "jiná změna");
    ASSERT_TRUE(table.post().ok());
}

// A primary ride type and its first secondary type are stored both or
// neither: the first row is withdrawn when the second fails.
TEST_F(RowEditTest, WithdrawDeletesTheRowAppendedLast) {
    Add(1, "A");
    RowEdit added(table);
    ASSERT_TRUE(added.append().set({{"KOL_C", 2}, {"KOL_TYP", "B"}}).commit().ok());
    ASSERT_TRUE(table.first().ok());  // elsewhere meanwhile
    ASSERT_TRUE(added.withdraw().ok());
    EXPECT_EQ(StoredTypes(), Strings{"A"});
    EXPECT_EQ(table.recordCount(), 1);
    // Only an appended row is taken back, and only once.
    EXPECT_TRUE(added.withdraw().failed());
    RowEdit changed(table);
    ASSERT_TRUE(changed.edit().set("KOL_TYP", "A2").commit().ok());
    EXPECT_TRUE(changed.withdraw().failed());
    EXPECT_EQ(StoredTypes(), Strings{"A2"});
}

}  // namespace
}  // namespace kolvio::testing
