// The table as the screens use it: rows, states, order, events.
#include "data/table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "data/dbf/dbf_file.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

std::vector<FieldDef> RideFields() {
    return {FieldDef::DateField("DATUM"), FieldDef::Float("TRS_C", 20, 4),
            FieldDef::Float("DELKA", 20, 4), FieldDef::Char("POPIS1", 100),
            FieldDef::Logical("SR_MER")};
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Table::Create(dir.path(), "jizdy.dbf", RideFields()).ok());
        table.setDirectory(dir.path());
        table.setFileName("jizdy.dbf");
        ASSERT_TRUE(table.open().ok());
    }

    void AddRide(int day, double route, double km, const std::string& text) {
        ASSERT_TRUE(table.append().ok());
        ASSERT_TRUE(table.setValue("DATUM", *Date::FromYmd(2003, 5, day)).ok());
        ASSERT_TRUE(table.setValue("TRS_C", route).ok());
        ASSERT_TRUE(table.setValue("DELKA", km).ok());
        ASSERT_TRUE(table.setValue("POPIS1", text).ok());
        ASSERT_TRUE(table.post().ok());
    }

    std::vector<double> Column(const char* field) {
        std::vector<double> out;
        EXPECT_TRUE(table.first().ok());
        while (!table.eof()) {
            out.push_back(table.getDouble(field));
            EXPECT_TRUE(table.next().ok());
        }
        return out;
    }

    void AddIndex(const IndexDef& def) {
        table.close();
        ASSERT_TRUE(table.open(true).ok());
        ASSERT_TRUE(table.addIndex(def).ok());
        table.close();
        ASSERT_TRUE(table.open().ok());
    }

    TempDir dir;
    Table table;
};

TEST_F(TableTest, PostedRowIsOnDiskForAnotherHandle) {
    AddRide(1, 3, 42.5, "Okolo Brna, déšť");
    Table other(dir.path(), "JIZDY.DBF");  // names match without regard to case
    ASSERT_TRUE(other.open().ok());
    ASSERT_EQ(other.recordCount(), 1);
    EXPECT_EQ(other.getDouble("delka"), 42.5);
    EXPECT_EQ(other.getString("POPIS1"), "Okolo Brna, déšť");
    EXPECT_EQ(other.getDate("DATUM")->day(), 1);
    EXPECT_TRUE(other.isNull("SR_MER"));
}

TEST_F(TableTest, EmptyTextReadsBackEmptyAndBlankNumberAsNull) {
    ASSERT_TRUE(table.append().ok());
    ASSERT_TRUE(table.setValue("POPIS1", "").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(table.getString("POPIS1"), "");
    EXPECT_TRUE(table.isNull("DELKA"));
    EXPECT_TRUE(table.isNull("DATUM"));
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("DELKA", 5.0).ok());
    ASSERT_TRUE(table.setNull("DELKA").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_TRUE(table.isNull("DELKA"));
}

TEST_F(TableTest, CancelLeavesRowAsItWas) {
    AddRide(1, 1, 10, "a");
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("DELKA", 99.0).ok());
    EXPECT_EQ(table.getDouble("DELKA"), 99.0);  // the edit buffer shows while editing
    table.cancel();
    EXPECT_EQ(table.getDouble("DELKA"), 10.0);
    table.close();
    ASSERT_TRUE(table.open().ok());
    EXPECT_EQ(table.getDouble("DELKA"), 10.0);
}

