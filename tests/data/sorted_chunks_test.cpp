#include "data/index/sorted_chunks.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace kolvio {
namespace {

// Compares against std::multiset through thousands of random inserts and
// erases, across chunk splits and merges, in both directions.
TEST(SortedChunksTest, PositionsMatchAReferenceMultisetAcrossSplits) {
    for (const bool descending : {false, true}) {
        std::mt19937 rng(descending ? 3 : 4);
        SortedChunks<int> chunks(descending);
        std::vector<SortedChunks<int>::Entry> initial;
        for (uint32_t r = 0; r < 1500; ++r)
            initial.push_back({static_cast<int>(rng() % 200), r});
        chunks.build(initial);
        auto order = [descending](const std::pair<int, uint32_t>& a,
                                  const std::pair<int, uint32_t>& b) {
            if (a.first != b.first) return descending ? a.first > b.first : a.first < b.first;
            return a.second < b.second;
        };
        std::set<std::pair<int, uint32_t>, decltype(order)> ref(order);
        for (const auto& e : initial)
            ref.insert({e.key, e.recno});
        uint32_t next = 1500;
        for (int step = 0; step < 6000; ++step) {
            if (rng() % 3 != 0 || ref.empty()) {
                const int key = static_cast<int>(rng() % 200);
                chunks.insert({key, next});
                ref.insert({key, next++});
            } else {
                auto it = ref.begin();
                std::advance(it, rng() % ref.size());
                ASSERT_TRUE(chunks.erase(it->first, it->second));
                ref.erase(it);
            }
        }
        ASSERT_EQ(chunks.size(), ref.size());
        size_t pos = 0;
        for (const auto& [key, recno] : ref) {
            ASSERT_EQ(chunks.at(pos).key, key);
            ASSERT_EQ(chunks.at(pos).recno, recno);
            ASSERT_EQ(chunks.find(key, recno), pos);
            ++pos;
        }
        for (int key = 0; key < 200; key += 17) {
            const auto lo = static_cast<size_t>(
                std::distance(ref.begin(), ref.lower_bound({key, descending ? 0 : 0})));
            const auto hi =
                static_cast<size_t>(std::distance(ref.begin(), ref.upper_bound({key, UINT32_MAX})));
            EXPECT_EQ(chunks.lowerBound(key), lo);
            EXPECT_EQ(chunks.upperBound(key), hi);
        }
        EXPECT_FALSE(chunks.erase(999, 1));
    }
}

}  // namespace
}  // namespace kolvio
