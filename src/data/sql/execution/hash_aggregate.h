// GROUP BY and aggregate functions: rows go in, one row per group comes out
// (the group keys, then one column per aggregate). Without group keys there
// is exactly one group, even over no rows: COUNT gives 0, the others null.
#pragma once

#include <vector>

#include "data/sql/execution/aggregate_hashtable.h"
#include "data/sql/execution/aggregate_state.h"
#include "data/sql/execution/expression_executor.h"
#include "data/sql/execution/hash_join.h"
#include "data/sql/planner/physical_plan.h"

namespace kolvio::sql {

class HashAggregate {
public:
    // `plan` must outlive the aggregate.
    explicit HashAggregate(const PhysicalPlan& plan);

    void sink(const DataChunk& in);
    // Hands the grouped rows to `emit`, in group order (first seen first).
    void finish(const ChunkConsumer& emit);
    size_t memoryBytes() const;

private:
    const PhysicalPlan& plan_;
    ExpressionList groupKeys_;
    std::vector<std::optional<ExpressionExecutor>> args_;
    AggregateHashTable table_;
    std::vector<AggregateState> states_;
    std::vector<uint32_t> groupIds_;
};

}  // namespace kolvio::sql