// A field set outside an edit: state_machine_test.cpp.
TEST_F(TableTest, ValueThatDoesNotFitChangesNothing) {
    AddRide(1, 1, 10, "a");
    ASSERT_TRUE(table.edit().ok());
    EXPECT_FALSE(table.setValue("POPIS1", std::string(101, 'x')).ok());
    EXPECT_FALSE(table.setValue("DELKA", 1e30).ok());
    EXPECT_FALSE(table.setValue("NOSUCH", 1.0).ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(table.getString("POPIS1"), "a");
    EXPECT_EQ(table.getDouble("DELKA"), 10.0);
}

TEST_F(TableTest, NavigationReportsEofAndBofAtTheEnds) {
    for (int i = 1; i <= 3; ++i)
        AddRide(i, i, i, "");
    ASSERT_TRUE(table.first().ok());
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    ASSERT_TRUE(table.moveBy(5).ok());
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.getDouble("DELKA"), 3.0);
    ASSERT_TRUE(table.prior().ok());
    EXPECT_EQ(table.getDouble("DELKA"), 2.0);
    ASSERT_TRUE(table.moveBy(-7).ok());
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(table.getDouble("DELKA"), 1.0);
    ASSERT_TRUE(table.last().ok());
    EXPECT_EQ(table.rowNumber(), 2);
}

TEST_F(TableTest, EmptyTableIsBothEofAndBof) {
    EXPECT_TRUE(table.eof());
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_FALSE(table.edit().ok());
    EXPECT_FALSE(table.deleteRecord().ok());
    EXPECT_TRUE(table.isNull("DELKA"));
}

