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
                                                         const IndexDef& def,
                                                         int64_t statementStartNs) {
    if (!table.file || table.recordCount < kZoneRows) return std::nullopt;
    std::unique_ptr<TableIndex> index;
    if (!TableIndex::Make(def, table.fields, &index).ok()) return std::nullopt;
    // The file's contents with the journal's records in their places, or
    // the index built now (reading the keys costs far less than sorting
    // every row of the statement) and kept for the next statements.
    if (!LoadPersistedIndex(table.path, *table.file, table.codePage, index.get())) {
        const TableState state{table.identity, LayoutFingerprint(table.file->header()),
                               table.recordCount};
        if (!index->build(*table.file, table.codePage).ok()) return std::nullopt;
        PersistBuiltIndex(table.path, *table.file, table.codePage, state, statementStartNs,
                          table.indexes, *index);
    }
    // The order is that of the table the statement reads, not of a later
    // state another program has written meanwhile.
    FileIdentity now;
    if (!CurrentFileIdentity(table.path, &now) || !(now == table.identity)) return std::nullopt;
    std::vector<uint32_t> rows;
    rows.reserve(index->size());
    size_t jumps = 0;
    for (size_t i = 0; i < index->size(); ++i) {
        const uint32_t recno = index->recnoAt(i);
        if (!rows.empty() && recno - rows.back() - 1 >= kMostJumpGap) ++jumps;
        rows.push_back(recno);
    }
    if (jumps > rows.size() / kMostJumpFraction) return std::nullopt;
    return rows;
}

}  // namespace kolvio::sql
