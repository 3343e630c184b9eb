#include "data/sql/execution/sort.h"

#include <algorithm>
#include <numeric>

#include "data/index/collation.h"

namespace kolvio::sql {

namespace {

// -1, 0, 1 with nulls lowest.
int CompareNumbers(const Vector& v, uint32_t a, uint32_t b) {
    const bool va = v.isValid(a);
    const bool vb = v.isValid(b);
    if (!va || !vb) return static_cast<int>(va) - static_cast<int>(vb);
    const double x = v.number(a);
    const double y = v.number(b);
    return (x > y) - (x < y);
}

// Text keys compare by their Czech collation key, computed once per row
// rather than once per comparison, then by their bytes (text_order.h).
int CompareTexts(const Vector& v, const std::vector<std::string>& keys, uint32_t a, uint32_t b) {
    const bool va = v.isValid(a);
    const bool vb = v.isValid(b);
    if (!va || !vb) return static_cast<int>(va) - static_cast<int>(vb);
    int c = keys[a].compare(keys[b]);
    if (c == 0) c = v.text(a).compare(v.text(b));
    return (c > 0) - (c < 0);
}

}  // namespace

std::vector<uint32_t> SortPermutation(const ColumnData& rows, const std::vector<OrderKey>& keys) {
    std::vector<uint32_t> perm(rows.rows);
    std::iota(perm.begin(), perm.end(), 0u);
    if (keys.empty()) return perm;
    std::vector<std::vector<std::string>> collation(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        const Vector& v = rows.columns[keys[k].column];
        if (v.type() != SqlType::kText) continue;
        collation[k].resize(rows.rows);
        for (size_t r = 0; r < rows.rows; ++r) {
            if (v.isValid(r)) collation[k][r] = CollationKey(v.text(r));
        }
    }
    std::stable_sort(perm.begin(), perm.end(), [&](uint32_t a, uint32_t b) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const Vector& v = rows.columns[keys[k].column];
            const int c = v.type() == SqlType::kText ? CompareTexts(v, collation[k], a, b)
                                                     : CompareNumbers(v, a, b);
            if (c != 0) return keys[k].descending ? c > 0 : c < 0;
        }
        return false;
    });
    return perm;
}

}  // namespace kolvio::sql