TEST_F(TableTest, DeletedRowsDisappearAndTheFollowingRowBecomesCurrent) {
    for (int i = 1; i <= 4; ++i)
        AddRide(i, i, i, "");
    ASSERT_TRUE(table.moveToRow(1).ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    EXPECT_EQ(table.getDouble("DELKA"), 3.0);
    EXPECT_EQ(Column("DELKA"), (std::vector<double>{1, 3, 4}));
    EXPECT_EQ(table.recordCount(), 3);
    ASSERT_TRUE(table.last().ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    EXPECT_EQ(table.getDouble("DELKA"), 3.0);  // the last row's place falls back to the new last
    table.close();
    ASSERT_TRUE(table.open().ok());
    EXPECT_EQ(Column("DELKA"), (std::vector<double>{1, 3}));
}

TEST_F(TableTest, FreshHandleWalksPastDeletedRowsAtBothEnds) {
    for (int i = 1; i <= 6; ++i)
        AddRide(i, i, i, "");
    for (const int row : {5, 2, 0}) {  // delete the last, a middle and the first ride
        ASSERT_TRUE(table.moveToRow(row).ok());
        ASSERT_TRUE(table.deleteRecord().ok());
    }
    Table fresh(dir.path(), "jizdy.dbf");  // walks physically: no list of live rows yet
    ASSERT_TRUE(fresh.open().ok());
    EXPECT_FALSE(fresh.isEmpty());
    EXPECT_EQ(fresh.getDouble("DELKA"), 2.0);
    std::vector<double> forward, backward;
    while (!fresh.eof()) {
        forward.push_back(fresh.getDouble("DELKA"));
        ASSERT_TRUE(fresh.next().ok());
    }
    EXPECT_EQ(forward, (std::vector<double>{2, 4, 5}));
    EXPECT_EQ(fresh.getDouble("DELKA"), 5.0);  // eof stays on the last row
    ASSERT_TRUE(fresh.last().ok());
    while (!fresh.bof()) {
        backward.push_back(fresh.getDouble("DELKA"));
        ASSERT_TRUE(fresh.prior().ok());
    }
    EXPECT_EQ(backward, (std::vector<double>{5, 4, 2}));
    ASSERT_TRUE(fresh.moveBy(2).ok());
    EXPECT_EQ(fresh.getDouble("DELKA"), 5.0);
    EXPECT_FALSE(fresh.eof());
    ASSERT_TRUE(fresh.moveBy(-5).ok());
    EXPECT_TRUE(fresh.bof());
    EXPECT_EQ(fresh.getDouble("DELKA"), 2.0);
    EXPECT_EQ(fresh.rowNumber(), 0);
}

TEST_F(TableTest, TableWhoseRowsAreAllDeletedIsEmpty) {
    AddRide(1, 1, 1, "");
    ASSERT_TRUE(table.deleteRecord().ok());
    Table fresh(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(fresh.open().ok());
    EXPECT_TRUE(fresh.isEmpty());
    EXPECT_TRUE(fresh.eof() && fresh.bof());
    EXPECT_EQ(fresh.recordCount(), 0);
}

TEST_F(TableTest, LocateFindsFirstMatchAndStaysPutWithout) {
    AddRide(1, 5, 10, "Brno");
    AddRide(2, 7, 20, "Jihlava");
    AddRide(3, 7, 30, "Brno");
    ASSERT_TRUE(table.first().ok());
    EXPECT_TRUE(table.locate("TRS_C", 7).ok());
    EXPECT_EQ(table.getDouble("DELKA"), 20.0);
    EXPECT_EQ(table.locate("POPIS1", "brno").code(), Status::Code::kNotFound);  // exact text
    EXPECT_EQ(table.getDouble("DELKA"), 20.0);
    EXPECT_EQ(table.locate("NENI", 7).code(), Status::Code::kInvalid);
    EXPECT_EQ(table.getDouble("DELKA"), 20.0);
    EXPECT_TRUE(table.locate("POPIS1", "Brno").ok());
    EXPECT_EQ(table.getDouble("DELKA"), 10.0);
}

TEST_F(TableTest, IndexOrdersRowsAndFollowsAppendsEditsAndDeletes) {
    AddIndex({"DELKA", "DELKA", false});
    AddIndex({"_DELKA", "DELKA", true});
    std::mt19937 rng(7);
    std::vector<double> expected;
    for (int i = 0; i < 300; ++i) {
        const double km = static_cast<double>(rng() % 50);
        AddRide(1 + i % 28, 1, km, "");
        expected.push_back(km);
        if (i % 7 == 3) {  // change an earlier row's key
            ASSERT_TRUE(table.setIndexName("").ok());
            ASSERT_TRUE(table.moveToRow(i / 2).ok());
            expected.erase(std::find(expected.begin(), expected.end(), table.getDouble("DELKA")));
            ASSERT_TRUE(table.edit().ok());
            ASSERT_TRUE(table.setValue("DELKA", 100.0 + i).ok());
            ASSERT_TRUE(table.post().ok());
            expected.push_back(100.0 + i);
        }
        if (i % 11 == 5) {
            ASSERT_TRUE(table.setIndexName("DELKA").ok());
            ASSERT_TRUE(table.moveToRow(i / 3).ok());
            expected.erase(std::find(expected.begin(), expected.end(), table.getDouble("DELKA")));
            ASSERT_TRUE(table.deleteRecord().ok());
        }
    }
    std::sort(expected.begin(), expected.end());
    ASSERT_TRUE(table.setIndexName("DELKA").ok());
    EXPECT_EQ(Column("DELKA"), expected);
    ASSERT_TRUE(table.setIndexName("_DELKA").ok());
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Column("DELKA"), expected);
    // A fresh handle builds the same order from the file.
    table.close();
    ASSERT_TRUE(table.setIndexName("_DELKA").ok());
    ASSERT_TRUE(table.open().ok());
    EXPECT_EQ(Column("DELKA"), expected);
}

TEST_F(TableTest, ChangingTheOrderKeepsTheCurrentRow) {
    AddIndex({"DELKA", "DELKA", false});
    AddRide(1, 1, 30, "c");
    AddRide(2, 1, 10, "a");
    AddRide(3, 1, 20, "b");
    ASSERT_TRUE(table.locate("POPIS1", "c").ok());
    ASSERT_TRUE(table.setIndexName("DELKA").ok());
    EXPECT_EQ(table.getString("POPIS1"), "c");
    EXPECT_EQ(table.rowNumber(), 2);
}

TEST_F(TableTest, ReadingARowByPositionLeavesCursorStateAndHandlersAlone) {
    AddIndex({"DELKA", "DELKA", false});
    for (int i = 0; i < 6; ++i)
        AddRide(1 + i, i % 2, 60.0 - 10 * i, "r" + std::to_string(i));
    ASSERT_TRUE(table.setIndexName("DELKA").ok());
    table.setFilter([](const Table& t) { return t.getDouble("TRS_C") == 1; });
    table.setFiltered(true);  // rows 50, 30, 10 km; in order 10, 30, 50
    ASSERT_TRUE(table.moveToRow(1).ok());
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("POPIS1", "rozepsáno").ok());
    int handlers = 0, notices = 0;
    for (TableEvent e : {TableEvent::kAfterScroll, TableEvent::kBeforePost, TableEvent::kAfterPost})
        table.on(e, [&handlers](Table&) { return ++handlers, Status::Ok(); });
    table.addObserver([&notices](DataChange, int) { ++notices; });

    std::vector<Value> row;
    const std::vector<int> fields = {table.fieldIndex("POPIS1"), table.fieldIndex("DELKA"), -1};
    ASSERT_TRUE(table.valuesAt(0, fields, &row).ok());
    EXPECT_EQ(row, (std::vector<Value>{Value("r5"), Value(10.0), Value()}));
    ASSERT_TRUE(table.valuesAt(1, fields, &row).ok());
    EXPECT_EQ(row[0], Value("r3"));  // the stored row, not the edit in progress
    ASSERT_TRUE(table.valuesAt(2, fields, &row).ok());
    EXPECT_EQ(row[1], Value(50.0));
    EXPECT_EQ(table.valuesAt(3, fields, &row).code(), Status::Code::kNotFound);
    EXPECT_EQ(table.valuesAt(-1, fields, &row).code(), Status::Code::kNotFound);

    EXPECT_EQ(handlers, 0);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(table.state(), DatasetState::kEdit);
    EXPECT_EQ(table.getString("POPIS1"), "rozepsáno");
    table.cancel();
    EXPECT_EQ(table.rowNumber(), 1);
    EXPECT_FALSE(table.bof() || table.eof());
    table.close();
    EXPECT_FALSE(table.valuesAt(0, fields, &row).ok());
    EXPECT_TRUE(row.empty());
}

TEST_F(TableTest, FindKeyUsesTheCurrentIndex) {
    AddIndex({"TRS_C", "TRS_C", false});
    AddRide(1, 4, 1, "x");
    AddRide(2, 2, 2, "y");
    AddRide(3, 4, 3, "z");
    EXPECT_EQ(table.findKey({2}).code(), Status::Code::kInvalid);  // no current index yet
    ASSERT_TRUE(table.setIndexName("TRS_C").ok());
    ASSERT_TRUE(table.findKey({4}).ok());
    EXPECT_EQ(table.getString("POPIS1"), "x");
    EXPECT_EQ(table.findKey({3}).code(), Status::Code::kNotFound);
    EXPECT_EQ(table.getString("POPIS1"), "x");
}

TEST_F(TableTest, FilterHidesRowsOnlyWhileFilteringIsOn) {
    for (int i = 0; i < 5; ++i)
        AddRide(1 + i, i, i, "");
    table.setFilter([](const Table& t) { return t.getDouble("TRS_C") != 0; });
    EXPECT_EQ(table.recordCount(), 5);
    table.setFiltered(true);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(Column("TRS_C"), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(table.locate("TRS_C", 0).code(), Status::Code::kNotFound);
    table.setFiltered(false);
    EXPECT_TRUE(table.locate("TRS_C", 0).ok());
}

TEST_F(TableTest, BookmarkReturnsToTheSameRowInAnyOrder) {
    AddIndex({"_DELKA", "DELKA", true});
    for (int i = 1; i <= 5; ++i)
        AddRide(i, 1, i * 10, std::to_string(i));
    ASSERT_TRUE(table.moveToRow(3).ok());
    const Bookmark mark = table.bookmark();
    ASSERT_TRUE(table.setIndexName("_DELKA").ok());
    ASSERT_TRUE(table.first().ok());
    ASSERT_TRUE(table.gotoBookmark(mark).ok());
    EXPECT_EQ(table.getString("POPIS1"), "4");
    EXPECT_EQ(table.rowNumber(), 1);
}

TEST_F(TableTest, BeforePostHandlerCanAbandonSilentlyOrWithError) {
    AddRide(1, 1, 10, "a");
    const auto id = table.on(TableEvent::kBeforePost, [](Table& t) {
        if (t.getDouble("DELKA") < 0) return Status::Aborted();
        if (t.getDouble("DELKA") > 1000) return Status::Invalid("too far");
        return Status::Ok();
    });
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("DELKA", -1.0).ok());
    const Status silent = table.post();
    EXPECT_TRUE(silent.aborted());
    EXPECT_FALSE(silent.failed());
    EXPECT_EQ(table.state(), DatasetState::kEdit);  // still editing, nothing written
    ASSERT_TRUE(table.setValue("DELKA", 5000.0).ok());
    EXPECT_TRUE(table.post().failed());
    table.cancel();
    table.off(id);
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("DELKA", -1.0).ok());
    EXPECT_TRUE(table.post().ok());  // detached handler no longer vetoes
    Table other(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(other.open().ok());
    EXPECT_EQ(other.getDouble("DELKA"), -1.0);
}

TEST_F(TableTest, EventsFireInOrderOfTheOperation) {
    std::vector<std::string> seen;
    const auto log = [&seen](const char* name) {
        return [&seen, name](Table&) {
            seen.push_back(name);
            return Status::Ok();
        };
    };
    table.on(TableEvent::kBeforeEdit, log("before-edit"));
    table.on(TableEvent::kAfterEdit, log("after-edit"));
    table.on(TableEvent::kBeforePost, log("before-post"));
    table.on(TableEvent::kAfterPost, log("after-post"));
    table.on(TableEvent::kAfterDelete, log("after-delete"));
    table.on(TableEvent::kAfterScroll, log("after-scroll"));
    AddRide(1, 1, 1, "");
    AddRide(2, 1, 2, "");
    seen.clear();
    ASSERT_TRUE(table.first().ok());
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("DELKA", 3.0).ok());
    ASSERT_TRUE(table.next().ok());  // moving posts first
    ASSERT_TRUE(table.deleteRecord().ok());
    EXPECT_EQ(seen, (std::vector<std::string>{"after-scroll", "before-edit", "after-edit",
                                              "before-post", "after-post", "after-scroll",
                                              "after-delete", "after-scroll"}));
}

