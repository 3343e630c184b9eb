// Codes of new rows and occurrence tests of the reference lists, on the
// tables of a fresh database.
#include "lists/list_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "data/database/database.h"
#include "data/database/index_helpers.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

class ListRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    }

    // Replaces the rows of `table` by rows with these codes, in this order.
    void SetCodes(Table& table, std::string_view field, const std::vector<int>& codes) {
        while (!table.isEmpty())
            ASSERT_TRUE(table.deleteRecord().ok());
        for (int c : codes)
            Append(table, {{field, Value(c)}});
    }

    void Append(Table& table, const std::vector<std::pair<std::string_view, Value>>& values) {
        ASSERT_TRUE(table.append().ok());
        for (const auto& [field, value] : values)
            ASSERT_TRUE(table.setValue(field, value).ok());
        ASSERT_TRUE(table.post().ok());
    }

    void AddRide(int route, int direction, int bike = 1) {
        Append(db.Table1(),
               {{"TRS_C", route}, {"TRS_SMER", direction}, {"KOL_C", bike}, {"THL_C", 0}});
    }

    int64_t Next(Table& table, std::string_view field) {
        int64_t code = -1;
        EXPECT_TRUE(NextFreeCode(table, field, &code).ok());
        return code;
    }
    int64_t NextIn(Table& table, std::string_view field, int64_t low, int64_t high) {
        int64_t code = -1;
        EXPECT_TRUE(NextFreeCode(table, field, low, high, &code).ok());
        return code;
    }
    bool Occurs(Table& table, std::string_view field, const Value& value, int n = 1) {
        bool occurs = false;
        EXPECT_TRUE(ValueOccurs(table, field, value, n, &occurs).ok());
        return occurs;
    }

    TempDir tmp;
    Database db;
};

// --- NextFreeCode --------------------------------------------------------

struct CodeCase {
    std::vector<int> codes;
    int64_t expected;
};

class NextFreeCodeTest : public ListRulesTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(NextFreeCodeTest, FillsTheLowestHoleAboveTheLowestCode) {
    SetCodes(db.TTKOL(), "KOL_C", GetParam().codes);
    EXPECT_EQ(Next(db.TTKOL(), "KOL_C"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Holes, NextFreeCodeTest,
                         ::testing::Values(CodeCase{{1, 2, 4}, 3}, CodeCase{{1, 2, 3}, 4},
                                           // Codes below the lowest one are never reused.
                                           CodeCase{{3, 4}, 5}, CodeCase{{}, 1},
                                           CodeCase{{0, 2}, 1},
                                           // The physical order does not matter.
                                           CodeCase{{4, 1, 2}, 3}, CodeCase{{7, 1, 2, 5}, 3},
                                           CodeCase{{5}, 6}));

TEST_F(ListRulesTest, CodeFreedByDeletionIsReused) {
    SetCodes(db.TTHLD(), "THL_C", {0, 1, 2});
    ASSERT_TRUE(db.TTHLD().locate("THL_C", 1).ok());
    ASSERT_TRUE(db.TTHLD().deleteRecord().ok());
    EXPECT_EQ(Next(db.TTHLD(), "THL_C"), 1);
}

TEST_F(ListRulesTest, RangedCodeLooksOnlyAtItsRange) {
    Table& trn = db.TTRN();  // 101, 201..204, 301..303, shown for one primary type
    EXPECT_EQ(NextIn(trn, "TRN_C", 201, 299), 205);
    EXPECT_EQ(NextIn(trn, "TRN_C", 101, 199), 102);
    // An empty range gives its lowest code.
    EXPECT_EQ(NextIn(trn, "TRN_C", 401, 499), 401);

    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2).ok());
    ASSERT_TRUE(trn.locate("TRN_C", 203).ok());
    ASSERT_TRUE(trn.deleteRecord().ok());
    EXPECT_EQ(NextIn(trn, "TRN_C", 201, 299), 203);
    ASSERT_TRUE(trn.locate("TRN_C", 201).ok());
    ASSERT_TRUE(trn.deleteRecord().ok());
    ASSERT_TRUE(trn.locate("TRN_C", 202).ok());
    ASSERT_TRUE(trn.deleteRecord().ok());
    EXPECT_EQ(NextIn(trn, "TRN_C", 201, 299), 205);  // 204 left: not below it
}

TEST_F(ListRulesTest, RangedCodeDoesNotCheckTheTopOfTheRange) {
    std::vector<int> codes;
    for (int c = 201; c <= 299; ++c)
        codes.push_back(c);
    SetCodes(db.TTKOL(), "KOL_C", codes);
    EXPECT_EQ(NextIn(db.TTKOL(), "KOL_C", 201, 299), 300);
}

