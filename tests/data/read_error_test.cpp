// A read that fails is reported, never taken for the end of the table.
//
// A table with deleted rows is walked, in physical order and in the order of
// an index, row by row and by position, with the Nth read of the disk
// failing. Every walk either sees every live row or gets an error naming
// the table: a failed read that looked like "no more rows" would show the
// rider a diary cut short without a word.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "data/table.h"
#include "tests/data/fault_file_system.h"
#include "tests/data/numbered_table.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FsCall;
using testing::FsError;
using testing::TempDir;

constexpr int kRows = 30;

void WriteTable(const std::string& dir) {
    testing::WriteNumberedTable(
        dir, kRows, [](int i) { return "Jízda " + std::to_string(kRows - i); }, {20, 7, 0});
    Table t(dir, "jizdy.dbf");
    ASSERT_TRUE(t.open(true).ok());
    ASSERT_TRUE(t.addIndex({"POPIS", "POPIS1", false}).ok());
}

// The rows a walk saw, or the error that stopped it.
struct Walk {
    int rows = 0;
    Status error;
};
using Walker = std::function<Walk(Table&)>;

Walk RowByRow(Table& t) {
    Walk walk;
    for (Status st = t.first();; st = t.next()) {
        if (!st.ok()) return {walk.rows, st};
        if (t.eof()) return walk;
        ++walk.rows;
    }
}

Walk ByPosition(Table& t) {
    Walk walk;
    const int64_t count = t.recordCount();
    for (int64_t row = 0; row < count; ++row) {
        if (Status st = t.moveToRow(row); !st.ok()) return {walk.rows, st};
        ++walk.rows;
    }
    return walk;
}

Walk Backwards(Table& t) {
    Walk walk;
    for (Status st = t.last();; st = t.prior()) {
        if (!st.ok()) return {walk.rows, st};
        if (t.bof()) return walk;
        ++walk.rows;
    }
}

Walk OpenAndWalk(const std::string& dir, const std::string& index, const Walker& walker) {
    Table t(dir, "jizdy.dbf");
    if (Status st = t.open(); !st.ok()) return {0, st};
    if (Status st = t.setIndexName(index); !st.ok()) return {0, st};
    return walker(t);
}

TEST(TableReadErrors, AFailedReadIsReportedWithTheTableNeverTakenForTheEnd) {
    TempDir tmp;
    WriteTable(tmp.path());
    const int live = kRows - 3;
    const struct {
        const char* name;
        Walker walker;
    } walks[] = {{"row by row", RowByRow}, {"by position", ByPosition}, {"backwards", Backwards}};
    int injected = 0;
    for (const char* index : {"", "POPIS"}) {
        for (const auto& [name, walker] : walks) {
            SCOPED_TRACE(std::string(name) + (*index ? " by the index" : " in physical order"));
            FaultFileSystem counting;
            {
                ScopedFileSystem installed(counting);
                const Walk whole = OpenAndWalk(tmp.path(), index, walker);
                ASSERT_TRUE(whole.error.ok()) << whole.error.message();
                ASSERT_EQ(whole.rows, live);
            }
            for (int n = 1; n <= counting.count(FsCall::kRead); ++n) {
                SCOPED_TRACE("read #" + std::to_string(n) + " fails");
                FaultFileSystem failing(Fault{FsCall::kRead, n, FsError::kEio});
                ScopedFileSystem installed(failing);
                const Walk walk = OpenAndWalk(tmp.path(), index, walker);
                if (!failing.fired()) continue;
                ++injected;
                if (walk.error.ok()) {
                    EXPECT_EQ(walk.rows, live) << "a failed read taken for the end";
                } else {
                    EXPECT_NE(walk.error.message().find("jizdy"), std::string::npos)
                        << walk.error.message();
                }
            }
        }
    }
    EXPECT_GT(injected, 0);
}

}  // namespace
}  // namespace kolvio
