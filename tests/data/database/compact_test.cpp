// Packing the tables of the open database.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "data/database/database.h"
#include "data/file.h"
#include "tests/data/database/old_database.h"
#include "tests/data/scoped_tmpfs.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::RecordingShell;
using testing::TempDir;

// Names of leftover temporary files of whole-file rewrites in `dir`.
std::vector<std::string> TemporaryFiles(const std::string& dir) {
    std::vector<std::string> names, found;
    EXPECT_TRUE(ListDirectory(dir, &names).ok());
    for (const std::string& n : names) {
        if (n.find(".kolvio-") != std::string::npos) found.push_back(n);
    }
    return found;
}

mode_t Mode(const std::string& path) {
    struct stat st;
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

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

    static std::vector<bool> Packed(const std::vector<Status>& results) {
        std::vector<bool> packed;
        for (const Status& st : results)
            packed.push_back(st.ok());
        return packed;
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
    std::vector<Status> results;
    ASSERT_TRUE(db.CompactDatabase(&results).ok());
    EXPECT_EQ(Packed(results), std::vector<bool>(6, true));
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
    std::vector<Status> results;
    EXPECT_TRUE(db.CompactDatabase(&results).ok());
    EXPECT_EQ(Packed(results), (std::vector<bool>{true, true, true, false, true, true}));
    EXPECT_EQ(results[3].code(), Status::Code::kLocked);
    EXPECT_NE(results[3].message().find("právě používá jiný program"), std::string::npos);
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
    EXPECT_TRUE(packer.Pack().ok());
    packer.setFileName("typ_kol.db");  // Paradox: not packed here
    EXPECT_EQ(packer.Pack().code(), Status::Code::kInvalid);
    packer.setTableKind(TableKind::kParadox);
    packer.setFileName("typ_kol");
    const Status paradox = packer.Pack();
    EXPECT_EQ(paradox.code(), Status::Code::kInvalid);
    EXPECT_NE(paradox.message().find("typ_kol.DB"), std::string::npos) << paradox.message();
    EXPECT_FALSE(PathExists(tmp.file("typ_kol.DB")));
}

TEST_F(CompactTest, PackerReturnsToItsOwnOpenState) {
    TBSPktbl& packer = db.BSPktbl1();
    db.TTKOL().close();
    packer.setDirectory(tmp.path());
    packer.setFileName("typ_kol.dbf");
    ASSERT_TRUE(packer.open().ok());
    // Its own handle does not lock it out.
    EXPECT_TRUE(packer.Pack().ok());
    EXPECT_TRUE(packer.isOpen());
    packer.close();
    EXPECT_TRUE(packer.Pack().ok());
    EXPECT_FALSE(packer.isOpen());
}

TEST_F(CompactTest, PackNamesTheRealCauseOfEachFailureAndLeavesNoTemporaryFile) {
    // A directory where the temporary file of typ_trnz would go, a read-only typ_trs.
    ASSERT_TRUE(MakeDirectories(tmp.file("typ_trnz.dbf.kolvio-new")).ok());
    const std::string routes = tmp.file("typ_trs.dbf");
    ASSERT_EQ(::chmod(routes.c_str(), 0444), 0);
    const std::string routeBytes = testing::ReadFileBytes(routes);
    std::vector<Status> results;
    EXPECT_TRUE(db.CompactDatabase(&results).ok());
    ASSERT_EQ(results.size(), 6u);
    EXPECT_EQ(Packed(results), (std::vector<bool>{true, false, true, true, false, true}));
    EXPECT_NE(results[1].message().find("adresář"), std::string::npos) << results[1].message();
    EXPECT_NE(results[4].message().find("jen pro čtení"), std::string::npos)
        << results[4].message();
    for (const Status& st : results)
        EXPECT_EQ(st.message().find("jiný program"), std::string::npos) << st.message();
    EXPECT_EQ(testing::ReadFileBytes(routes), routeBytes);
    EXPECT_EQ(Mode(routes), 0444u);
    EXPECT_EQ(TemporaryFiles(tmp.path()), std::vector<std::string>{"typ_trnz.dbf.kolvio-new"});
}

TEST_F(CompactTest, PackKeepsTheModeAndOwnerOfEveryTable) {
    const std::string rides = tmp.file("jizdy.dbf");
    ASSERT_EQ(::chmod(rides.c_str(), 0640), 0);
    // Another owner can only be given by the superuser.
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chown(rides.c_str(), 1234, 5678), 0);
    }
    ASSERT_TRUE(db.Table1().moveToRow(3).ok());
    ASSERT_TRUE(db.Table1().deleteRecord().ok());
    ASSERT_TRUE(db.CompactDatabase().ok());
    EXPECT_EQ(db.Table1().recordCount(), 39);
    EXPECT_EQ(Mode(rides), 0640u);
    EXPECT_EQ(Mode(tmp.file("typ_kol.dbf")), 0644u);
    struct stat st;
    ASSERT_EQ(::stat(rides.c_str(), &st), 0);
    if (asRoot) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    } else {
        EXPECT_EQ(st.st_uid, ::geteuid());
    }
}

