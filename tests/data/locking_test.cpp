// Exclusive access between handles and between processes, and packing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "data/table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

class ExclusiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Table::Create(dir.path(), "kola.dbf",
                                  {FieldDef::Float("KOL_C", 20, 4), FieldDef::Char("KOL_TYP", 20)})
                        .ok());
        Table t(dir.path(), "kola.dbf");
        ASSERT_TRUE(t.open().ok());
        for (int i = 1; i <= 6; ++i) {
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("KOL_C", i).ok());
            ASSERT_TRUE(t.setValue("KOL_TYP", "kolo " + std::to_string(i)).ok());
            ASSERT_TRUE(t.post().ok());
        }
    }
    TempDir dir;
};

TEST_F(ExclusiveTest, TableHeldByAnotherProcessCannotBeOpenedExclusively) {
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    if (child == 0) {
        Table t(dir.path(), "kola.dbf");
        const bool ok = t.open().ok();
        char c = ok ? '1' : '0';
        (void)!write(ready[1], &c, 1);
        (void)!read(done[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, '1');
    Table mine(dir.path(), "kola.dbf");
    const Status st = mine.open(true);
    EXPECT_EQ(st.code(), Status::Code::kLocked);
    EXPECT_NE(st.message().find("kola.dbf"), std::string::npos);
    EXPECT_TRUE(mine.open(false).ok());  // sharing is fine
    mine.close();
    (void)!write(done[1], "x", 1);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(mine.open(true).ok());
}

TEST_F(ExclusiveTest, IndexChangesAndPackNeedExclusiveAccess) {
    Table t(dir.path(), "kola.dbf");
    ASSERT_TRUE(t.open().ok());
    EXPECT_EQ(t.addIndex({"KOL_C", "KOL_C", false}).code(), Status::Code::kLocked);
    EXPECT_EQ(t.pack().code(), Status::Code::kLocked);
    Table other(dir.path(), "kola.dbf");
    EXPECT_FALSE(other.open(true).ok());  // a handle of this process counts too
}

TEST_F(ExclusiveTest, PackRemovesDeletedRowsKeepsOrderAndRebuildsIndexes) {
    Table t(dir.path(), "kola.dbf");
    ASSERT_TRUE(t.open(true).ok());
    ASSERT_TRUE(t.addIndex({"_KOL_C", "KOL_C", true}).ok());
    for (int row : {4, 1}) {
        ASSERT_TRUE(t.moveToRow(row).ok());
        ASSERT_TRUE(t.deleteRecord().ok());
    }
    const auto sizeBefore = std::filesystem::file_size(dir.file("kola.dbf"));
    ASSERT_TRUE(t.pack().ok());
    EXPECT_LT(std::filesystem::file_size(dir.file("kola.dbf")), sizeBefore);
    std::vector<int64_t> codes;
    for (Status st = t.first(); !t.eof(); st = t.next()) {
        ASSERT_TRUE(st.ok()) << st.message();
        codes.push_back(t.getInt("KOL_C"));
    }
    EXPECT_EQ(codes, (std::vector<int64_t>{1, 3, 4, 6}));
    ASSERT_TRUE(t.setIndexName("_KOL_C").ok());
    codes.clear();
    for (Status st = t.first(); !t.eof(); st = t.next()) {
        ASSERT_TRUE(st.ok()) << st.message();
        codes.push_back(t.getInt("KOL_C"));
    }
    EXPECT_EQ(codes, (std::vector<int64_t>{6, 4, 3, 1}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("kola.dbf.kolvio-new")));
    t.close();
    Table fresh(dir.path(), "kola.dbf");
    ASSERT_TRUE(fresh.open().ok());
    EXPECT_EQ(fresh.recordCount(), 4);
    EXPECT_EQ(fresh.getString("KOL_TYP"), "kolo 1");
}

TEST_F(ExclusiveTest, PackWithNothingDeletedKeepsEveryByteOfTheRows) {
    std::ifstream in(dir.file("kola.dbf"), std::ios::binary);
    const std::string before(std::istreambuf_iterator<char>(in), {});
    Table t(dir.path(), "kola.dbf");
    ASSERT_TRUE(t.open(true).ok());
    ASSERT_TRUE(t.pack().ok());
    t.close();
    std::ifstream again(dir.file("kola.dbf"), std::ios::binary);
    const std::string after(std::istreambuf_iterator<char>(again), {});
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(32), before.substr(32));
}

TEST_F(ExclusiveTest, DamagedIndexSidecarIsIgnoredNotTrusted) {
    Table t(dir.path(), "kola.dbf");
    ASSERT_TRUE(t.open(true).ok());
    ASSERT_TRUE(t.addIndex({"KOL_C", "KOL_C", false}).ok());
    t.close();
    std::ofstream(dir.file("kola.kix"), std::ios::trunc) << "KOLVIO-INDEX 1\nKOL_C\tKOL_C\n";
    ASSERT_TRUE(t.open().ok());
    EXPECT_TRUE(t.indexDefs().empty());
    t.close();
    std::ofstream(dir.file("kola.kix"), std::ios::trunc)
        << "KOLVIO-INDEX 1\nX\tNO_SUCH_FIELD\tA\nKOL_C\tKOL_C\tA\n";
    ASSERT_TRUE(t.open().ok());
    ASSERT_EQ(t.indexDefs().size(), 1u);  // a definition naming a missing field is dropped
    EXPECT_EQ(t.indexDefs()[0].name, "KOL_C");
}

// Found by fuzzing: a sidecar that names an index twice gave the table two
// indexes of one name, so the order chosen by that name was not the one
// listed for it.
TEST_F(ExclusiveTest, IndexNamedTwiceInTheSidecarIsTakenOnceInItsFirstMeaning) {
    std::ofstream(dir.file("kola.kix"), std::ios::trunc)
        << "KOLVIO-INDEX 1\nX\tNO_SUCH_FIELD\tA\nA\tKOL_TYP\tD\nx\tKOL_C\tA\na\tKOL_C\tA\n";
    Table t(dir.path(), "kola.dbf");
    ASSERT_TRUE(t.open().ok());
    const std::vector<IndexDef> expected = {{"A", "KOL_TYP", true}, {"x", "KOL_C", false}};
    EXPECT_EQ(t.indexDefs(), expected);
}

}  // namespace
}  // namespace kolvio
