// kolvio-db check: damage is found, and what opening repairs is only noted.
#include "data/database/check.h"

#include <gtest/gtest.h>

#include <fstream>

#include "data/database/database.h"
#include "data/dbf/dbf_file.h"
#include "data/index/index_def.h"
#include "data/sql/sql_engine.h"
#include "tests/data/database/old_database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

class CheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        Database db;
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
        ASSERT_TRUE(db.TTRS().locate("TRS_C", 1).ok());
        ASSERT_TRUE(db.TTRS().edit().ok());
        ASSERT_TRUE(db.TTRS().setValue("TRS_OBR", std::string("\x89PNG", 4)).ok());
        ASSERT_TRUE(db.TTRS().post().ok());
    }

    // Overwrites the bytes of a record from the start of `field` ("" = the
    // deletion flag).
    void Patch(const std::string& file, int row, const std::string& field,
               const std::string& bytes) {
        const std::string path = tmp.file(file);
        std::string content = testing::ReadFileBytes(path);
        DbfHeader h;
        ASSERT_TRUE(ParseHeader(path, content, content.size(), &h).ok());
        const int f = FindField(h.fields, field);
        const size_t at = h.headerLength + static_cast<size_t>(row) * h.recordLength +
                          (f < 0 ? 0 : h.fields[f].offset);
        content.replace(at, bytes.size(), bytes);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }

    bool Mentions(const std::vector<std::string>& lines, const std::string& text) {
        for (const std::string& l : lines) {
            if (l.find(text) != std::string::npos) return true;
        }
        return false;
    }

    TempDir tmp;
};

TEST_F(CheckTest, FreshDatabaseIsSound) {
    const CheckReport r = CheckDatabase(tmp.path());
    EXPECT_TRUE(r.healthy()) << r.damage.front();
    EXPECT_TRUE(r.notes.empty());
    EXPECT_EQ(r.tablesRead, 6);
    EXPECT_EQ(r.rowsRead, 18);
}

TEST_F(CheckTest, GarbledNumberLogicalAndDeletionFlagAreDamage) {
    Patch("typ_kol.dbf", 0, "KOL_C", "x1");
    Patch("typ_hld.dbf", 0, "", "#");
    Patch("typ_trnz.dbf", 2, "ZADNE_TRS", "Q");
    const CheckReport r = CheckDatabase(tmp.path());
    EXPECT_FALSE(r.healthy());
    EXPECT_TRUE(Mentions(r.damage, "typ_kol.dbf: řádek 1, pole KOL_C"));
    EXPECT_TRUE(Mentions(r.damage, "typ_hld.dbf: řádek 1: neplatný příznak"));
    EXPECT_TRUE(Mentions(r.damage, "typ_trnz.dbf: řádek 3, pole ZADNE_TRS"));
}

