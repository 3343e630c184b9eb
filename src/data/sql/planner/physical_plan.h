// How a bound select is executed.
//
//   driver scan ──> probe join 1 ──> probe join 2 ... ──> [aggregate] ──> project ──> sink
//                      ^                 ^
//                build scan 1       build scan 2
//
// The driver is the biggest table; every other table is read once into the
// hash table of its join, with the conditions that concern it alone applied
// while it is read. Rows move through the probes in chunks. Columns are
// slots: the driver's fields first, then each joined table's, in join order.
#pragma once

#include <optional>
#include <vector>

#include "data/index/index_def.h"

#include "data/sql/binder/bound_query.h"

namespace kolvio::sql {

// An equality of the filter that an index of the table can answer: the
// scan may read only the records the index gives for `key` (the filter is
// still applied to them).
struct IndexLookup {
    IndexDef def;
    Value key;
};

struct ScanPlan {
    int table = -1;           // index into BoundQuery::tables
    std::vector<int> fields;  // decoded fields; slot i of the scan = fields[i]
    BoundExprPtr filter;      // over the scan's own slots; null for none
    std::optional<IndexLookup> lookup;
    // An index in whose order reading the rows gives them in the order the
    // statement asks for, so that they need no sort.
    std::optional<IndexDef> orderIndex;
};

struct JoinPlan {
    ScanPlan build;
    std::vector<BoundExprPtr> probeKeys;  // over the pipeline before this join
    std::vector<BoundExprPtr> buildKeys;  // over the build scan's slots
    BoundExprPtr filter;                  // over the pipeline after this join; may be null
};

struct AggregatePlan {
    AggFunc func = AggFunc::kCount;
    bool star = false;
    BoundExprPtr arg;  // over the pipeline; null for COUNT(*)
};

struct PhysicalPlan {
    std::vector<BoundTableRef> tables;
    ScanPlan driver;
    std::vector<JoinPlan> joins;
    std::vector<SqlType> pipelineTypes;  // slot types after the last join

    bool aggregated = false;
    std::vector<BoundExprPtr> groups;  // over the pipeline
    std::vector<AggregatePlan> aggregates;
    BoundExprPtr having;  // over the grouped row

    std::vector<BoundExprPtr> outputs;  // over the pipeline, or the grouped row
    size_t visibleCount = 0;
    bool distinct = false;
    std::vector<OrderKey> order;
    std::vector<FieldDef> fields;  // visible outputs
};

}  // namespace kolvio::sql
