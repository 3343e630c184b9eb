// Hash table over the rows of a join's build side.
//
// Rows whose key has a null are left out: an equality with null is never
// true, so they can match nothing. With no key columns at all every row
// matches every probe (the cross product of tables with no equality between
// them). Chains keep the build rows in ascending order.
#pragma once

#include <cstdint>
#include <vector>

#include "data/sql/execution/hashing.h"
#include "data/sql/execution/vector.h"

namespace kolvio::sql {

class JoinHashTable {
public:
    // `keys`: one column per key, `rows` values each; kept by pointer, so
    // they must outlive the table.
    void build(std::vector<const Vector*> keys, size_t rows);

    size_t keyCount() const { return keys_.size(); }

    // Calls match(buildRow) for every build row whose key equals row i of
    // `probe` (same number and types of columns as the build keys).
    template <class F>
    void forEachMatch(const std::vector<const Vector*>& probe, size_t i, F&& match) const {
        if (heads_.empty() || AnyNull(probe, i)) return;
        const uint64_t h = HashKeyRow(probe, i);
        for (uint32_t r = heads_[h & mask_]; r != kNone; r = next_[r]) {
            if (hashes_[r] == h && KeyRowsEqual(keys_, r, probe, i)) match(r);
        }
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    std::vector<const Vector*> keys_;
    std::vector<uint32_t> heads_;
    std::vector<uint32_t> next_;
    std::vector<uint64_t> hashes_;
    uint64_t mask_ = 0;
};

}  // namespace kolvio::sql
