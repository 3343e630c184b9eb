#include "data/sql/execution/executor.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "data/sql/execution/aggregate_hashtable.h"
#include "data/sql/execution/hash_aggregate.h"
#include "data/sql/execution/hash_join.h"
#include "data/sql/execution/index_lookup.h"
#include "data/sql/execution/sort.h"
#include "data/sql/execution/table_scan.h"
#include "data/sql/execution/zone_pruning.h"
#include "data/summary/summary_file.h"

namespace kolvio::sql {

void RowSink::consumeAll(RowCollection rows, const std::vector<uint32_t>& order) {
    DataChunk chunk;
    for (size_t first = 0; first < order.size(); first += kVectorSize) {
        const size_t n = std::min(kVectorSize, order.size() - first);
        chunk.columns.resize(rows.columnCount());
        for (size_t c = 0; c < rows.columnCount(); ++c) {
            rows.gather(c, order.data() + first, n, &chunk.columns[c]);
        }
        chunk.size = n;
        consume(chunk);
    }
}

namespace {

// The last steps: projection to the outputs, DISTINCT, ORDER BY.
class OutputStage {
public:
    OutputStage(const PhysicalPlan& plan, RowSink& sink)
        : plan_(plan), sink_(sink), outputs_(plan.outputs), collected_(TypesOf(plan.outputs)) {
        if (plan.having) having_.emplace(*plan.having);
        if (plan.distinct) {
            std::vector<SqlType> visible = TypesOf(plan.outputs);
            visible.resize(plan.visibleCount);
            seen_.emplace(visible);
        }
        collect_ = !plan.order.empty();
        sel_.resize(kVectorSize);
        groups_.resize(kVectorSize);
    }

    // The rows come in the statement's order already: no sort.
    void rowsArriveInOrder() { collect_ = false; }

    // Rows of the pipeline, or grouped rows when the query aggregates.
    void push(DataChunk& in) {
        if (having_) {
            if (sel_.size() < in.size) sel_.resize(in.size);
            const size_t kept = having_->select(in, sel_.data());
            if (kept == 0) return;
            in.compact(sel_.data(), kept);
        }
        const auto& values = outputs_.execute(in);
        projected_.columns.resize(values.size());
        for (size_t c = 0; c < values.size(); ++c) {
            if (values[c]->isConstant()) {
                std::vector<uint32_t> zeros(in.size, 0);
                projected_.columns[c].gather(*values[c], zeros.data(), in.size);
            } else if (Vector* column = soleUseOf(in, values, c)) {
                projected_.columns[c].take(*column);
            } else {
                projected_.columns[c] = *values[c];
            }
        }
        projected_.size = in.size;
        if (seen_ && !dropRepeats()) return;
        if (collect_) {
            collected_.append(projected_);
        } else {
            // Outputs kept only to sort by are not shown.
            if (projected_.columns.size() > plan_.visibleCount) {
                projected_.columns.resize(plan_.visibleCount);
            }
            sink_.consume(projected_);
        }
    }

    void finish() {
        if (!collect_) return;
        std::vector<uint32_t> order = SortPermutation(collected_, plan_.order);
        collected_.keepColumns(plan_.visibleCount);
        sink_.consumeAll(std::move(collected_), order);
    }

private:
    // The column of `in` that output c is, when no other output is the same
    // column: it can be taken instead of copied. Grouped rows are the
    // aggregate's own and are never taken.
    Vector* soleUseOf(DataChunk& in, const std::vector<const Vector*>& values, size_t c) const {
        if (plan_.aggregated) return nullptr;
        const Vector* v = values[c];
        const std::less<const Vector*> before;  // a total order over any pointers
        if (before(v, in.columns.data()) || !before(v, in.columns.data() + in.columns.size())) {
            return nullptr;
        }
        for (size_t o = 0; o < values.size(); ++o) {
            if (o != c && values[o] == v) return nullptr;
        }
        return &in.columns[static_cast<size_t>(v - in.columns.data())];
    }

