// Index helpers on the shared datasets.
#include <gtest/gtest.h>

#include "data/database/database.h"
#include "data/database/index_helpers.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

class IndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    }

    IndexDef Def(Table& table, std::string_view name) {
        for (const IndexDef& d : table.indexDefs()) {
            if (EqualsIgnoreCase(d.name, name)) return d;
        }
        return {};
    }

    TempDir tmp;
    Database db;
};

TEST_F(IndexTest, IndexOfTheWantedNameWithAnotherExpressionIsRecreated) {
    Table& kola = db.TTKOL();
    ASSERT_TRUE(EnsureIndex(kola, "KOL_TYP", "KOL_ZNA").ok());
    bool created = false;
    ASSERT_TRUE(EnsureIndex(kola, "kol_typ", "KOL_TYP", false, false, &created).ok());
    EXPECT_TRUE(created);
    EXPECT_EQ(Def(kola, "KOL_TYP").expression, "KOL_TYP");
    // Another direction is another index too.
    ASSERT_TRUE(EnsureIndex(kola, "KOL_TYP", "KOL_TYP", false, true, &created).ok());
    EXPECT_TRUE(created);
    EXPECT_TRUE(Def(kola, "KOL_TYP").descending);
}

TEST_F(IndexTest, MatchingIndexIsLeftAloneUnlessRecreateIsAsked) {
    Table& kola = db.TTKOL();
    bool created = true;
    ASSERT_TRUE(EnsureIndex(kola, "kol_c", " kol_c ", false, false, &created).ok());
    EXPECT_FALSE(created);
    ASSERT_TRUE(EnsureIndex(kola, "KOL_C", "KOL_C", true, false, &created).ok());
    EXPECT_TRUE(created);
    EXPECT_EQ(kola.indexDefs().size(), 1u);
}

TEST_F(IndexTest, AddingAnIndexKeepsTheDetailOpenAndLinkedToItsMaster) {
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 3).ok());
    ASSERT_EQ(db.TTRN().recordCount(), 3);
    ASSERT_TRUE(EnsureIndex(db.TTRN(), "TRN_N", "TRN_N").ok());
    EXPECT_TRUE(db.TTRN().isOpen());
    EXPECT_EQ(db.TTRN().recordCount(), 3);
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 1).ok());
    EXPECT_EQ(db.TTRN().recordCount(), 1);
}

TEST_F(IndexTest, IndexExistsOnAClosedTableLeavesItsOrderAndLinkAlone) {
    db.TTRN().close();
    EXPECT_TRUE(IndexExists(db.TTRN(), "TRN_C"));
    EXPECT_FALSE(IndexExists(db.TTRN(), "TRN_N"));
    EXPECT_FALSE(db.TTRN().isOpen());
    EXPECT_EQ(db.TTRN().indexName(), "TRNZ_C");
    EXPECT_EQ(db.TTRN().master(), &db.TTRNZ());
}

TEST_F(IndexTest, TableHeldElsewhereFailsToGetTheIndexAndIsReopened) {
    Table other(tmp.path(), "typ_kol.dbf");
    ASSERT_TRUE(other.open().ok());
    const Status st = EnsureIndex(db.TTKOL(), "KOL_ZNA", "KOL_ZNA");
    EXPECT_EQ(st.code(), Status::Code::kLocked);
    EXPECT_TRUE(db.TTKOL().isOpen());
    EXPECT_FALSE(IndexExists(db.TTKOL(), "KOL_ZNA"));
}

}  // namespace
}  // namespace kolvio
