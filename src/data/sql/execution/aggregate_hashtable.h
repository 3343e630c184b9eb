// Hash table from group keys to dense group numbers.
//
// Groups are numbered 0, 1, 2 ... in the order their first row arrives, and
// the table keeps one copy of each group's key. Nulls are keys like any
// other value: all rows with a null key (and equal other columns) form one
// group, as GROUP BY requires. With no key columns every row is group 0.
#pragma once

#include <cstdint>
#include <vector>

#include "data/sql/execution/hashing.h"
#include "data/sql/execution/vector.h"

namespace kolvio::sql {

class AggregateHashTable {
public:
    explicit AggregateHashTable(const std::vector<SqlType>& keyTypes);
    AggregateHashTable(const AggregateHashTable&) = delete;
    AggregateHashTable& operator=(const AggregateHashTable&) = delete;

    // Sets groups[i] to the group of row i of `keys` (n rows), creating
    // groups as needed.
    void findOrCreate(const std::vector<const Vector*>& keys, size_t n, uint32_t* groups);

    size_t groupCount() const { return hashes_.size(); }
    // Key columns: one row per group, in group order.
    const std::vector<Vector>& keys() const { return keys_; }
    size_t memoryBytes() const;

private:
    void grow();

    static constexpr uint32_t kEmpty = UINT32_MAX;

    std::vector<Vector> keys_;
    std::vector<const Vector*> keyPtrs_;
    std::vector<uint64_t> hashes_;  // per group
    std::vector<uint32_t> slots_;   // open addressing: group number or kEmpty
    uint64_t mask_ = 0;
};

}  // namespace kolvio::sql