    // Keeps the rows whose visible values were not seen before; false when
    // none is left.
    bool dropRepeats() {
        const size_t n = projected_.size;
        if (groups_.size() < n) groups_.resize(n);
        std::vector<const Vector*> keys;
        for (size_t c = 0; c < plan_.visibleCount; ++c)
            keys.push_back(&projected_.columns[c]);
        // Groups are numbered in the order of their first row, so a row is
        // new exactly when it carries the next unused number.
        uint32_t next = static_cast<uint32_t>(seen_->groupCount());
        seen_->findOrCreate(keys, n, groups_.data());
        size_t kept = 0;
        for (size_t i = 0; i < n; ++i) {
            if (groups_[i] == next) {
                sel_[kept++] = static_cast<uint32_t>(i);
                ++next;
            }
        }
        if (kept == 0) return false;
        projected_.compact(sel_.data(), kept);
        return true;
    }

    const PhysicalPlan& plan_;
    RowSink& sink_;
    ExpressionList outputs_;
    std::optional<ExpressionExecutor> having_;
    std::optional<AggregateHashTable> seen_;
    bool collect_ = false;
    RowCollection collected_;
    DataChunk projected_;
    std::vector<uint32_t> sel_;
    std::vector<uint32_t> groups_;
};

class Pipeline {
public:
    Pipeline(const PhysicalPlan& plan, RowSink& sink) : plan_(plan), output_(plan, sink) {
        for (const JoinPlan& j : plan.joins) {
            joins_.push_back(std::make_unique<HashJoin>(j, *plan.tables[j.build.table].table));
        }
        if (plan.aggregated) aggregate_.emplace(plan);
    }

    ExecutionInfo run() {
        const int64_t started = WallClockNs();
        if (answerFromZones() || countFromZones(started)) {
            output_.finish();
            return {true};
        }
        for (auto& j : joins_) {
            j->build();
            Learn(j->table(), j->scan(), started);
        }
        const CatalogTable& table = *plan_.tables[plan_.driver.table].table;
        TableScan driver(table, plan_.driver.fields, plan_.driver.filter.get());
        bool picked = false;
        if (plan_.driver.lookup) {
            if (auto rows = IndexedRecords(table, *plan_.driver.lookup, started)) {
                driver.readOnlyRecords(std::move(*rows));
                picked = true;
            }
        }
        if (!picked && plan_.driver.orderIndex) readInIndexOrder(table, driver, started);
        DataChunk chunk;
        // A join with an empty build side cannot produce rows; skip the scan.
        const bool empty = std::any_of(joins_.begin(), joins_.end(),
                                       [](const auto& j) { return j->buildRows() == 0; });
        if (!empty) {
            while (driver.next(&chunk))
                push(0, chunk);
            Learn(table, driver, started);
        }
        if (aggregate_) {
            aggregate_->finish([&](DataChunk& grouped) { output_.push(grouped); });
        }
        output_.finish();
        return {};
    }

private:
    static void Learn(const CatalogTable& table, const TableScan& scan, int64_t started) {
        if (!table.file) return;
        const auto all =
            ZoneCache::Shared().learn(table.path, table.identity, started, scan.learned());
        // For the next process; one that cannot be written is only slower. A
        // table of one block is read faster than a sidecar would save.
        if (!all || table.recordCount < kZoneRows) return;
        const SummaryStamp stamp{table.identity, LayoutFingerprint(table.file->header())};
        (void)WriteSummaries(table.path, stamp, *all);
    }

    // Has the driver read in index order when that pays, leaving out the
    // records (read one by one) of blocks the zones prove to miss; otherwise
    // its rows are sorted at the end.
    void readInIndexOrder(const CatalogTable& table, TableScan& driver, int64_t started) {
        const std::vector<bool> may = blocksThatMayMatch(table);
        if (!indexOrderPays(table, may)) return;
        auto rows = RecordsInIndexOrder(table, *plan_.driver.orderIndex, started);
        if (!rows) return;
        std::erase_if(*rows, [&](uint32_t recno) {
            const uint32_t b = recno / kZoneRows;
            return b < may.size() && !may[b];
        });
        driver.readOnlyRecords(std::move(*rows));
        output_.rowsArriveInOrder();
    }

    // Which blocks of the driver may hold rows that pass its conditions, by
    // the zones; empty without conditions or zones.
    std::vector<bool> blocksThatMayMatch(const CatalogTable& table) const {
        const BoundExpr* filter = plan_.driver.filter.get();
        if (!filter || !table.zones) return {};
        std::vector<bool> may(table.zones->blocks());
        for (uint32_t b = 0; b < may.size(); ++b)
            may[b] = BlockMayMatch(*filter, *table.zones, b, plan_.driver.fields);
        return may;
    }

