// Collecting and ordering the rows of a sorted result across many blocks of
// rows, chunks of uneven size, nulls and texts of every length.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "data/sql/execution/row_collection.h"
#include "data/sql/execution/sort.h"

namespace kolvio::sql {
namespace {

struct Row {
    bool hasNumber;
    double number;
    bool hasText;
    std::string text;
};

std::vector<Row> RandomRows(size_t n) {
    std::mt19937 rng(11);
    std::vector<Row> rows(n);
    for (Row& r : rows) {
        r.hasNumber = rng() % 10 != 0;
        r.number = static_cast<double>(rng() % 50);
        r.hasText = rng() % 7 != 0;
        r.text = std::string(rng() % 40, static_cast<char>('a' + rng() % 3));
    }
    return rows;
}

RowCollection Collect(const std::vector<Row>& rows) {
    RowCollection collected({SqlType::kNumber, SqlType::kText});
    std::mt19937 rng(5);
    for (size_t first = 0; first < rows.size();) {
        const size_t n = std::min<size_t>(1 + rng() % kVectorSize, rows.size() - first);
        DataChunk chunk;
        chunk.reset({SqlType::kNumber, SqlType::kText});
        chunk.columns[0].resize(n);
        chunk.columns[1].resize(n);
        for (size_t i = 0; i < n; ++i) {
            const Row& r = rows[first + i];
            r.hasNumber ? chunk.columns[0].setNumber(i, r.number) : chunk.columns[0].setNull(i);
            r.hasText ? chunk.columns[1].setText(i, r.text) : chunk.columns[1].setNull(i);
        }
        chunk.size = n;
        collected.append(chunk);
        first += n;
    }
    return collected;
}

TEST(RowCollection, EveryValueReadsBackAcrossBlocksAndChunks) {
    const std::vector<Row> rows = RandomRows(20000);
    const RowCollection collected = Collect(rows);
    ASSERT_EQ(collected.rows(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(collected.isValid(0, r), rows[r].hasNumber) << r;
        if (rows[r].hasNumber) {
            ASSERT_EQ(collected.number(0, r), rows[r].number) << r;
        }
        ASSERT_EQ(collected.isValid(1, r), rows[r].hasText) << r;
        if (rows[r].hasText) {
            ASSERT_EQ(collected.text(1, r), rows[r].text) << r;
        }
    }
}

TEST(SortPermutation, OrdersByEveryKeyWithNullsFirstAndKeepsEqualRowsInArrivalOrder) {
    const std::vector<Row> rows = RandomRows(20000);
    const RowCollection collected = Collect(rows);
    // Number descending (nulls last), then text ascending (nulls first).
    const std::vector<uint32_t> order = SortPermutation(collected, {{0, true}, {1, false}});
    std::vector<uint32_t> expected(rows.size());
    std::iota(expected.begin(), expected.end(), 0u);
    std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) {
        const Row& x = rows[a];
        const Row& y = rows[b];
        if (x.hasNumber != y.hasNumber) return x.hasNumber;
        if (x.hasNumber && x.number != y.number) return x.number > y.number;
        if (x.hasText != y.hasText) return !x.hasText;
        return x.hasText && x.text < y.text;
    });
    EXPECT_EQ(order, expected);

    Vector gathered;
    collected.gather(1, order.data() + 4000, 300, &gathered);
    for (size_t k = 0; k < 300; ++k) {
        const Row& r = rows[order[4000 + k]];
        ASSERT_EQ(gathered.isValid(k), r.hasText);
        if (r.hasText) {
            EXPECT_EQ(gathered.text(k), r.text);
        }
    }
}

}  // namespace
}  // namespace kolvio::sql