TEST_F(ListRulesTest, CodeCountsRowsHiddenByTheFilterOrTheMasterRange) {
    Table& trs = db.TTRS();  // routes 0 and 1
    Append(trs, {{"TRS_C", 2}, {"TRS_MEZI", "A;B"}});
    Append(trs, {{"TRS_C", 4}, {"TRS_MEZI", "C;D"}});
    trs.setFilter([](const Table& t) { return t.getInt("TRS_C") != 3 && t.getInt("TRS_C") < 4; });
    trs.setFiltered(true);
    EXPECT_EQ(Next(trs, "TRS_C"), 3);
    trs.setFilter([](const Table& t) { return t.getInt("TRS_C") != 2; });
    EXPECT_EQ(Next(trs, "TRS_C"), 3);  // not 2: route 2 exists, only hidden

    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 1).ok());  // the view holds 101 alone
    EXPECT_EQ(NextIn(db.TTRN(), "TRN_C", 201, 299), 205);
}

TEST_F(ListRulesTest, PendingNewRowIsNeitherCountedNorStored) {
    Table& kola = db.TTKOL();  // 1, 2
    ASSERT_TRUE(kola.append().ok());
    ASSERT_TRUE(kola.setValue("KOL_C", 3).ok());
    EXPECT_EQ(Next(kola, "KOL_C"), 3);
    EXPECT_FALSE(Occurs(kola, "KOL_C", 3));
    EXPECT_EQ(kola.state(), DatasetState::kInsert);
    kola.cancel();
    EXPECT_EQ(kola.recordCount(), 2);
}

// The rules leave the shared dataset as they found it: current row, order,
// filter and master/detail link.
TEST_F(ListRulesTest, RulesKeepCurrentRowOrderAndLink) {
    Table& trnz = db.TTRNZ();
    Table& trn = db.TTRN();
    ASSERT_TRUE(EnsureIndex(trnz, "TRNZ_N", "TRNZ_N").ok());
    ASSERT_TRUE(trnz.setIndexName("TRNZ_N").ok());
    ASSERT_TRUE(trnz.locate("TRNZ_C", 2).ok());
    ASSERT_TRUE(trn.locate("TRN_C", 203).ok());
    const int64_t masterRow = trnz.rowNumber();
    const int64_t detailRow = trn.rowNumber();
    int scrolled = 0;
    const auto observer = trnz.addObserver([&](DataChange change, int) {
        if (change == DataChange::kScrolled) ++scrolled;
    });

    int64_t code = 0;
    bool occurs = false;
    ASSERT_TRUE(NextFreeCode(trnz, "TRNZ_C", &code).ok());
    EXPECT_EQ(code, 4);
    ASSERT_TRUE(NextFreeCode(trn, "TRN_C", 201, 299, &code).ok());
    ASSERT_TRUE(ValueOccurs(trnz, "TRNZ_N", "ZÁVOD", 1, &occurs).ok());
    EXPECT_TRUE(occurs);
    ASSERT_TRUE(ValueOccurs(trn, "TRN_N", "frekvence", 1, &occurs).ok());
    EXPECT_TRUE(occurs);
    ASSERT_TRUE(PairOccurs(trn, "TRN_N", "ČASOVKA", "TRNZ_C", 3, 1, &occurs).ok());
    EXPECT_FALSE(occurs);  // the detail answers for its master's rows only
    ASSERT_TRUE(CountInView(trn, "TRN_N", "NA PRŮMĚR", 1, &occurs).ok());
    EXPECT_TRUE(occurs);

    trnz.removeObserver(observer);
    EXPECT_EQ(scrolled, 0);
    EXPECT_EQ(trnz.indexName(), "TRNZ_N");
    EXPECT_EQ(trnz.rowNumber(), masterRow);
    EXPECT_EQ(trnz.getInt("TRNZ_C"), 2);
    EXPECT_EQ(trn.master(), &trnz);
    EXPECT_EQ(trn.recordCount(), 4);
    EXPECT_EQ(trn.rowNumber(), detailRow);
    EXPECT_EQ(trn.getInt("TRN_C"), 203);
    EXPECT_FALSE(trn.eof());
}

// --- ValueOccurs and PairOccurs ---------------------------------------------

