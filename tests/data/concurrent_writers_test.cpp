// Several handles writing one table: in this process and from other processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <utility>

#include "data/dbf/dbf_file.h"
#include "data/table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

class ConcurrentWritersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            Table::Create(dir.path(), "jizdy.dbf",
                          {FieldDef::Numeric("WRITER", 2, 0), FieldDef::Numeric("SEQ", 6, 0),
                           FieldDef::Char("POPIS1", 20), FieldDef::Blob("OBR")})
                .ok());
    }

    static Status Append(Table& t, int writer, int seq) {
        KOLVIO_RETURN_IF_ERROR(t.append());
        KOLVIO_RETURN_IF_ERROR(t.setValue("WRITER", writer));
        KOLVIO_RETURN_IF_ERROR(t.setValue("SEQ", seq));
        KOLVIO_RETURN_IF_ERROR(t.setValue("POPIS1", "jízda " + std::to_string(seq)));
        return t.post();
    }

    // (writer, seq) -> how often it is stored, read by a fresh handle.
    std::map<std::pair<int, int>, int> StoredRides() {
        std::map<std::pair<int, int>, int> seen;
        Table t(dir.path(), "jizdy.dbf");
        EXPECT_TRUE(t.open().ok());
        for (Status st = t.first(); st.ok() && !t.eof(); st = t.next()) {
            ++seen[{static_cast<int>(t.getInt("WRITER")), static_cast<int>(t.getInt("SEQ"))}];
        }
        return seen;
    }

    static std::vector<int64_t> SeqInOrder(Table& t) {
        std::vector<int64_t> order;
        for (Status st = t.first(); st.ok() && !t.eof(); st = t.next())
            order.push_back(t.getInt("SEQ"));
        return order;
    }

    TempDir dir;
};

TEST_F(ConcurrentWritersTest, TwoHandlesAppendingInTurnKeepEveryRow) {
    Table a(dir.path(), "jizdy.dbf");
    Table b(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(a.open().ok());
    ASSERT_TRUE(b.open().ok());
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Append(a, 1, i).ok());
        ASSERT_TRUE(Append(b, 2, i).ok());
    }
    const auto seen = StoredRides();
    EXPECT_EQ(seen.size(), 10u);
    for (const auto& [ride, times] : seen)
        EXPECT_EQ(times, 1) << ride.first << "/" << ride.second;
    // Each handle's own rows are where it put them.
    ASSERT_TRUE(b.last().ok());
    EXPECT_EQ(b.getInt("WRITER"), 2);
    EXPECT_EQ(b.getInt("SEQ"), 4);
}

TEST_F(ConcurrentWritersTest, EditNeverPutsBackAnOlderRecordCount) {
    Table a(dir.path(), "jizdy.dbf");
    Table b(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(a.open().ok());
    ASSERT_TRUE(Append(a, 1, 0).ok());
    ASSERT_TRUE(b.open().ok());
    ASSERT_TRUE(Append(b, 2, 0).ok());
    // a still knows one row; editing it must not forget b's.
    ASSERT_TRUE(a.edit().ok());
    ASSERT_TRUE(a.setValue("POPIS1", "opraveno").ok());
    ASSERT_TRUE(a.post().ok());
    ASSERT_TRUE(a.deleteRecord().ok());
    std::unique_ptr<DbfFile> file;
    ASSERT_TRUE(DbfFile::Open(dir.file("jizdy.dbf"), false, LockMode::kShared, &file).ok());
    EXPECT_EQ(file->recordCount(), 2u);
    EXPECT_EQ(StoredRides().count({2, 0}), 1u);
}

TEST_F(ConcurrentWritersTest, HandleSeesRowsOfOthersInItsIndexOrderWhenItMovesToAnEnd) {
    {
        Table t(dir.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open(true).ok());
        ASSERT_TRUE(t.addIndex({"_SEQ", "SEQ", true}).ok());
    }
    Table a(dir.path(), "jizdy.dbf");
    Table b(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(a.open().ok());
    ASSERT_TRUE(a.setIndexName("_SEQ").ok());
    ASSERT_TRUE(b.open().ok());
    ASSERT_TRUE(Append(a, 1, 5).ok());
    ASSERT_TRUE(Append(b, 2, 9).ok());
    ASSERT_TRUE(Append(b, 2, 1).ok());
    EXPECT_EQ(a.recordCount(), 1);  // not before it moves
    EXPECT_EQ(SeqInOrder(a), (std::vector<int64_t>{9, 5, 1}));
    EXPECT_EQ(a.recordCount(), 3);
    // Its own append after more rows of others keeps them all in the index.
    ASSERT_TRUE(Append(b, 2, 7).ok());
    ASSERT_TRUE(Append(a, 1, 3).ok());
    EXPECT_EQ(SeqInOrder(a), (std::vector<int64_t>{9, 7, 5, 3, 1}));
}

TEST_F(ConcurrentWritersTest, MemoWritersNeverShareABlock) {
    Table a(dir.path(), "jizdy.dbf");
    Table b(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(a.open().ok());
    ASSERT_TRUE(b.open().ok());
    const std::string pictureA(700, 'a'), pictureB(300, 'b');
    ASSERT_TRUE(a.append().ok());
    ASSERT_TRUE(a.setValue("OBR", pictureA).ok());
    ASSERT_TRUE(b.append().ok());
    ASSERT_TRUE(b.setValue("OBR", pictureB).ok());
    ASSERT_TRUE(a.post().ok());
    ASSERT_TRUE(b.post().ok());
    Table reader(dir.path(), "jizdy.dbf");
    ASSERT_TRUE(reader.open().ok());
    EXPECT_EQ(reader.getString("OBR"), pictureA);
    ASSERT_TRUE(reader.next().ok());
    EXPECT_EQ(reader.getString("OBR"), pictureB);
}

// Two processes append 10,000 rides each at the same time, as kolvio-db
// importing rides while the program is open would.
TEST_F(ConcurrentWritersTest, TwoWritersStoreEveryRideOnce) {
    constexpr int kRides = 10000;
    int start[2];
    int ready[2];
    ASSERT_EQ(pipe(start), 0);
    ASSERT_EQ(pipe(ready), 0);
    std::vector<pid_t> writers;
    for (int writer = 1; writer <= 2; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(start[1]);
            close(ready[0]);
            Table t(dir.path(), "jizdy.dbf");
            if (!t.open().ok()) _exit(2);
            (void)!write(ready[1], "r", 1);
            char go;
            (void)!read(start[0], &go, 1);  // both begin together
            for (int i = 0; i < kRides; ++i) {
                if (!Append(t, writer, i).ok()) _exit(3);
            }
            _exit(0);
        }
        writers.push_back(pid);
    }
    close(start[0]);
    close(ready[1]);
    // Both tables open before either appends, so that the two only ever
    // meet as writers.
    char opened[2];
    size_t got = 0;
    while (got < 2) {
        const ssize_t n = read(ready[0], opened + got, 2 - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(ready[0]);
    close(start[1]);  // end of file: go
    for (pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    const auto seen = StoredRides();
    EXPECT_EQ(seen.size(), 2u * kRides);
    int duplicates = 0;
    for (const auto& entry : seen)
        duplicates += entry.second != 1;
    EXPECT_EQ(duplicates, 0);
    std::unique_ptr<DbfFile> file;
    ASSERT_TRUE(DbfFile::Open(dir.file("jizdy.dbf"), false, LockMode::kShared, &file).ok());
    EXPECT_EQ(file->recordCount(), 2u * kRides);
}

}  // namespace
}  // namespace kolvio