    // Reading the driver in index order pays when there is no filter, or
    // when the zones leave more than half of its blocks to read (`may`).
    // Otherwise the rows that pass are few enough to sort, and a filter
    // without zones yet is better served by a scan of blocks, which learns
    // them.
    bool indexOrderPays(const CatalogTable& table, const std::vector<bool>& may) const {
        if (!plan_.driver.filter) return true;
        if (!table.zones) return false;
        return static_cast<size_t>(std::count(may.begin(), may.end(), true)) * 2 > may.size();
    }

    // MIN, MAX and COUNT(*) over a whole table, without WHERE or GROUP BY,
    // from what earlier scans learned; false when that is not enough.
    bool answerFromZones() {
        const CatalogTable& table = *plan_.tables[plan_.driver.table].table;
        if (!plan_.aggregated || !plan_.groups.empty() || !plan_.joins.empty() ||
            plan_.driver.filter || !table.zones) {
            return false;
        }
        DataChunk row;
        row.size = 1;
        for (const AggregatePlan& a : plan_.aggregates) {
            int field = -1;
            if (!a.star) {
                if (a.arg->kind != BoundExpr::Kind::kSlot || a.arg->type == SqlType::kText) {
                    return false;
                }
                field = plan_.driver.fields[a.arg->slot];
            }
            const auto value = AggregateFromZones(*table.zones, a.func, field);
            if (!value) return false;
            Vector v(a.star ? SqlType::kNumber : a.arg->type);
            v.resize(1);
            if (*value) {
                v.setNumber(0, **value);
            } else {
                v.setNull(0);
            }
            row.columns.push_back(std::move(v));
        }
        output_.push(row);
        return true;
    }

    // COUNT(*) alone over one table with a filter: blocks the zones prove
    // to match wholly count their live rows, blocks they prove to miss count
    // nothing, and only the rest are read. False when more than a quarter of
    // the blocks would have to be read.
    bool countFromZones(int64_t started) {
        const CatalogTable& table = *plan_.tables[plan_.driver.table].table;
        const BoundExpr* filter = plan_.driver.filter.get();
        if (!plan_.aggregated || !plan_.groups.empty() || !plan_.joins.empty() || !filter ||
            !table.zones || !table.file || !table.zones->liveRowsKnown() ||
            plan_.aggregates.empty()) {
            return false;
        }
        for (const AggregatePlan& a : plan_.aggregates) {
            if (!a.star) return false;
        }
        const TableZones& zones = *table.zones;
        const std::vector<int>& fields = plan_.driver.fields;
        std::vector<bool> read(zones.blocks(), false);
        uint32_t toRead = 0;
        double count = 0;
        for (uint32_t b = 0; b < zones.blocks(); ++b) {
            if (!BlockMayMatch(*filter, zones, b, fields)) continue;
            if (BlockSurelyMatches(*filter, zones, b, fields)) {
                count += static_cast<double>(zones.liveRows(b));
            } else {
                read[b] = true;
                ++toRead;
            }
        }
        if (toRead * 4 > zones.blocks()) return false;
        if (toRead > 0) {
            TableScan scan(table, fields, filter);
            scan.readOnlyBlocks(std::move(read));
            DataChunk chunk;
            while (scan.next(&chunk))
                count += static_cast<double>(chunk.size);
            Learn(table, scan, started);
        }
        DataChunk row;
        row.size = 1;
        for (size_t i = 0; i < plan_.aggregates.size(); ++i) {
            Vector v(SqlType::kNumber);
            v.resize(1);
            v.setNumber(0, count);
            row.columns.push_back(std::move(v));
        }
        output_.push(row);
        return true;
    }

    void push(size_t join, DataChunk& chunk) {
        if (join == joins_.size()) {
            if (aggregate_) {
                aggregate_->sink(chunk);
            } else {
                output_.push(chunk);
            }
            return;
        }
        joins_[join]->probe(chunk, [&](DataChunk& out) { push(join + 1, out); });
    }

    const PhysicalPlan& plan_;
    OutputStage output_;
    std::vector<std::unique_ptr<HashJoin>> joins_;
    std::optional<HashAggregate> aggregate_;
};

}  // namespace

ExecutionInfo ExecutePlan(const PhysicalPlan& plan, RowSink& sink) {
    Pipeline pipeline(plan, sink);
    return pipeline.run();
}

}  // namespace kolvio::sql
