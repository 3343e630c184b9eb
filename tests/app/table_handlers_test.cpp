// The handlers of a screen: attached once, paused (not detached) by an undo
// however deeply nested, and never called after the screen has gone.
#include "app/table_handlers.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/row_edit.h"
#include "scratch_table.h"

namespace kolvio::testing {
namespace {

using Strings = std::vector<std::string>;
using TableHandlersTest = ScratchTableTest;

Status Rename(Table& table, const char* type) {
    RowEdit row(table);
    return row.edit().set("KOL_TYP", type).commit();
}

// The shape of the route editor's reversal: a store with the before-post
// check paused, whose after-post check refuses and writes the old row back
// with every handler paused. Afterwards each handler runs exactly once per
// store, and with the holder gone none runs at all.
TEST_F(TableHandlersTest, NestedPausesLeaveEachHandlerAttachedOnce) {
    Add(1, "A;B");
    Add(2, "B;A");
    ASSERT_TRUE(table.first().ok());
    int beforePost = 0;
    int afterPost = 0;
    auto handlers = std::make_unique<TableHandlers>();
    TableHandlers* h = handlers.get();
    h->attach(table, TableEvent::kBeforePost, [&beforePost](Table&) {
        ++beforePost;
        return Status::Ok();
    });
    h->attach(table, TableEvent::kAfterPost, [&afterPost, h](Table& t) {
        ++afterPost;
        if (t.getString("KOL_TYP") != "B;A") return Status::Ok();
        return h->without(t, [&t] { return WriteBackOldRow(t); });
    });
    const Status reversed =
        h->without(table, TableEvent::kBeforePost, [this] { return Rename(table, "B;A"); });
    ASSERT_TRUE(reversed.ok());
    EXPECT_EQ(StoredTypes(), (Strings{"A;B", "B;A"}));  // written back
    EXPECT_EQ(beforePost, 0);
    EXPECT_EQ(afterPost, 1);

    ASSERT_TRUE(Rename(table, "C").ok());
    EXPECT_EQ(beforePost, 1);
    EXPECT_EQ(afterPost, 2);
    EXPECT_EQ(h->attachedCount(), 2);

    handlers.reset();
    ASSERT_TRUE(Rename(table, "D").ok());
    EXPECT_EQ(beforePost, 1);
    EXPECT_EQ(afterPost, 2);
}

TEST_F(TableHandlersTest, AttachingTwiceReplacesAndDetachingTwiceIsHarmless) {
    Add(1, "A");
    Strings seen;
    TableHandlers handlers;
    handlers.attach(table, TableEvent::kBeforePost, [&seen](Table&) {
        seen.push_back("first");
        return Status::Ok();
    });
    handlers.attach(table, TableEvent::kBeforePost, [&seen](Table&) {
        seen.push_back("second");
        return Status::Ok();
    });
    EXPECT_EQ(handlers.attachedCount(), 1);
    ASSERT_TRUE(Rename(table, "B").ok());
    EXPECT_EQ(seen, Strings{"second"});
    handlers.detachAll();
    handlers.detachAll();
    ASSERT_TRUE(Rename(table, "C").ok());
    EXPECT_EQ(seen, Strings{"second"});
}

// A screen that closes from inside a handler detaches its own and another
// screen's handlers of the same event while the table is already running
// them from its own copy of the list.
TEST_F(TableHandlersTest, HandlerDetachedDuringARunIsNotCalled) {
    Add(1, "A");
    auto screen = std::make_unique<TableHandlers>();
    TableHandlers other;
    bool otherRan = false;
    screen->attach(table, TableEvent::kBeforePost, [&screen, &other](Table&) {
        other.detachAll();
        screen.reset();
        return Status::Ok();
    });
    other.attach(table, TableEvent::kBeforePost, [&otherRan](Table&) {
        otherRan = true;
        return Status::Ok();
    });
    ASSERT_TRUE(Rename(table, "B").ok());
    EXPECT_FALSE(otherRan);
    EXPECT_FALSE(screen);
}

TEST_F(TableHandlersTest, PauseOfOneEventLeavesTheOthersRunning) {
    Add(1, "A");
    Strings seen;
    TableHandlers handlers;
    for (TableEvent e : {TableEvent::kBeforeEdit, TableEvent::kBeforePost}) {
        handlers.attach(table, e, [&seen, e](Table&) {
            seen.push_back(e == TableEvent::kBeforeEdit ? "edit" : "post");
            return Status::Ok();
        });
    }
    ASSERT_TRUE(
        handlers.without(table, TableEvent::kBeforePost, [this] { return Rename(table, "B"); })
            .ok());
    EXPECT_EQ(seen, Strings{"edit"});
    Table other(dir.path().string(), "typ_kol.dbf");
    ASSERT_TRUE(other.open().ok());
    // Pausing is per table: another table's handlers are not the holder's.
    ASSERT_TRUE(handlers.without(other, [this] { return Rename(table, "C"); }).ok());
    EXPECT_EQ(seen, (Strings{"edit", "edit", "post"}));
}

}  // namespace
}  // namespace kolvio::testing