TEST_F(ListRulesTest, TextMatchesWithoutLetterCaseButWithAccents) {
    Table& kola = db.TTKOL();  // "SILNIČNÍ ZÁVODNÍ", "SILNIČNÍ ZIMNÍ", makes empty
    EXPECT_TRUE(Occurs(kola, "KOL_TYP", "silniční závodní"));
    EXPECT_TRUE(Occurs(kola, "KOL_TYP", "Silniční Zimní  "));  // trailing blanks
    EXPECT_FALSE(Occurs(kola, "KOL_TYP", "SILNICNI ZAVODNI"));
    EXPECT_FALSE(Occurs(kola, "KOL_TYP", "SILNIČNÍ"));
    EXPECT_FALSE(Occurs(kola, "KOL_TYP", " SILNIČNÍ ZIMNÍ"));  // leading blanks count
    EXPECT_TRUE(Occurs(kola, "KOL_ZNA", ""));                  // empty matches empty
    EXPECT_FALSE(Occurs(kola, "KOL_TYP", ""));
    EXPECT_TRUE(Occurs(db.TTHLD(), "THL_ZKR", "NEHLÍDANÝ"));
    EXPECT_TRUE(Occurs(kola, "KOL_C", 2.0));
    EXPECT_FALSE(Occurs(kola, "KOL_C", 2.5));
    EXPECT_FALSE(Occurs(kola, "KOL_C", 3));
}

TEST_F(ListRulesTest, SecondOccurrenceAfterAStore) {
    Table& trs = db.TTRS();
    Append(trs, {{"TRS_C", 2}, {"TRS_MEZI", "Beroun;Zdice"}, {"TRS_N2", "BZ"}});
    // Only the stored row itself holds the value.
    EXPECT_TRUE(Occurs(trs, "TRS_MEZI", "Beroun;Zdice", 1));
    EXPECT_FALSE(Occurs(trs, "TRS_MEZI", "Beroun;Zdice", 2));
    EXPECT_FALSE(Occurs(trs, "TRS_N2", "NESPEC", 2));
    // Another route holds it too, in another letter case.
    Append(trs, {{"TRS_C", 3}, {"TRS_MEZI", "BEROUN;zdice"}, {"TRS_N2", "nespec"}});
    EXPECT_TRUE(Occurs(trs, "TRS_MEZI", "beroun;ZDICE", 2));
    EXPECT_TRUE(Occurs(trs, "TRS_N2", "NESPEC", 2));
    // The last row in the order of the index holds the value once only.
    Append(trs, {{"TRS_C", 4}, {"TRS_MEZI", "Žatec"}});
    EXPECT_FALSE(Occurs(trs, "TRS_MEZI", "žatec", 2));
}

TEST_F(ListRulesTest, PairsMatchOnBothFields) {
    Table& kola = db.TTKOL();
    SetCodes(kola, "KOL_C", {});
    Append(kola, {{"KOL_C", 1}, {"KOL_TYP", "A"}, {"KOL_ZNA", "X"}});
    Append(kola, {{"KOL_C", 2}, {"KOL_TYP", "B"}, {"KOL_ZNA", "Y"}});
    const auto pair = [&](const char* type, const char* make, int n) {
        bool occurs = false;
        EXPECT_TRUE(PairOccurs(kola, "KOL_TYP", type, "KOL_ZNA", make, n, &occurs).ok());
        return occurs;
    };
    EXPECT_FALSE(pair("A", "Y", 1));
    EXPECT_TRUE(pair("a", "x", 1));
    EXPECT_FALSE(pair("A", "X", 2));
    Append(kola, {{"KOL_C", 3}, {"KOL_TYP", "a"}, {"KOL_ZNA", "x"}});
    EXPECT_TRUE(pair("A", "X", 2));
    EXPECT_FALSE(pair("B", "", 1));
}

TEST_F(ListRulesTest, DetailAnswersForItsCurrentMaster) {
    Table& trn = db.TTRN();
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2).ok());
    EXPECT_TRUE(Occurs(trn, "TRN_N", "Frekvence"));
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 3).ok());
    EXPECT_FALSE(Occurs(trn, "TRN_N", "FREKVENCE"));
    EXPECT_TRUE(Occurs(trn, "TRN_N", "časovka"));
}

TEST_F(ListRulesTest, UnknownFieldIsAnError) {
    bool occurs = true;
    EXPECT_TRUE(ValueOccurs(db.TTKOL(), "KOL_X", "A", 1, &occurs).failed());
    int64_t code = 0;
    EXPECT_TRUE(NextFreeCode(db.TTKOL(), "KOL_X", &code).failed());
}

// --- CountInView -------------------------------------------------------------