// The old row is what a refused change is written back from: it must be the
// stored row while editing and in the after-post handlers, never the edit
// buffer, and it must not outlive the edit.
TEST_F(TableTest, OldRowIsTheStoredRowUntilTheAfterPostHandlersHaveRun) {
    AddRide(1, 1, 10, "před");
    std::vector<std::string> inAfterPost;
    table.on(TableEvent::kAfterPost, [&inAfterPost](Table& t) {
        inAfterPost.push_back(t.oldValue("POPIS1").isNull() ? "null"
                                                            : t.oldValue("POPIS1").asText());
        return Status::Ok();
    });
    EXPECT_EQ(table.oldValue("POPIS1").asText(), "před");  // browsing: the current row
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("POPIS1", "po").ok());
    ASSERT_TRUE(table.setValue("DELKA", 20.0).ok());
    EXPECT_EQ(table.oldValue("POPIS1").asText(), "před");
    EXPECT_EQ(table.oldValue("DELKA").asDouble(), 10);
    EXPECT_EQ(table.getString("POPIS1"), "po");
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(inAfterPost, std::vector<std::string>{"před"});
    // After the edit the old row is gone: the current row answers.
    EXPECT_EQ(table.oldValue("POPIS1").asText(), "po");
    // A cancelled edit leaves no old row behind either.
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("POPIS1", "zrušeno").ok());
    table.cancel();
    EXPECT_EQ(table.oldValue("POPIS1").asText(), "po");
    // An inserted row has none; once stored it is an ordinary current row.
    ASSERT_TRUE(table.append().ok());
    ASSERT_TRUE(table.setValue("POPIS1", "nový").ok());
    EXPECT_TRUE(table.oldValue("POPIS1").isNull());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(inAfterPost, (std::vector<std::string>{"před", "nový"}));
    EXPECT_TRUE(table.oldValue("NEEXISTUJE").isNull());
}

