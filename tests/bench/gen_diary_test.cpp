// A generated diary passes check and opens like any database.
#include "gen_diary.h"

#include <gtest/gtest.h>

#include "data/database/check.h"
#include "data/database/database.h"
#include "data/file.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

TEST(GenDiaryTest, GeneratedDiaryIsASoundDatabaseWithItsMemoFile) {
    testing::TempDir dir;
    ASSERT_TRUE(bench::GenerateDiary(dir.path(), {300, 7}).ok());
    const CheckReport report = CheckDatabase(dir.path());
    EXPECT_TRUE(report.healthy()) << report.damage.front();
    EXPECT_EQ(report.tablesRead, 6);
    EXPECT_TRUE(PathExists(dir.file("typ_trs.dbt")));
    Database db;
    OpenReport opened;
    ASSERT_TRUE(db.MOtevriNovaDB(dir.path(), OverwritePolicy::kKeepFiles, &opened).ok());
    EXPECT_FALSE(opened.created);
    EXPECT_TRUE(opened.columnsAdded.empty());
    EXPECT_EQ(db.Table1().recordCount(), 300);
}

}  // namespace
}  // namespace kolvio
