// Opening a directory as the database: creating, refusing, reopening.
#include <gtest/gtest.h>

#include <fstream>

#include "data/database/database.h"
#include "data/database/index_helpers.h"
#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "tests/data/database/old_database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::RecordingShell;
using testing::Snapshot;
using testing::TempDir;

std::vector<std::string> Texts(Table& table, const char* field) {
    std::vector<std::string> out;
    EXPECT_TRUE(table.first().ok());
    while (!table.eof()) {
        out.push_back(table.getString(field));
        EXPECT_TRUE(table.next().ok());
    }
    return out;
}

std::vector<double> Numbers(Table& table, const char* field) {
    std::vector<double> out;
    EXPECT_TRUE(table.first().ok());
    while (!table.eof()) {
        out.push_back(table.getDouble(field));
        EXPECT_TRUE(table.next().ok());
    }
    return out;
}

void Touch(const std::string& path) {
    std::ofstream(path) << "not a table";
}

class OpenTest : public ::testing::Test {
protected:
    TempDir tmp;
    RecordingShell shell;
    Database db{&shell};
};

TEST_F(OpenTest, MissingDirectoryBecomesANewDatabaseWithDefaultRowsInOrder) {
    const std::string dir = tmp.file("a/b/DATA");
    OpenReport report;
    ASSERT_TRUE(db.MOtevriNovaDB(dir + "/", OverwritePolicy::kKeepFiles, &report).ok());
    EXPECT_TRUE(report.created);
    EXPECT_EQ(db.DataDir(), dir);
    for (std::string_view name : kDatabaseFiles) {
        EXPECT_TRUE(PathExists(dir + "/" + std::string(name))) << name;
    }
    EXPECT_EQ(Numbers(db.TTRNZ(), "TRNZ_C"), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Texts(db.TTRNZ(), "TRNZ_N"),
              (std::vector<std::string>{"trenažer", "vyjížďka", "závod"}));
    ASSERT_TRUE(db.TTRNZ().first().ok());
    EXPECT_TRUE(db.TTRNZ().getBool("ZADNE_TRS"));
    EXPECT_EQ(Texts(db.TTRS(), "TRS_MEZI"),
              (std::vector<std::string>{"trenažer", "NESPECIFIKOVÁNO"}));
    EXPECT_EQ(Texts(db.TTRS(), "TRS_N2"), (std::vector<std::string>{"", "NESPEC"}));
    EXPECT_EQ(Texts(db.TTKOL(), "KOL_TYP"),
              (std::vector<std::string>{"SILNIČNÍ ZÁVODNÍ", "SILNIČNÍ ZIMNÍ"}));
    EXPECT_EQ(Texts(db.TTHLD(), "THL_ZKR"),
              (std::vector<std::string>{"neměřeno", "nehlídaný", "hlídaný"}));
    EXPECT_EQ(Texts(db.TTHLD(), "THL_POP"),
              (std::vector<std::string>{"", "pouze měřeno", "při překročení zpomalení"}));
    EXPECT_EQ(db.Table1().recordCount(), 0);
    // The secondary types follow the current primary type.
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 2).ok());
    EXPECT_EQ(Texts(db.TTRN(), "TRN_N"), (std::vector<std::string>{"NESPECIFIKOVÁNO", "FREKVENCE",
                                                                   "KOPCE NA PLNO", "NA PRŮMĚR"}));
    ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", 3).ok());
    EXPECT_EQ(Numbers(db.TTRN(), "TRN_C"), (std::vector<double>{301, 302, 303}));
    EXPECT_EQ(shell.lines("caption"),
              (std::vector<std::string>{"caption KOLVIO 2.3 {" + dir + "} "}));
    EXPECT_EQ(shell.lines("shorten"), (std::vector<std::string>{"shorten 30"}));
    EXPECT_GE(shell.driverApplied, 1);
}

TEST_F(OpenTest, NewDatabaseHasEveryMaintainedIndex) {
    OpenReport report;
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles, &report).ok());
    size_t count = 0;
    for (const IndexedTable& t : MaintainedIndexes()) {
        Table table(tmp.path(), std::string(t.fileName));
        for (std::string_view name : t.indexes) {
            EXPECT_TRUE(IndexExists(table, name)) << t.fileName << " " << name;
            ++count;
        }
    }
    EXPECT_EQ(report.indexesCreated.size(), count);
    EXPECT_EQ(report.indexesCreated.front(), "typ_trnz.dbf TRNZ_C");
    EXPECT_EQ(report.indexesCreated.back(), "jizdy.dbf THL_C");
}

TEST_F(OpenTest, FiveTableFilesMakeADatabaseAndFourDoNot) {
    EXPECT_FALSE(DatabaseFilesPresent(tmp.path(), 1));
    EXPECT_FALSE(DatabaseFilesPresent(tmp.path(), 2));
    for (int i = 0; i < 4; ++i)
        Touch(tmp.file(std::string(kDatabaseFiles[i])));
    EXPECT_FALSE(DatabaseFilesPresent(tmp.path(), 1));
    EXPECT_TRUE(DatabaseFilesPresent(tmp.path(), 2));
    Touch(tmp.file("TYP_TRS.DBF"));  // names match whatever their case
    EXPECT_TRUE(DatabaseFilesPresent(tmp.path(), 1));
    EXPECT_FALSE(DatabaseFilesPresent(tmp.path(), 3));
}