TEST_F(CompactTest, PackReplacesTheTargetOfASymlinkedTable) {
    // The rides live elsewhere; the database holds a link to them.
    TempDir elsewhere;
    db.Table1().close();
    std::filesystem::rename(tmp.file("jizdy.dbf"), elsewhere.file("jizdy.dbf"));
    std::filesystem::create_symlink(elsewhere.file("jizdy.dbf"), tmp.file("jizdy.dbf"));
    ASSERT_TRUE(db.Table1().open().ok());
    ASSERT_TRUE(db.Table1().moveToRow(0).ok());
    ASSERT_TRUE(db.Table1().deleteRecord().ok());
    std::vector<Status> results;
    ASSERT_TRUE(db.CompactDatabase(&results).ok());
    EXPECT_TRUE(results[0].ok()) << results[0].message();
    EXPECT_TRUE(std::filesystem::is_symlink(tmp.file("jizdy.dbf")));
    EXPECT_EQ(db.Table1().recordCount(), 39);
    Table target(elsewhere.path(), "jizdy.dbf");
    ASSERT_TRUE(target.open().ok());
    EXPECT_EQ(target.recordCount(), 39);
    EXPECT_TRUE(TemporaryFiles(elsewhere.path()).empty());
}

TEST(CompactFullDiskTest, FullDiskPackStopsAfterTheFirstTableAndFreesItsSpace) {
    testing::ScopedTmpfs disk(4 << 20);
    if (!disk.ok()) GTEST_SKIP() << "no tmpfs can be mounted here";
    Database db;
    ASSERT_TRUE(db.MOtevriNovaDB(disk.path(), OverwritePolicy::kKeepFiles).ok());
    Table& rides = db.Table1();
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(rides.append().ok());
        ASSERT_TRUE(rides.setValue("DELKA", i).ok());
        ASSERT_TRUE(rides.post().ok());
    }
    ASSERT_TRUE(rides.first().ok());
    ASSERT_TRUE(rides.deleteRecord().ok());
    const std::string before = testing::ReadFileBytes(disk.file("jizdy.dbf"));
    ASSERT_GT(before.size(), 1u << 20);
    // Fill the disk up to about 200 kB: too little for the packed rides.
    const auto space = std::filesystem::space(disk.path());
    ASSERT_TRUE(testing::FillFile(disk.file("vypln"), space.available - (200 << 10)));
    std::vector<Status> results;
    EXPECT_TRUE(db.CompactDatabase(&results).ok());
    ASSERT_EQ(results.size(), 6u);
    for (const Status& st : results) {
        EXPECT_EQ(st.code(), Status::Code::kNoSpace) << st.message();
        EXPECT_NE(st.message().find("místo"), std::string::npos) << st.message();
    }
    EXPECT_NE(results[1].message().find("jizdy.dbf"), std::string::npos);
    EXPECT_EQ(testing::ReadFileBytes(disk.file("jizdy.dbf")), before);
    EXPECT_TRUE(TemporaryFiles(disk.path()).empty());
    EXPECT_GE(std::filesystem::space(disk.path()).available, 150u << 10);
    EXPECT_EQ(rides.recordCount(), 2999);
}

}  // namespace
}  // namespace kolvio
