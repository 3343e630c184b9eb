// Inner equi-join: the build table is read whole into a hash table on its
// key expressions, then every chunk of the pipeline probes it.
#pragma once

#include <functional>
#include <optional>

#include "data/sql/execution/expression_executor.h"
#include "data/sql/execution/join_hashtable.h"
#include "data/sql/execution/table_scan.h"
#include "data/sql/planner/physical_plan.h"

namespace kolvio::sql {

using ChunkConsumer = std::function<void(DataChunk&)>;

class HashJoin {
public:
    // `plan` must outlive the join.
    HashJoin(const JoinPlan& plan, const CatalogTable& table);

    // Reads the build table. Throws SqlError when it cannot be read.
    void build();
    size_t buildRows() const { return rows_.rows; }
    const CatalogTable& table() const { return source_; }
    const TableScan& scan() const { return scan_; }
    // Joins the rows of `in` with the build rows and hands the results, in
    // chunks of at most kVectorSize rows, to `emit`. The probe columns come
    // first, then the build table's. When every row of `in` has exactly one
    // match, its columns are taken rather than copied, and `in` holds
    // nothing of meaning afterwards.
    void probe(DataChunk& in, const ChunkConsumer& emit);

private:
    // `last`: no row of `in` is left to probe.
    void flush(DataChunk& in, const ChunkConsumer& emit, bool last);
    bool eachRowOnce(size_t inRows) const;

    const JoinPlan& plan_;
    const CatalogTable& source_;
    TableScan scan_;
    ColumnData rows_;
    ColumnData keys_;
    JoinHashTable table_;
    ExpressionList probeKeys_;
    std::optional<ExpressionExecutor> filter_;
    std::vector<uint32_t> probeSel_;
    std::vector<uint32_t> buildSel_;
    std::vector<uint32_t> filterSel_;
    DataChunk out_;
};

}  // namespace kolvio::sql
