// The extremes' entries: captions, codes and decoding.
#include "query/extreme_entries.h"

#include <gtest/gtest.h>

#include <set>

namespace kolvio {
namespace {

TEST(ExtremeEntries, TwoHundredSixtyEntriesInFigureThenRankOrder) {
    const std::vector<ExtremeEntry> entries = ExtremeEntries();
    ASSERT_EQ(entries.size(), 260u);
    EXPECT_EQ(entries[0].caption, "průměr 1. nejvyšší");
    EXPECT_EQ(entries[0].code, 101);
    EXPECT_EQ(entries[9].caption, "průměr 10. nejvyšší");
    EXPECT_EQ(entries[10].caption, "průměr 1. nejnižší");
    EXPECT_EQ(entries[10].code, 151);
    EXPECT_EQ(entries[5 * 20 + 12].caption, "tep max 3. nejnižší");
    EXPECT_EQ(entries[5 * 20 + 12].code, 653);
    EXPECT_EQ(entries.back().caption, "prům./lim.tep[%] 10. nejnižší");
    EXPECT_EQ(entries.back().code, 1360);
    std::set<int> codes;
    for (const ExtremeEntry& e : entries)
        EXPECT_TRUE(codes.insert(e.code).second) << e.code;
}

TEST(ExtremeEntries, EveryEntryDecodesToItsFigureAndRank) {
    int index = 0;
    for (const ExtremeEntry& e : ExtremeEntries()) {
        const auto d = DecodeExtreme(e.code);
        ASSERT_TRUE(d.has_value()) << e.code;
        EXPECT_EQ(d->figure, index / 20 + 1);
        EXPECT_EQ(d->rank, index % 10 + 1);
        EXPECT_EQ(d->highest, index % 20 < 10);
        EXPECT_EQ(e.caption.rfind(RideFigures()[d->figure - 1].name, 0), 0u) << e.caption;
        ++index;
    }
}

TEST(ExtremeEntries, CodesThatNameNoExtreme) {
    for (int code : {0, 100, 1300, 1401, 99, 1, -101, 5000})
        EXPECT_FALSE(DecodeExtreme(code).has_value()) << code;
    const auto highest49 = DecodeExtreme(149);
    ASSERT_TRUE(highest49.has_value());
    EXPECT_TRUE(highest49->highest);
    EXPECT_EQ(highest49->rank, 49);
    const auto lowest = DecodeExtreme(199);
    ASSERT_TRUE(lowest.has_value());
    EXPECT_FALSE(lowest->highest);
    EXPECT_EQ(lowest->rank, 49);
}

}  // namespace
}  // namespace kolvio
