// The join and aggregate hash tables on their own.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "data/sql/execution/aggregate_hashtable.h"
#include "data/sql/execution/join_hashtable.h"

namespace kolvio::sql {
namespace {

Vector Numbers(std::initializer_list<std::optional<double>> values) {
    Vector v(SqlType::kNumber);
    v.resize(values.size());
    size_t i = 0;
    for (const auto& x : values) {
        if (x) {
            v.setNumber(i, *x);
        } else {
            v.setNull(i);
        }
        ++i;
    }
    return v;
}

Vector Texts(std::initializer_list<const char*> values) {
    Vector v(SqlType::kText);
    v.resize(values.size());
    size_t i = 0;
    for (const char* x : values)
        v.setText(i++, x);
    return v;
}

std::vector<uint32_t> Matches(const JoinHashTable& t, const std::vector<const Vector*>& probe,
                              size_t row) {
    std::vector<uint32_t> out;
    t.forEachMatch(probe, row, [&](uint32_t r) { out.push_back(r); });
    return out;
}

TEST(JoinHashTable, NullKeysNeverMatchEvenOtherNulls) {
    const Vector build = Numbers({1, std::nullopt, 2});
    JoinHashTable t;
    t.build({&build}, 3);
    const Vector probe = Numbers({std::nullopt, 2});
    EXPECT_TRUE(Matches(t, {&probe}, 0).empty());
    EXPECT_EQ(Matches(t, {&probe}, 1), std::vector<uint32_t>{2});
}

TEST(JoinHashTable, DuplicateKeysMatchAllInBuildOrder) {
    const Vector build = Numbers({7, 3, 7, 7});
    JoinHashTable t;
    t.build({&build}, 4);
    const Vector probe = Numbers({7});
    EXPECT_EQ(Matches(t, {&probe}, 0), (std::vector<uint32_t>{0, 2, 3}));
}

TEST(JoinHashTable, NegativeZeroMatchesZero) {
    const Vector build = Numbers({0.0});
    JoinHashTable t;
    t.build({&build}, 1);
    const Vector probe = Numbers({-0.0});
    EXPECT_EQ(Matches(t, {&probe}, 0).size(), 1u);
}

TEST(JoinHashTable, CompositeKeyNeedsEveryColumnEqual) {
    const Vector a = Numbers({1, 1, 2});
    const Vector b = Texts({"x", "y", "x"});
    JoinHashTable t;
    t.build({&a, &b}, 3);
    const Vector pa = Numbers({1});
    const Vector pb = Texts({"y"});
    EXPECT_EQ(Matches(t, {&pa, &pb}, 0), std::vector<uint32_t>{1});
}

TEST(JoinHashTable, NoKeyColumnsMatchesEveryRow) {
    JoinHashTable t;
    t.build({}, 3);
    EXPECT_EQ(Matches(t, {}, 0), (std::vector<uint32_t>{0, 1, 2}));
}

TEST(JoinHashTable, ManyRowsAgreeWithAMap) {
    std::mt19937 rng(5);
    Vector build(SqlType::kNumber);
    const size_t n = 20000;
    build.resize(n);
    std::multimap<double, uint32_t> expected;
    for (size_t i = 0; i < n; ++i) {
        const double k = static_cast<double>(rng() % 3000);
        build.setNumber(i, k);
        expected.emplace(k, static_cast<uint32_t>(i));
    }
    JoinHashTable t;
    t.build({&build}, n);
    for (double k = -1; k < 3001; k += 7) {
        Vector probe = Numbers({k});
        std::vector<uint32_t> want;
        auto [lo, hi] = expected.equal_range(k);
        for (auto it = lo; it != hi; ++it)
            want.push_back(it->second);
        EXPECT_EQ(Matches(t, {&probe}, 0), want) << k;
    }
}

TEST(AggregateHashTable, GroupsNumberedInOrderOfFirstRow) {
    AggregateHashTable t({SqlType::kText});
    const Vector keys = Texts({"b", "a", "b", "c", "a"});
    uint32_t groups[5];
    t.findOrCreate({&keys}, 5, groups);
    EXPECT_EQ(std::vector<uint32_t>(groups, groups + 5), (std::vector<uint32_t>{0, 1, 0, 2, 1}));
    ASSERT_EQ(t.groupCount(), 3u);
    EXPECT_EQ(t.keys()[0].text(2), "c");
}

TEST(AggregateHashTable, NullsFormOneGroup) {
    AggregateHashTable t({SqlType::kNumber});
    const Vector keys = Numbers({std::nullopt, 1, std::nullopt});
    uint32_t groups[3];
    t.findOrCreate({&keys}, 3, groups);
    EXPECT_EQ(groups[0], groups[2]);
    EXPECT_NE(groups[0], groups[1]);
    EXPECT_FALSE(t.keys()[0].isValid(groups[0]));
}

TEST(AggregateHashTable, NullAndZeroAreDifferentGroups) {
    AggregateHashTable t({SqlType::kNumber});
    const Vector keys = Numbers({0, std::nullopt});
    uint32_t groups[2];
    t.findOrCreate({&keys}, 2, groups);
    EXPECT_NE(groups[0], groups[1]);
}

TEST(AggregateHashTable, GroupsSurviveGrowthAcrossCalls) {
    AggregateHashTable t({SqlType::kNumber, SqlType::kNumber});
    std::map<std::pair<int, int>, uint32_t> seen;
    std::mt19937 rng(9);
    for (int round = 0; round < 20; ++round) {
        Vector a(SqlType::kNumber), b(SqlType::kNumber);
        a.resize(1000);
        b.resize(1000);
        std::vector<std::pair<int, int>> rows;
        for (size_t i = 0; i < 1000; ++i) {
            rows.emplace_back(rng() % 200, rng() % 50);
            a.setNumber(i, rows.back().first);
            b.setNumber(i, rows.back().second);
        }
        std::vector<uint32_t> groups(1000);
        t.findOrCreate({&a, &b}, 1000, groups.data());
        for (size_t i = 0; i < 1000; ++i) {
            auto [it, inserted] = seen.emplace(rows[i], groups[i]);
            EXPECT_EQ(it->second, groups[i]);
            if (inserted) {
                EXPECT_EQ(groups[i], seen.size() - 1);
            }
        }
    }
    EXPECT_EQ(t.groupCount(), seen.size());
}

TEST(AggregateHashTable, NoKeyColumnsIsOneGroup) {
    AggregateHashTable t({});
    uint32_t groups[3];
    t.findOrCreate({}, 3, groups);
    EXPECT_EQ(t.groupCount(), 1u);
    EXPECT_EQ(groups[2], 0u);
}

}  // namespace
}  // namespace kolvio::sql
