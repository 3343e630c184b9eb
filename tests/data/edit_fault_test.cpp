// A change of a stored row that the disk fails part way leaves the old row.
//
// An edit is posted, and a row deleted, once per write and read of the
// disk with that call failing (EIO, ENOSPC, or a write that stores half its
// bytes and then runs out of space). Afterwards the row is the old one when
// a write failed and the new one when the change reported success, never a
// mixture; the other rows and the count are untouched, and the handle can
// still cancel and go on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "data/table.h"
#include "tests/data/fault_file_system.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FsCall;
using testing::FsError;
using testing::TempDir;

constexpr int kRows = 4;
constexpr int kChanged = 2;  // the row the change is made to

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Layout {
    size_t header = 0, record = 0;
};

Layout LayoutOf(const std::string& table) {
    const auto word = [&](size_t at) {
        return static_cast<size_t>(static_cast<uint8_t>(table[at])) |
               static_cast<size_t>(static_cast<uint8_t>(table[at + 1])) << 8;
    };
    return {word(8), word(10)};
}

std::string RecordOf(const std::string& table, int row) {
    const Layout l = LayoutOf(table);
    return table.substr(l.header + static_cast<size_t>(row) * l.record, l.record);
}

class EditFaultTest : public ::testing::Test {
protected:
    using Change = std::function<Status(Table&)>;

    void SetUp() override {
        ASSERT_TRUE(Table::Create(tmp.path(), "jizdy.dbf",
                                  {FieldDef::Numeric("DELKA", 7, 1), FieldDef::Char("POPIS1", 40)})
                        .ok());
        Table t(tmp.path(), "jizdy.dbf");
        ASSERT_TRUE(t.open().ok());
        for (int i = 0; i < kRows; ++i) {
            ASSERT_TRUE(t.append().ok());
            ASSERT_TRUE(t.setValue("DELKA", Value(10.0 * i)).ok());
            ASSERT_TRUE(
                t.setValue("POPIS1", Value("Jízda " + std::to_string(i) + " přes Říp")).ok());
            ASSERT_TRUE(t.post().ok());
        }
        t.close();
        original = ReadAll(path());
    }

    std::string path() const { return tmp.file("jizdy.dbf"); }
    void restore() const { std::ofstream(path(), std::ios::binary | std::ios::trunc) << original; }

    // Runs `change` on the row kChanged of a freshly opened table once to
    // learn the stored result, then once per failing call. Returns how many
    // faults were injected.
    int sweep(const Change& change) {
        FaultFileSystem counting;
        {
            Table t(tmp.path(), "jizdy.dbf");
            EXPECT_TRUE(t.open().ok());
            ScopedFileSystem installed(counting);
            EXPECT_TRUE(t.moveToRow(kChanged).ok());
            const Status st = change(t);
            EXPECT_TRUE(st.ok()) << st.message();
        }
        const std::string changed = RecordOf(ReadAll(path()), kChanged);
        EXPECT_NE(changed, RecordOf(original, kChanged));
        int injected = 0;
        for (FsCall call : {FsCall::kRead, FsCall::kWrite}) {
            for (int n = 1; n <= counting.count(call); ++n) {
                for (FsError error : {FsError::kEio, FsError::kNoSpace, FsError::kShortWrite}) {
                    if (call == FsCall::kRead && error == FsError::kShortWrite) continue;
                    const Fault fault{call, n, error};
                    SCOPED_TRACE(Describe(fault));
                    restore();
                    Table t(tmp.path(), "jizdy.dbf");
                    EXPECT_TRUE(t.open().ok());
                    EXPECT_TRUE(t.moveToRow(kChanged).ok());
                    FaultFileSystem failing(fault);
                    Status st;
                    {
                        ScopedFileSystem installed(failing);
                        st = change(t);
                    }
                    if (!failing.fired()) continue;
                    ++injected;
                    const std::string now = ReadAll(path());
                    EXPECT_EQ(now.size(), original.size());
                    const std::string row = RecordOf(now, kChanged);
                    EXPECT_TRUE(row == changed || row == RecordOf(original, kChanged))
                        << "a row half written";
                    if (st.ok()) {
                        EXPECT_EQ(row, changed) << "success reported, the new row not stored";
                    } else {
                        EXPECT_NE(st.message().find("jizdy.dbf"), std::string::npos)
                            << st.message();
                    }
                    // A write that failed undid the change; only a read of
                    // the following row may fail once the change is stored.
                    if (st.failed() && call == FsCall::kWrite) {
                        EXPECT_EQ(row, RecordOf(original, kChanged))
                            << "a failed write left the row changed";
                    }
                    for (int other = 0; other < kRows; ++other) {
                        if (other != kChanged) {
                            EXPECT_EQ(RecordOf(now, other), RecordOf(original, other));
                        }
                    }
                    EXPECT_EQ(now.substr(4, 4), original.substr(4, 4)) << "the count changed";
                    // The handle goes on: a failed post can be cancelled.
                    t.cancel();
                    EXPECT_EQ(t.state(), DatasetState::kBrowse);
                    EXPECT_TRUE(t.first().ok());
                    if (HasFailure()) return injected;
                }
            }
        }
        return injected;
    }

    TempDir tmp;
    std::string original;
};

TEST_F(EditFaultTest, EditThatFailsPartWayLeavesTheOldRowNeverAHalfWrittenOne) {
    const int injected = sweep([](Table& t) {
        KOLVIO_RETURN_IF_ERROR(t.edit());
        KOLVIO_RETURN_IF_ERROR(t.setValue("DELKA", Value(123.5)));
        KOLVIO_RETURN_IF_ERROR(t.setValue("POPIS1", Value("Opraveno: Žďár nad Sázavou a zpět")));
        return t.post();
    });
    EXPECT_GT(injected, 3);
}

TEST_F(EditFaultTest, DeletionThatFailsLeavesTheRowLive) {
    const int injected = sweep([](Table& t) { return t.deleteRecord(); });
    EXPECT_GT(injected, 1);
}

}  // namespace
}  // namespace kolvio
