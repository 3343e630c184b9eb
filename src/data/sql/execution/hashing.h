// Hashing and equality of key rows, shared by the join and aggregate tables.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "data/sql/execution/vector.h"

namespace kolvio::sql {

inline uint64_t MixHash(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

inline uint64_t HashNumber(double d) {
    if (d == 0) d = 0;  // -0 and 0 are one key
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return MixHash(bits);
}

inline uint64_t HashText(std::string_view s) {
    uint64_t h = 0xcbf29ce484222325ULL;  // FNV-1a
    for (unsigned char c : s)
        h = (h ^ c) * 0x100000001b3ULL;
    return MixHash(h);
}

// Hash of row i over all key columns; nulls hash alike.
inline uint64_t HashKeyRow(const std::vector<const Vector*>& keys, size_t i) {
    uint64_t h = 0x9e3779b97f4a7c15ULL;
    for (const Vector* k : keys) {
        uint64_t v = 0x51ed270b27ff3cd1ULL;
        if (k->isValid(i)) {
            v = k->type() == SqlType::kText ? HashText(k->text(i)) : HashNumber(k->number(i));
        }
        h = MixHash(h ^ v) + 0x9e3779b97f4a7c15ULL;
    }
    return h;
}

// Equal when every column is equal; two nulls count as equal here (grouping).
inline bool KeyRowsEqual(const std::vector<const Vector*>& a, size_t i,
                         const std::vector<const Vector*>& b, size_t j) {
    for (size_t c = 0; c < a.size(); ++c) {
        const bool va = a[c]->isValid(i);
        if (va != b[c]->isValid(j)) return false;
        if (!va) continue;
        if (a[c]->type() == SqlType::kText) {
            if (a[c]->text(i) != b[c]->text(j)) return false;
        } else if (a[c]->number(i) != b[c]->number(j)) {
            return false;
        }
    }
    return true;
}

inline bool AnyNull(const std::vector<const Vector*>& keys, size_t i) {
    for (const Vector* k : keys) {
        if (!k->isValid(i)) return true;
    }
    return false;
}

}  // namespace kolvio::sql
