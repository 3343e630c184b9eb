// Packing the tables of the open database.
#include <gtest/gtest.h>

#include "data/database/database.h"
#include "data/file.h"
#include "tests/data/database/old_database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::RecordingShell;
using testing::TempDir;

class CompactTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
        Table& rides = db.Table1();
        for (int i = 0; i < 40; ++i) {
            ASSERT_TRUE(rides.append().ok());
            ASSERT_TRUE(rides.setValue("DELKA", i).ok());
            ASSERT_TRUE(rides.setValue("POPIS1", "jízda " + std::to_string(i)).ok());
            ASSERT_TRUE(rides.post().ok());
        }
    }

    std::vector<double> Distances() {
        std::vector<double> out;
        Table& rides = db.Table1();
        EXPECT_TRUE(rides.first().ok());
        for (; !rides.eof(); (void)rides.next())
            out.push_back(rides.getDouble("DELKA"));
        return out;
    }

    uint64_t FileSize(const std::string& name) {
        return testing::ReadFileBytes(tmp.file(name)).size();
    }

    TempDir tmp;
    RecordingShell shell;
    Database db{&shell};
};

TEST_F(CompactTest, NothingDeletedKeepsEveryRowInItsOrder) {
    const std::vector<double> before = Distances();
    std::vector<bool> packed;
    ASSERT_TRUE(db.CompactDatabase(&packed).ok());
    EXPECT_EQ(packed, std::vector<bool>(6, true));
    EXPECT_EQ(Distances(), before);
}

TEST_F(CompactTest, DeletedRidesAreGoneAndTheFileShrinks) {
    std::vector<double> kept;
    Table& rides = db.Table1();
    for (int i = 39; i >= 0; --i) {
        ASSERT_TRUE(rides.moveToRow(i).ok());
        if (i % 3 == 0) {
            ASSERT_TRUE(rides.deleteRecord().ok());
        }
    }
    for (int i = 0; i < 40; ++i) {
        if (i % 3 != 0) kept.push_back(i);
    }
    const uint64_t before = FileSize("jizdy.dbf");
    ASSERT_TRUE(db.CompactDatabase().ok());
    EXPECT_EQ(Distances(), kept);
    EXPECT_EQ(rides.recordCount(), static_cast<int64_t>(kept.size()));
    EXPECT_LT(FileSize("jizdy.dbf"), before);
    // The indexes still order the packed rows.
    ASSERT_TRUE(rides.setIndexName("DELKA").ok());
    EXPECT_EQ(Distances(), kept);
}

TEST_F(CompactTest, StatusPanelShowsTheSixTextsInTurnAndIsEmptyAfterwards) {
    ASSERT_TRUE(db.CompactDatabase().ok());
    EXPECT_EQ(
        shell.lines("status"),
        (std::vector<std::string>{
            "status Probíhá komprese jízd", "status Probíhá komprese typu jízd - základní",
            "status Probíhá komprese typu jízd - vedlejší", "status Probíhá komprese kol",
            "status Probíhá komprese tratí", "status Probíhá komprese hlídání tepu", "status "}));
}

TEST_F(CompactTest, TableHeldElsewhereIsSkippedSilentlyAndAllTablesReopen) {
    Table holder(tmp.path(), "typ_kol.dbf");
    ASSERT_TRUE(holder.open().ok());
    std::vector<bool> packed;
    EXPECT_TRUE(db.CompactDatabase(&packed).ok());
    EXPECT_EQ(packed, (std::vector<bool>{true, true, true, false, true, true}));
    for (Table* t : {&db.Table1(), &db.TTRNZ(), &db.TTRN(), &db.TTKOL(), &db.TTRS(), &db.TTHLD()}) {
        EXPECT_TRUE(t->isOpen()) << t->fileName();
    }
    EXPECT_EQ(db.TTKOL().recordCount(), 2);
}

TEST_F(CompactTest, PackerTakesTheKindFromTheExtension) {
    TBSPktbl& packer = db.BSPktbl1();
    db.TTKOL().close();
    packer.setDirectory(tmp.path());
    packer.setFileName("typ_kol");  // dBase kind: ".DBF" is added
    EXPECT_TRUE(packer.Pack());
    packer.setFileName("typ_kol.db");  // Paradox: not packed here
    EXPECT_FALSE(packer.Pack());
    packer.setTableKind(TableKind::kParadox);
    packer.setFileName("typ_kol");
    EXPECT_FALSE(packer.Pack());
    EXPECT_FALSE(PathExists(tmp.file("typ_kol.DB")));
}

TEST_F(CompactTest, PackerReturnsToItsOwnOpenState) {
    TBSPktbl& packer = db.BSPktbl1();
    db.TTKOL().close();
    packer.setDirectory(tmp.path());
    packer.setFileName("typ_kol.dbf");
    ASSERT_TRUE(packer.open().ok());
    // Its own handle does not lock it out.
    EXPECT_TRUE(packer.Pack());
    EXPECT_TRUE(packer.isOpen());
    packer.close();
    EXPECT_TRUE(packer.Pack());
    EXPECT_FALSE(packer.isOpen());
}

}  // namespace
}  // namespace kolvio