TEST_F(CheckTest, TruncatedTableIsDamage) {
    const std::string path = tmp.file("typ_trn.dbf");
    const std::string content = testing::ReadFileBytes(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << content.substr(0, content.size() - 40);
    const CheckReport r = CheckDatabase(tmp.path());
    EXPECT_TRUE(Mentions(r.damage, "typ_trn.dbf"));
}

TEST_F(CheckTest, BrokenMemoReferenceIsDamage) {
    Patch("typ_trs.dbf", 1, "TRS_OBR", "      9999");
    EXPECT_TRUE(Mentions(CheckDatabase(tmp.path()).damage, "pole TRS_OBR"));
}

TEST_F(CheckTest, UnreadableIndexDefinitionsAreDamage) {
    std::ofstream(tmp.file("typ_trn.kix")) << "garbage\n";
    ASSERT_TRUE(WriteIndexDefs(tmp.file("typ_kol.kix"), {{"X", "NO_SUCH", false}}).ok());
    const CheckReport r = CheckDatabase(tmp.path());
    EXPECT_TRUE(Mentions(r.damage, "typ_trn.kix je poškozený"));
    EXPECT_TRUE(Mentions(r.damage, "NO_SUCH"));
}

TEST_F(CheckTest, WhatOpeningRepairsIsOnlyNoted) {
    TempDir old;
    ASSERT_TRUE(testing::WriteOldDatabase(old.path(), testing::SampleOldRides()).ok());
    std::ofstream(old.file("jizdy.dbf.kolvio-new")) << "half";
    const CheckReport r = CheckDatabase(old.path());
    EXPECT_TRUE(r.healthy()) << r.damage.front();
    EXPECT_TRUE(Mentions(r.notes, "typ_hld.dbf chybí"));
    EXPECT_TRUE(Mentions(r.notes, "jizdy.dbf: text ještě není v kódové stránce 852"));
    EXPECT_TRUE(Mentions(r.notes, "jizdy.dbf: chybí index DATUM"));
    EXPECT_TRUE(Mentions(r.notes, "jizdy.dbf.kolvio-new"));
}

TEST_F(CheckTest, MissingRideTableIsDamage) {
    ASSERT_EQ(std::remove(tmp.file("jizdy.dbf").c_str()), 0);
    EXPECT_TRUE(Mentions(CheckDatabase(tmp.path()).damage, "jizdy.dbf: tabulka chybí"));
}

std::string Repeated(const std::string& field, int times) {
    std::string joined = field;
    for (int i = 1; i < times; ++i)
        joined += "+" + field;
    return joined;
}

TEST_F(CheckTest, IndexDefinitionBeyondTheLimitsIsDamageAndDropped) {
    const std::string joined = Repeated("DELKA", 20000);
    const struct {
        const char* name;
        std::string expression;
    } tooBig[] = {
        {"TISICE", joined},                  // 20,000 fields
        {"DLOUHY", std::string(221, 'X')},   // 221 characters
        {"MNOHO", Repeated("SR_MER", 17)},   // 17 fields of one byte
        {"SIROKY", "POPIS1+POPIS1+POPIS1"},  // 300 bytes of key
    };
    std::vector<IndexDef> defs = {{"DELKA", "DELKA", false}};
    for (const auto& big : tooBig)
        defs.push_back({big.name, big.expression, false});
    ASSERT_TRUE(WriteIndexDefs(tmp.file("jizdy.kix"), defs).ok());
    const CheckReport r = CheckDatabase(tmp.path());
    for (const auto& big : tooBig)
        EXPECT_TRUE(Mentions(r.damage, std::string("Index \"") + big.name + "\"")) << big.name;
    Table rides(tmp.path(), "jizdy.dbf");
    ASSERT_TRUE(rides.open().ok());
    ASSERT_EQ(rides.indexDefs().size(), 1u);
    EXPECT_EQ(rides.indexDefs()[0].name, "DELKA");
    // The longest definitions the limits allow still work.
    rides.close();
    ASSERT_TRUE(rides.open(true).ok());
    EXPECT_TRUE(rides.addIndex({"PLNY", Repeated("SR_MER", 16), false}).ok());
    EXPECT_TRUE(rides.addIndex({"POPIS", "POPIS1+POPIS1", false}).ok());
}

TEST_F(CheckTest, TwoFieldsOfOneNameAreDamage) {
    // Rename the second field of typ_kol (KOL_TYP) to KOL_C.
    const std::string path = tmp.file("typ_kol.dbf");
    std::string content = testing::ReadFileBytes(path);
    ASSERT_EQ(content.compare(64, 7, "KOL_TYP"), 0);
    content.replace(64, 11, std::string("KOL_C\0\0\0\0\0\0", 11));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    EXPECT_TRUE(Mentions(CheckDatabase(tmp.path()).damage, "pole KOL_C je v tabulce dvakrát"));
    std::unique_ptr<sql::ResultSet> result;
    const Status st = sql::Query(tmp.path(), "SELECT KOL_C FROM typ_kol", &result);
    EXPECT_EQ(st.code(), Status::Code::kCorrupt) << st.message();
}

}  // namespace
}  // namespace kolvio
