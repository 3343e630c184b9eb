// Running states of one aggregate function, one per group.
//
//   COUNT(*)  rows of the group
//   COUNT(x)  rows where x is not null
//   SUM, AVG  over the non-null x; null when there are none. Sums are
//             compensated (Neumaier), so long sums keep their precision.
//   MIN, MAX  over the non-null x (numbers, dates, text, logical values);
//             null when there are none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/sql/execution/vector.h"
#include "data/sql/parser/ast.h"

namespace kolvio::sql {

class AggregateState {
public:
    AggregateState(AggFunc func, bool star, SqlType argType);

    SqlType resultType() const;
    // Makes room for `groups` groups (new ones start empty).
    void resize(size_t groups);
    // Adds rows 0..n-1 of `arg` (null for COUNT(*)) to groups[i].
    void update(const uint32_t* groups, const Vector* arg, size_t n);
    // The results of groups first..first+n-1.
    void finalize(size_t first, size_t n, Vector* out) const;
    size_t memoryBytes() const;

private:
    AggFunc func_;
    bool star_;
    SqlType argType_;
    std::vector<int64_t> counts_;
    std::vector<double> sums_;
    std::vector<double> compensations_;
    std::vector<double> extremes_;
    std::vector<std::string> textExtremes_;
};

}  // namespace kolvio::sql
