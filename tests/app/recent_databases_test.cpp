#include "app/recent_databases.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "scratch_dir.h"

namespace kolvio {
namespace {

class RecentDb : public ::testing::Test {
protected:
    void Fill(const std::vector<std::string>& dirs) {
        for (size_t k = 0; k < dirs.size(); ++k) {
            ASSERT_TRUE(ini_.writeString("Predchozi", std::to_string(k + 1), dirs[k]).ok());
        }
    }
    std::vector<std::string> List() const {
        std::vector<std::string> out;
        for (int k = 1; k <= 6; ++k)
            out.push_back(RecentDbRead(ini_, k));
        return out;
    }

    testing::ScratchDir dir_;
    SettingsFile ini_{dir_.file("kolvio.ini")};
};

using Dirs = std::vector<std::string>;

TEST_F(RecentDb, NewDirectoryGoesFirstAndTheSixthDropsOut) {
    ASSERT_TRUE(RecentDbAdd(ini_, "/a").ok());
    EXPECT_EQ(List(), (Dirs{"/a", "", "", "", "", ""}));
    Fill({"1", "2", "3", "4", "5", "6"});
    ASSERT_TRUE(RecentDbAdd(ini_, "/new").ok());
    EXPECT_EQ(List(), (Dirs{"/new", "1", "2", "3", "4", "5"}));
}

TEST_F(RecentDb, KnownDirectoryInOtherCaseMovesUpWithoutDuplicate) {
    Fill({"/a", "/b", "C:\\Jízdy", "/d"});
    ASSERT_TRUE(RecentDbAdd(ini_, "c:\\JÍZDY").ok());
    EXPECT_EQ(List(), (Dirs{"c:\\JÍZDY", "/a", "/b", "/d", "", ""}));
    ASSERT_TRUE(RecentDbAdd(ini_, "C:\\jízdy").ok());  // already first: only the spelling changes
    EXPECT_EQ(List(), (Dirs{"C:\\jízdy", "/a", "/b", "/d", "", ""}));
}

TEST_F(RecentDb, LastMatchingKeyIsTheOneReplaced) {
    Fill({"/a", "/X", "/b", "/x", "/c"});
    ASSERT_TRUE(RecentDbAdd(ini_, "/x").ok());
    EXPECT_EQ(List(), (Dirs{"/x", "/a", "/X", "/b", "/c", ""}));
}

TEST_F(RecentDb, EmptyDirectoryIsNotAdded) {
    Fill({"/a", "/b"});
    ASSERT_TRUE(RecentDbAdd(ini_, "").ok());
    EXPECT_EQ(List(), (Dirs{"/a", "/b", "", "", "", ""}));
}

TEST_F(RecentDb, RemoveMovesLaterEntriesUpAndEmptiesTheLastKey) {
    Fill({"1", "2", "3", "4", "5", "6"});
    ASSERT_TRUE(RecentDbRemove(ini_, 2).ok());
    EXPECT_EQ(List(), (Dirs{"1", "3", "4", "5", "6", ""}));
    ASSERT_TRUE(RecentDbRemove(ini_, 5).ok());
    EXPECT_EQ(List(), (Dirs{"1", "3", "4", "5", "", ""}));
}

TEST_F(RecentDb, RemoveOutsideTheListChangesNothing) {
    Fill({"1", "2", "3", "4", "5", "6"});
    ASSERT_TRUE(RecentDbRemove(ini_, 0).ok());
    ASSERT_TRUE(RecentDbRemove(ini_, 7).ok());
    EXPECT_EQ(List(), (Dirs{"1", "2", "3", "4", "5", "6"}));
    ASSERT_TRUE(RecentDbRemove(ini_, 1, 1).ok());  // n below 2 counts as 2
    EXPECT_EQ(List(), (Dirs{"2", "", "3", "4", "5", "6"}));
}

}  // namespace
}  // namespace kolvio