TEST_F(OpenTest, PartialDatabaseIsRefusedWithoutTouchingItsFilesOrTheOpenDatabase) {
    const std::string first = tmp.file("first");
    ASSERT_TRUE(db.MOtevriNovaDB(first, OverwritePolicy::kKeepFiles).ok());
    const std::string partial = tmp.file("partial");
    ASSERT_TRUE(MakeDirectories(partial).ok());
    Touch(partial + "/jizdy.dbf");
    Touch(partial + "/typ_kol.dbf");
    const auto before = Snapshot(partial);

    const Status st = db.MOtevriNovaDB(partial, OverwritePolicy::kKeepFiles);
    EXPECT_TRUE(st.failed());
    EXPECT_NE(st.message().find(partial), std::string::npos) << st.message();
    EXPECT_NE(st.message().find("jizdy.dbf, typ_kol.dbf"), std::string::npos) << st.message();
    EXPECT_EQ(Snapshot(partial), before);
    EXPECT_EQ(db.DataDir(), first);
    EXPECT_TRUE(db.Table1().isOpen());
    EXPECT_EQ(db.Table1().directory(), first);
}

TEST_F(OpenTest, PartialDatabaseIsReplacedOnceTheOverwriteQuestionWasAnswered) {
    Touch(tmp.file("jizdy.dbf"));
    OpenReport report;
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kReplace, &report).ok());
    EXPECT_TRUE(report.created);
    EXPECT_EQ(db.TTHLD().recordCount(), 3);
    EXPECT_EQ(db.Table1().recordCount(), 0);
}

TEST_F(OpenTest, DirectoryThatCannotBeCreatedIsSilentAndKeepsTheOpenDatabase) {
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.file("db"), OverwritePolicy::kKeepFiles).ok());
    Touch(tmp.file("file"));
    const Status st = db.MOtevriNovaDB(tmp.file("file/sub"), OverwritePolicy::kKeepFiles);
    EXPECT_TRUE(st.aborted());
    EXPECT_EQ(db.DataDir(), tmp.file("db"));
    EXPECT_TRUE(db.TTRS().isOpen());
}

TEST_F(OpenTest, ExistingEmptyDatabaseGetsNoDefaultRows) {
    for (std::string_view name : kDatabaseFiles) {
        ASSERT_TRUE(Table::Create(tmp.path(), std::string(name), CreatedFields(name)).ok());
    }
    OpenReport report;
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles, &report).ok());
    EXPECT_FALSE(report.created);
    for (Table* t : {&db.Table1(), &db.TTRNZ(), &db.TTKOL(), &db.TTRS(), &db.TTHLD()}) {
        EXPECT_EQ(t->recordCount(), 0) << t->fileName();
    }
}

TEST_F(OpenTest, OpeningTwiceChangesNoByte) {
    ASSERT_TRUE(testing::WriteOldDatabase(tmp.path(), testing::SampleOldRides()).ok());
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    const auto first = Snapshot(tmp.path());
    Database again;
    OpenReport report;
    ASSERT_TRUE(again.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles, &report).ok());
    EXPECT_FALSE(report.created);
    EXPECT_TRUE(report.columnsAdded.empty());
    EXPECT_TRUE(report.tablesConverted.empty());
    EXPECT_TRUE(report.indexesCreated.empty());
    EXPECT_EQ(Snapshot(tmp.path()), first);
}

TEST_F(OpenTest, FiveFilesWithAnotherOneMissingFailAtTheMissingFile) {
    for (std::string_view name : kDatabaseFiles) {
        if (name == "typ_kol.dbf") continue;
        ASSERT_TRUE(Table::Create(tmp.path(), std::string(name), CreatedFields(name)).ok());
    }
    const Status st = db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles);
    EXPECT_TRUE(st.failed());
    EXPECT_NE(st.message().find("typ_kol.dbf"), std::string::npos) << st.message();
    EXPECT_FALSE(PathExists(tmp.file("typ_kol.dbf")));
}

}  // namespace
}  // namespace kolvio

namespace kolvio {
namespace {

class QueryBindingTest : public ::testing::Test {
protected:
    testing::TempDir tmp;
    testing::RecordingShell shell;
    Database db{&shell};
};

TEST_F(QueryBindingTest, QueriesRunOverTheOpenDatabaseAndCloseWhenItChanges) {
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.file("one"), OverwritePolicy::kKeepFiles).ok());
    db.Query1().setSql({"SELECT TYP_KOL.KOL_TYP", "FROM TYP_KOL", "ORDER BY TYP_KOL.KOL_C"});
    ASSERT_TRUE(db.Query1().open().ok());
    ASSERT_EQ(db.Query1().result()->recordCount(), 2);
    EXPECT_EQ(db.Query1().result()->getString("KOL_TYP"), "SILNIČNÍ ZÁVODNÍ");

    // A bike added in another database must not show through the old result.
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.file("two"), OverwritePolicy::kKeepFiles).ok());
    EXPECT_FALSE(db.Query1().isOpen());
    ASSERT_TRUE(db.TTKOL().append().ok());
    ASSERT_TRUE(db.TTKOL().setValue("KOL_C", 3).ok());
    ASSERT_TRUE(db.TTKOL().post().ok());
    ASSERT_TRUE(db.Query1().open().ok());
    EXPECT_EQ(db.Query1().result()->recordCount(), 3);
    EXPECT_EQ(db.Query1().directory(), tmp.file("two"));
}

TEST_F(QueryBindingTest, RefusedStatementLeavesTheQueryClosed) {
    ASSERT_TRUE(db.MOtevriNovaDB(tmp.file("one"), OverwritePolicy::kKeepFiles).ok());
    db.Query2().setSql({"SELECT NIC FROM JIZDY"});
    const Status st = db.Query2().open();
    EXPECT_TRUE(st.failed());
    EXPECT_NE(st.message().find("NIC"), std::string::npos);
    EXPECT_FALSE(db.Query2().isOpen());
}

}  // namespace
}  // namespace kolvio