TEST_F(TableTest, WriteBackFromTheAfterPostHandlerRestoresTheOldRow) {
    AddRide(1, 1, 10, "původní");
    bool writingBack = false;
    table.on(TableEvent::kAfterPost, [&writingBack](Table& t) {
        if (writingBack || t.getString("POPIS1") != "zamítnuto") return Status::Ok();
        writingBack = true;
        const Value old = t.oldValue("POPIS1");
        Status st = t.edit();
        if (st.ok()) st = t.setValue("POPIS1", old);
        if (st.ok()) st = t.post();
        writingBack = false;
        return st;
    });
    ASSERT_TRUE(table.edit().ok());
    ASSERT_TRUE(table.setValue("POPIS1", "zamítnuto").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(table.getString("POPIS1"), "původní");
    EXPECT_EQ(table.state(), DatasetState::kBrowse);
    Table other(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(other.open().ok());
    EXPECT_EQ(other.getString("POPIS1"), "původní");
}

TEST_F(TableTest, BeforeEditVetoKeepsBrowseState) {
    AddRide(1, 1, 1, "");
    table.on(TableEvent::kBeforeEdit, [](Table&) { return Status::Aborted(); });
    EXPECT_TRUE(table.edit().aborted());
    EXPECT_EQ(table.state(), DatasetState::kBrowse);
}

TEST_F(TableTest, BeforeOpenVetoLeavesTableClosed) {
    table.close();
    table.on(TableEvent::kBeforeOpen, [](Table&) { return Status::Invalid("no"); });
    EXPECT_TRUE(table.open().failed());
    EXPECT_FALSE(table.isOpen());
}

TEST_F(TableTest, ObserversAreQuietWhileControlsAreDisabled) {
    int calls = 0;
    const auto id = table.addObserver([&calls](DataChange, int) { ++calls; });
    table.disableControls();
    table.disableControls();
    AddRide(1, 1, 1, "");
    ASSERT_TRUE(table.first().ok());
    EXPECT_EQ(calls, 0);
    table.enableControls();
    EXPECT_EQ(calls, 0);  // still disabled once
    table.enableControls();
    EXPECT_EQ(calls, 1);  // one refresh at the end
    table.removeObserver(id);
    ASSERT_TRUE(table.next().ok());
    EXPECT_EQ(calls, 1);
}

TEST_F(TableTest, MissingFileFailsWithItsName) {
    Table missing(dir.path(), "typ_hld.dbf");
    const Status st = missing.open();
    EXPECT_EQ(st.code(), Status::Code::kNotFound);
    EXPECT_NE(st.message().find("typ_hld.dbf"), std::string::npos);
}

TEST_F(TableTest, CreateReplacesAnExistingTableAndItsIndexes) {
    AddRide(1, 1, 1, "");
    AddIndex({"DELKA", "DELKA", false});
    table.close();
    ASSERT_TRUE(Table::Create(dir.path(), "jizdy.dbf", {FieldDef::Char("A", 5)}).ok());
    ASSERT_TRUE(table.open().ok());
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(table.fields().size(), 1u);
    EXPECT_TRUE(table.indexDefs().empty());
}

TEST_F(TableTest, FieldLookupIgnoresLetterCase) {
    EXPECT_EQ(table.fieldIndex("delka"), 2);
    EXPECT_TRUE(table.hasField("Popis1"));
    EXPECT_FALSE(table.hasField("POPIS"));
}

}  // namespace
}  // namespace kolvio

