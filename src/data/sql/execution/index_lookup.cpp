#include "data/sql/execution/index_lookup.h"

#include <algorithm>
#include <memory>

#include "data/index/index_data.h"
#include "data/index/index_store.h"
#include "data/index/table_index.h"
#include "data/summary/summary_file.h"

namespace kolvio::sql {

namespace {

// Beyond a sixteenth of the table, single reads cost more than one pass.
constexpr uint32_t kMostReadFraction = 16;
// Reading in index order pays when at most a 64th of the steps jump
// backwards or further than a few records ahead.
constexpr uint32_t kMostJumpGap = 16;
constexpr size_t kMostJumpFraction = 64;

}  // namespace

std::optional<std::vector<uint32_t>> IndexedRecords(const CatalogTable& table,
                                                    const IndexLookup& lookup,
                                                    int64_t statementStartNs) {
    if (!table.file || table.recordCount < kZoneRows) return std::nullopt;
    std::unique_ptr<TableIndex> index;
    if (!TableIndex::Make(lookup.def, table.fields, &index).ok()) return std::nullopt;
    const TableState state{table.identity, LayoutFingerprint(table.file->header()),
                           table.recordCount};
    const auto data =
        IndexData::Open(table.path, {state.identity, state.layout}, state.recordCount);
    const auto at = data ? data->find(lookup.def) : std::nullopt;
    IndexSection section;
    std::vector<uint32_t> rows;
    bool searched = false;
    std::optional<size_t> run;
    const auto keepRun = [&](const IndexSection& keys, size_t r) {
        if (!searched) run = index->runOf(keys, {lookup.key});
        searched = true;
        return run == r;
    };
    if (at && data->read(*at, &section, keepRun) &&
        (!section.textKeys || data->codePage() == table.codePage)) {
        rows = std::move(section.recnos);  // those of the key's run only
        rows.insert(rows.end(), data->changed().begin(), data->changed().end());
    } else {
        if (!index->build(*table.file, table.codePage).ok()) return std::nullopt;
        PersistBuiltIndex(table.path, *table.file, table.codePage, state, statementStartNs,
                          table.indexes, *index);
        const auto [first, last] = index->equalRange({lookup.key});
        for (size_t i = first; i < last; ++i)
            rows.push_back(index->recnoAt(i));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.size() > table.recordCount / kMostReadFraction) return std::nullopt;
    return rows;
}

std::optional<std::vector<uint32_t>> RecordsInIndexOrder(const CatalogTable& table,
                                                         const IndexDef& def) {
    if (!table.file || table.recordCount < kZoneRows) return std::nullopt;
    const SummaryStamp stamp{table.identity, LayoutFingerprint(table.file->header())};
    const auto data = IndexData::Open(table.path, stamp, table.recordCount);
    const auto at = data ? data->find(def) : std::nullopt;
    IndexSection section;
    // Records the journal names have no known place in the order.
    if (!at || !data->changed().empty() || !data->read(*at, &section)) return std::nullopt;
    size_t jumps = 0;
    for (size_t i = 1; i < section.recnos.size(); ++i) {
        if (section.recnos[i] - section.recnos[i - 1] - 1 >= kMostJumpGap) ++jumps;
    }
    if (jumps > section.recnos.size() / kMostJumpFraction) return std::nullopt;
    return std::move(section.recnos);
}

}  // namespace kolvio::sql
