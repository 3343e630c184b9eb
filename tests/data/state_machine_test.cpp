// The table's state machine (drawn in table.h) holds: a use it does not
// allow stops a debug build at once, so that the screen making it fails its
// tests, and is refused in other builds without a row written or lost. The
// uses it allows (a field set or the row cancelled by a before-post handler,
// a write-back from an after-post handler, closing in the middle of an edit)
// go through.
#include <gtest/gtest.h>

#include <functional>

#include "data/table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

constexpr const char* kFromHandler = "called from a kBeforeEdit or kBeforePost handler";

class StateMachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::testing::FLAGS_gtest_death_test_style = "threadsafe";
        ASSERT_TRUE(Table::Create(dir.path(), "jizdy.dbf",
                                  {FieldDef::Numeric("DELKA", 7, 1), FieldDef::Char("POPIS1", 20)})
                        .ok());
        ASSERT_TRUE(t.open().ok());
        for (double km : {10.0, 20.0}) {
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("DELKA", Value(km)).ok());
            ASSERT_TRUE(t.post().ok());
        }
        ASSERT_TRUE(t.first().ok());
    }

    double storedFirst() {
        Table other(dir.path(), "jizdy.dbf");
        EXPECT_TRUE(other.open().ok());
        return other.getDouble("DELKA");
    }

    TempDir dir;
    Table t{dir.path(), "jizdy.dbf"};
};

TEST_F(StateMachineTest, FieldSetOutsideAnEditIsAFaultOfTheCaller) {
    EXPECT_DEBUG_DEATH((void)t.setValue("DELKA", Value(5.0)), "set in state browse");
#ifdef NDEBUG
    EXPECT_EQ(t.setValue("DELKA", Value(5.0)).code(), Status::Code::kInvalid);
#endif
    EXPECT_EQ(storedFirst(), 10.0);
}

// A state changed while the handlers before an edit or a post run would
// leave the operation that called them working on a row no longer there
// (a post calling itself never ends). Other builds refuse the call in the
// handler: one that returns a status fails the operation; a close is left
// undone and the post goes ahead.
TEST_F(StateMachineTest, StateChangedFromABeforeHandlerIsAFaultOfTheHandler) {
    const auto ignoring = [](void (Table::*call)()) {
        return [call](Table& t) {
            (t.*call)();
            return Status::Ok();
        };
    };
    const struct {
        const char* name;
        TableEvent event;
        std::function<Status(Table&)> misuse;
        bool postGoesAhead;
    } cases[] = {
        {"post in before-post", TableEvent::kBeforePost, [](Table& t) { return t.post(); }, false},
        {"move in before-post", TableEvent::kBeforePost, [](Table& t) { return t.next(); }, false},
        {"append in before-post", TableEvent::kBeforePost, [](Table& t) { return t.append(); },
         false},
        {"delete in before-post", TableEvent::kBeforePost,
         [](Table& t) { return t.deleteRecord(); }, false},
        {"close in before-post", TableEvent::kBeforePost, ignoring(&Table::close), true},
        {"edit in before-edit", TableEvent::kBeforeEdit, [](Table& t) { return t.edit(); }, false},
        {"move in before-edit", TableEvent::kBeforeEdit, [](Table& t) { return t.last(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto id = t.on(c.event, c.misuse);
        const auto editAndPost = [&] {
            Status st = t.edit();
            if (st.ok()) st = t.setValue("DELKA", Value(99.0));
            if (st.ok()) st = t.post();
            return st;
        };
        EXPECT_DEBUG_DEATH((void)editAndPost(), kFromHandler);
#ifdef NDEBUG
        const Status st = editAndPost();
        EXPECT_EQ(st.ok(), c.postGoesAhead) << st.message();
        EXPECT_TRUE(t.isOpen());
        t.cancel();
        EXPECT_EQ(storedFirst(), c.postGoesAhead ? 99.0 : 10.0);
#endif
        t.off(id);
        EXPECT_EQ(t.state(), DatasetState::kBrowse);
        ASSERT_TRUE(t.first().ok());
        ASSERT_TRUE(t.edit().ok());
        ASSERT_TRUE(t.setValue("DELKA", Value(10.0)).ok());
        ASSERT_TRUE(t.post().ok());
    }
}

TEST_F(StateMachineTest, UsesTheMachineAllowsGoThrough) {
    // A field completed before the row is stored.
    const auto before = t.on(TableEvent::kBeforePost, [](Table& table) {
        return table.setValue("POPIS1", Value(std::string("doplněno")));
    });
    // A value refused after storing is written back in a new edit.
    const auto after = t.on(TableEvent::kAfterPost, [](Table& table) {
        if (table.getDouble("DELKA") <= 100.0) return Status::Ok();
        const Value old = table.oldValue("DELKA");
        KOLVIO_RETURN_IF_ERROR(table.edit());
        KOLVIO_RETURN_IF_ERROR(table.setValue("DELKA", old));
        return table.post();
    });
    ASSERT_TRUE(t.edit().ok());
    ASSERT_TRUE(t.setValue("DELKA", Value(500.0)).ok());
    ASSERT_TRUE(t.post().ok());
    EXPECT_EQ(t.state(), DatasetState::kBrowse);
    EXPECT_EQ(storedFirst(), 10.0);
    EXPECT_EQ(t.getString("POPIS1"), "doplněno");
    t.off(before);
    t.off(after);
    // A before-post handler may cancel the row, even one that then says go
    // on: nothing is stored.
    const auto cancelling = t.on(TableEvent::kBeforePost, [](Table& table) {
        table.cancel();
        return Status::Ok();
    });
    ASSERT_TRUE(t.edit().ok());
    ASSERT_TRUE(t.setValue("DELKA", Value(77.0)).ok());
    EXPECT_TRUE(t.post().aborted());
    EXPECT_EQ(t.state(), DatasetState::kBrowse);
    EXPECT_EQ(t.getDouble("DELKA"), 10.0);
    EXPECT_EQ(storedFirst(), 10.0);
    t.off(cancelling);
    // Closing in the middle of an edit drops the edit.
    ASSERT_TRUE(t.edit().ok());
    ASSERT_TRUE(t.setValue("DELKA", Value(1.0)).ok());
    t.close();
    EXPECT_EQ(t.state(), DatasetState::kInactive);
    EXPECT_EQ(storedFirst(), 10.0);
}

}  // namespace
}  // namespace kolvio
