#include "data/sql/execution/join_hashtable.h"

#include "data/sql/sql_error.h"

namespace kolvio::sql {

void JoinHashTable::build(std::vector<const Vector*> keys, size_t rows) {
    if (rows >= kNone) throw SqlError("Tabulka je pro spojení příliš velká");
    keys_ = std::move(keys);
    size_t buckets = 16;
    while (buckets < rows * 2)
        buckets <<= 1;
    mask_ = buckets - 1;
    heads_.assign(buckets, kNone);
    next_.assign(rows, kNone);
    hashes_.resize(rows);
    // Inserting from the last row makes every chain ascend.
    for (size_t r = rows; r-- > 0;) {
        if (AnyNull(keys_, r)) continue;
        const uint64_t h = HashKeyRow(keys_, r);
        hashes_[r] = h;
        next_[r] = heads_[h & mask_];
        heads_[h & mask_] = static_cast<uint32_t>(r);
    }
}

}  // namespace kolvio::sql