namespace kolvio {
namespace {

// Primary ride types and their secondary types, as the ride-type screens use them.
class MasterDetailTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            Table::Create(dir.path(), "typ_trnz.dbf", {FieldDef::Float("TRNZ_C", 20, 4)}).ok());
        ASSERT_TRUE(Table::Create(dir.path(), "typ_trn.dbf",
                                  {FieldDef::Float("TRN_C", 20, 4),
                                   FieldDef::Float("TRNZ_C", 20, 4), FieldDef::Char("TRN_N", 20)})
                        .ok());
        Table index(dir.path(), "typ_trn.dbf");
        ASSERT_TRUE(index.open(true).ok());
        ASSERT_TRUE(index.addIndex({"TRNZ_C", "TRNZ_C", false}).ok());
        index.close();
        ASSERT_TRUE(primary.open().ok());
        ASSERT_TRUE(secondary.open().ok());
        for (int p = 1; p <= 3; ++p)
            Add(primary, {{"TRNZ_C", p}});
        for (const auto& [code, owner, name] : std::vector<std::tuple<int, int, const char*>>{
                 {201, 2, "FREKVENCE"}, {101, 1, ""}, {202, 2, "KOPCE"}, {301, 3, "ČASOVKA"}}) {
            Add(secondary, {{"TRN_C", code}, {"TRNZ_C", owner}, {"TRN_N", name}});
        }
        secondary.setMaster(&primary, "TRNZ_C", "TRNZ_C");
    }

    void Add(Table& t, const std::vector<std::pair<const char*, Value>>& values) {
        ASSERT_TRUE(t.append().ok());
        for (const auto& [field, value] : values)
            ASSERT_TRUE(t.setValue(field, value).ok());
        ASSERT_TRUE(t.post().ok());
    }

    std::vector<int64_t> Codes() {
        std::vector<int64_t> out;
        EXPECT_TRUE(secondary.first().ok());
        while (!secondary.eof()) {
            out.push_back(secondary.getInt("TRN_C"));
            EXPECT_TRUE(secondary.next().ok());
        }
        return out;
    }

    TempDir dir;
    Table primary{dir.path(), "typ_trnz.dbf"};
    Table secondary{dir.path(), "typ_trn.dbf"};
};

