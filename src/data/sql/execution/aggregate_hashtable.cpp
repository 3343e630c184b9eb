#include "data/sql/execution/aggregate_hashtable.h"

namespace kolvio::sql {

AggregateHashTable::AggregateHashTable(const std::vector<SqlType>& keyTypes) {
    for (SqlType t : keyTypes)
        keys_.emplace_back(t);
    for (const Vector& k : keys_)
        keyPtrs_.push_back(&k);
    slots_.assign(64, kEmpty);
    mask_ = slots_.size() - 1;
}

void AggregateHashTable::grow() {
    slots_.assign(slots_.size() * 2, kEmpty);
    mask_ = slots_.size() - 1;
    for (uint32_t g = 0; g < hashes_.size(); ++g) {
        uint64_t s = hashes_[g] & mask_;
        while (slots_[s] != kEmpty)
            s = (s + 1) & mask_;
        slots_[s] = g;
    }
}

void AggregateHashTable::findOrCreate(const std::vector<const Vector*>& keys, size_t n,
                                      uint32_t* groups) {
    for (size_t i = 0; i < n; ++i) {
        const uint64_t h = HashKeyRow(keys, i);
        uint64_t s = h & mask_;
        for (;;) {
            const uint32_t g = slots_[s];
            if (g == kEmpty) {
                const auto created = static_cast<uint32_t>(hashes_.size());
                hashes_.push_back(h);
                for (size_t c = 0; c < keys_.size(); ++c)
                    keys_[c].append(*keys[c], i);
                slots_[s] = created;
                groups[i] = created;
                if (hashes_.size() * 2 > slots_.size()) grow();
                break;
            }
            if (hashes_[g] == h && KeyRowsEqual(keyPtrs_, g, keys, i)) {
                groups[i] = g;
                break;
            }
            s = (s + 1) & mask_;
        }
    }
}

size_t AggregateHashTable::memoryBytes() const {
    size_t bytes = hashes_.capacity() * sizeof(uint64_t) + slots_.capacity() * sizeof(uint32_t);
    for (const auto& k : keys_)
        bytes += k.memoryBytes();
    return bytes;
}

}  // namespace kolvio::sql