TEST_F(ListRulesTest, CountInViewIsExactAndLimitedToTheView) {
    Table& trn = db.TTRN();
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 3).ok());  // 301 JEDNOTLIVCŮ, 302 ČASOVKA, 303 ...
    ASSERT_TRUE(trn.locate("TRN_C", 303).ok());
    const auto count = [&](const char* name, int n) {
        bool occurs = false;
        EXPECT_TRUE(CountInView(trn, "TRN_N", name, n, &occurs).ok());
        return occurs;
    };
    EXPECT_TRUE(count("ČASOVKA", 1));
    EXPECT_FALSE(count("časovka", 1));  // letter case counts here
    EXPECT_FALSE(count("ČASOVKA", 2));
    EXPECT_FALSE(count("FREKVENCE", 1));  // another primary type's
    Append(trn, {{"TRN_C", 304}, {"TRNZ_C", 3}, {"TRN_N", "ČASOVKA"}});
    ASSERT_TRUE(trn.locate("TRN_C", 301).ok());
    EXPECT_TRUE(count("ČASOVKA", 2));
    EXPECT_EQ(trn.getInt("TRN_C"), 301);
}

TEST_F(ListRulesTest, ViewIsNotWalkedWhileItsRowIsEdited) {
    Table& trn = db.TTRN();
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2).ok());
    ASSERT_TRUE(trn.edit().ok());
    ASSERT_TRUE(trn.setValue("TRN_N", "X").ok());
    bool occurs = false;
    EXPECT_TRUE(CountInView(trn, "TRN_N", "X", 1, &occurs).failed());
    EXPECT_TRUE(ValueOccurs(trn, "TRN_N", "X", 1, &occurs).failed());
    EXPECT_EQ(trn.state(), DatasetState::kEdit);  // still pending, not stored
    trn.cancel();
    EXPECT_FALSE(Occurs(db.TTRN(), "TRN_N", "X"));
}

// --- rides -------------------------------------------------------------------

TEST_F(ListRulesTest, UsedInRidesLooksAtTheSameNamedCodeField) {
    AddRide(5, 1, 2);
    bool used = false;
    ASSERT_TRUE(UsedInRides(db.Table1(), "TRS_C", 5, &used).ok());
    EXPECT_TRUE(used);
    ASSERT_TRUE(UsedInRides(db.Table1(), "TRS_C", 2, &used).ok());
    EXPECT_FALSE(used);
    ASSERT_TRUE(UsedInRides(db.Table1(), "KOL_C", 2, &used).ok());
    EXPECT_TRUE(used);
    ASSERT_TRUE(UsedInRides(db.Table1(), "KOL_C", 1, &used).ok());
    EXPECT_FALSE(used);
}

TEST_F(ListRulesTest, FlipTurnsExactlyTheRidesOfTheRoute) {
    Table& rides = db.Table1();
    AddRide(5, 1);
    AddRide(6, 1);
    AddRide(5, 2);
    AddRide(5, 0);
    AddRide(4, 2);
    ASSERT_TRUE(rides.setIndexName("DATUM").ok());
    ASSERT_TRUE(rides.locate("TRS_C", 6).ok());
    const Bookmark current = rides.bookmark();

    int changed = 0;
    ASSERT_TRUE(FlipRideDirections(rides, 5, &changed).ok());
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(rides.indexName(), "DATUM");
    EXPECT_EQ(rides.bookmark(), current);

    Table stored(tmp.path(), "jizdy.dbf");
    ASSERT_TRUE(stored.open().ok());
    std::vector<std::pair<int64_t, int64_t>> rows;
    for (Status st = stored.first(); st.ok() && !stored.eof(); st = stored.next())
        rows.emplace_back(stored.getInt("TRS_C"), stored.getInt("TRS_SMER"));
    EXPECT_EQ(rows,
              (std::vector<std::pair<int64_t, int64_t>>{{5, 2}, {6, 1}, {5, 1}, {5, 0}, {4, 2}}));
}

TEST_F(ListRulesTest, FlipCreatesTheRouteIndexWhenMissing) {
    AddRide(5, 1);
    Table& rides = db.Table1();
    {
        rides.close();
        Table exclusive(tmp.path(), "jizdy.dbf");
        ASSERT_TRUE(exclusive.open(true).ok());
        ASSERT_TRUE(exclusive.deleteIndex("TRS_C").ok());
    }
    ASSERT_TRUE(rides.open().ok());
    ASSERT_FALSE(IndexExists(rides, "TRS_C"));
    ASSERT_TRUE(FlipRideDirections(rides, 5).ok());
    EXPECT_TRUE(IndexExists(rides, "TRS_C"));
    EXPECT_EQ(rides.getInt("TRS_SMER"), 2);
}

TEST_F(ListRulesTest, FlipRefusesWhileARideIsBeingEntered) {
    AddRide(5, 1);
    ASSERT_TRUE(db.Table1().append().ok());
    EXPECT_TRUE(FlipRideDirections(db.Table1(), 5).failed());
    EXPECT_EQ(db.Table1().state(), DatasetState::kInsert);
}

}  // namespace
}  // namespace kolvio
