// Runs a physical plan and hands the visible result rows to a sink.
#pragma once

#include <vector>

#include "data/sql/execution/row_collection.h"
#include "data/sql/execution/vector.h"
#include "data/sql/planner/physical_plan.h"

namespace kolvio::sql {

// Receives the result: either chunk by chunk (consume) or, when the rows had
// to be collected anyway for sorting or deduplication, all at once.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void consume(const DataChunk& chunk) = 0;
    // `rows` holds the visible columns; `order` lists row numbers in result
    // order. The default passes them on to consume() chunk by chunk.
    virtual void consumeAll(RowCollection rows, const std::vector<uint32_t>& order);
};

// How the rows came about.
struct ExecutionInfo {
    bool fromZones = false;  // computed from zone maps without reading rows
};

// Throws SqlError when a table cannot be read.
ExecutionInfo ExecutePlan(const PhysicalPlan& plan, RowSink& sink);

}  // namespace kolvio::sql