TEST_F(MasterDetailTest, DetailShowsOnlyTheRowsOfTheCurrentMaster) {
    ASSERT_TRUE(primary.locate("TRNZ_C", 2).ok());
    EXPECT_EQ(Codes(), (std::vector<int64_t>{201, 202}));
    ASSERT_TRUE(primary.next().ok());
    EXPECT_EQ(Codes(), (std::vector<int64_t>{301}));
    EXPECT_EQ(secondary.recordCount(), 1);
    Add(primary, {{"TRNZ_C", 4}});
    EXPECT_TRUE(secondary.isEmpty());  // a new primary type has no secondary ones yet
}

TEST_F(MasterDetailTest, MasterReadBackAndForthKeepsTheDetailRowAndItsEdit) {
    ASSERT_TRUE(primary.locate("TRNZ_C", 2).ok());
    ASSERT_TRUE(secondary.last().ok());
    ASSERT_TRUE(secondary.edit().ok());
    ASSERT_TRUE(secondary.setValue("TRN_N", "NA PRŮMĚR").ok());
    // A grid over the primary types reads its rows by moving over them and
    // back with its notifications off; turning them on again must not reset
    // the detail when the master's key is the same.
    const Bookmark mark = primary.bookmark();
    primary.disableControls();
    ASSERT_TRUE(primary.first().ok());
    ASSERT_TRUE(primary.gotoBookmark(mark).ok());
    primary.enableControls();
    EXPECT_EQ(secondary.state(), DatasetState::kEdit);
    EXPECT_EQ(secondary.getString("TRN_N"), "NA PRŮMĚR");
    secondary.cancel();
    EXPECT_EQ(secondary.getInt("TRN_C"), 202);
}

}  // namespace
}  // namespace kolvio
