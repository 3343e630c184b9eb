// Loading the maintained indexes of a table from its index data file
// (index_data.h) and writing that file: after an index was built from the
// table, and when the journal of our writes has grown long enough to fold.
//
// A snapshot written after reading the table is trusted only when the table
// had been unchanged for a while before the read began and is unchanged
// after it (the "racily clean" rule of the block summaries, zone_map.h): a
// write within the file system's time stamp granularity could otherwise
// keep the identity the snapshot names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/codepage.h"
#include "data/index/index_def.h"
#include "data/summary/block_summaries.h"

namespace kolvio {

class DbfFile;
class TableIndex;

// How long a table must have been unchanged before a read for a snapshot of
// what the read found to be written (3 s: some file systems keep times in
// 2 s steps). Tests that write and read at once set 0.
void SetIndexSnapshotMinimumAge(int64_t ns);

// The identity a reader sees now and the stamp of the table's layout.
struct TableState {
    FileIdentity identity;
    uint64_t layout = 0;
    uint32_t recordCount = 0;
};
// False when the file cannot be examined.
bool CurrentTableState(const std::string& tablePath, const DbfFile& file, TableState* out);

// Fills `index` from the index data file when the file describes the table
// as it is now; false otherwise (the caller builds the index).
bool LoadPersistedIndex(const std::string& tablePath, const DbfFile& file, CodePage page,
                        TableIndex* index);

// After `built` was read from the table, which had the state `before` at
// least the minimum age after its last change when the read began at
// `readStartNs`: writes a new snapshot with it and every other index of
// `defs` that the current file holds. Nothing is written when the table
// changed meanwhile; a file not written is only slower.
void PersistBuiltIndex(const std::string& tablePath, const DbfFile& file, CodePage page,
                       const TableState& before, int64_t readStartNs,
                       const std::vector<IndexDef>& defs, const TableIndex& built);

// Folds the journal into a new snapshot when it holds more entries than a
// fraction of the table's records. `current` is the table's identity now;
// the caller holds the summary lock so that no writer of ours comes between.
void FoldIndexJournalIfLong(const std::string& tablePath, const FileIdentity& current,
                            size_t journalEntries);

}  // namespace kolvio
