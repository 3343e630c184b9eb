#include "data/sql/execution/sort.h"

#include <algorithm>
#include <numeric>

#include "data/index/collation.h"

namespace kolvio::sql {

namespace {

// -1, 0, 1 with nulls lowest.
int CompareNumbers(const RowCollection& rows, size_t c, uint32_t a, uint32_t b) {
    const bool va = rows.isValid(c, a);
    const bool vb = rows.isValid(c, b);
    if (!va || !vb) return static_cast<int>(va) - static_cast<int>(vb);
    const double x = rows.number(c, a);
    const double y = rows.number(c, b);
    return (x > y) - (x < y);
}

// Text keys compare by their Czech collation key, computed once per row
// rather than once per comparison, then by their bytes (text_order.h).
int CompareTexts(const RowCollection& rows, size_t column, const std::vector<std::string>& keys,
                 uint32_t a, uint32_t b) {
    const bool va = rows.isValid(column, a);
    const bool vb = rows.isValid(column, b);
    if (!va || !vb) return static_cast<int>(va) - static_cast<int>(vb);
    int c = keys[a].compare(keys[b]);
    if (c == 0) c = rows.text(column, a).compare(rows.text(column, b));
    return (c > 0) - (c < 0);
}

}  // namespace

std::vector<uint32_t> SortPermutation(const RowCollection& rows,
                                      const std::vector<OrderKey>& keys) {
    std::vector<uint32_t> perm(rows.rows());
    std::iota(perm.begin(), perm.end(), 0u);
    if (keys.empty()) return perm;
    std::vector<std::vector<std::string>> collation(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        const size_t c = keys[k].column;
        if (rows.type(c) != SqlType::kText) continue;
        collation[k].resize(rows.rows());
        for (size_t r = 0; r < rows.rows(); ++r) {
            if (rows.isValid(c, r)) collation[k][r] = CollationKey(rows.text(c, r));
        }
    }
    std::stable_sort(perm.begin(), perm.end(), [&](uint32_t a, uint32_t b) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const size_t column = keys[k].column;
            const int c = rows.type(column) == SqlType::kText
                              ? CompareTexts(rows, column, collation[k], a, b)
                              : CompareNumbers(rows, column, a, b);
            if (c != 0) return keys[k].descending ? c > 0 : c < 0;
        }
        return false;
    });
    return perm;
}

}  // namespace kolvio::sql
