// A select statement after binding: what the planner works from.
#pragma once

#include <string>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/sql/binder/bound_expr.h"
#include "data/sql/binder/catalog.h"

namespace kolvio::sql {

struct BoundTableRef {
    CatalogTable* table = nullptr;
    std::string name;  // alias, or the file name without ".dbf"
    SourcePos pos;
};

struct OrderKey {
    int column = 0;  // index into BoundQuery::outputs
    bool descending = false;
};

// Rows flow: scans and joins of `tables` filtered by `where`; then, when
// `aggregated`, grouped by `groups` with `aggregates` computed per group and
// filtered by `having`; then projected to `outputs`, deduplicated when
// `distinct`, sorted by `order`, and the hidden outputs dropped.
//
// Expressions over the joined rows use kColumn. When the query is
// aggregated, `having` and `outputs` instead use kSlot over the grouped row:
// slots 0..groups-1 are the group keys, then one slot per aggregate.
struct BoundQuery {
    std::vector<BoundTableRef> tables;
    BoundExprPtr where;
    bool aggregated = false;
    std::vector<BoundExprPtr> groups;
    std::vector<BoundExprPtr> aggregates;  // kAggregate nodes over the joined rows
    BoundExprPtr having;
    std::vector<BoundExprPtr> outputs;  // visible columns first, then hidden sort keys
    size_t visibleCount = 0;
    std::vector<FieldDef> fields;  // one per visible output, ready for a dBase table
    bool distinct = false;
    std::vector<OrderKey> order;
};

}  // namespace kolvio::sql
