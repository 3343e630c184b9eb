// Reads the live rows of one table, decoding only the fields a statement uses.
//
// Records are read in zone blocks of kZoneRows (through a RecordReader, a few
// hundred records per read so that they are decoded while in cache). A
// block that the known zones (zone_map.h) prove to hold no row passing the
// filter is not read at all. Within a block the fields of the filter
// are decoded first, for every live record; the other fields only for the
// records that pass. Deleted records ('*' in byte 0) are skipped before
// anything is decoded.
//
// While reading, the scan learns the zones of the fields it decoded for
// every live row of a block (the filter's fields, or all fields when there
// is no filter) and the live row count of each block it read.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "data/dbf/record_reader.h"
#include "data/sql/binder/catalog.h"
#include "data/sql/execution/expression_executor.h"
#include "data/sql/execution/vector.h"
#include "data/sql/execution/zone_map.h"

namespace kolvio::sql {

class TableScan {
public:
    // `fields`: indexes into table.fields, one output column each, in order.
    // `filter`: over those columns (kSlot = position in `fields`), or null.
    TableScan(const CatalogTable& table, std::vector<int> fields, const BoundExpr* filter);

    const std::vector<SqlType>& types() const { return types_; }
    // Reads only the blocks marked true (by block number).
    void readOnlyBlocks(std::vector<bool> blocks) { only_ = std::move(blocks); }
    // Reads only these records, in this order (as an index gave them),
    // ascending ones close together in one read; nothing is learned.
    void readOnlyRecords(std::vector<uint32_t> recnos) {
        picked_ = std::move(recnos);
        picking_ = true;
    }
    // The next rows that pass the filter (1..kVectorSize); false at the end.
    // Throws SqlError when the file cannot be read.
    bool next(DataChunk* out);
    // What this scan learned; complete once next() has returned false.
    const TableZones& learned() const { return learned_; }
    uint32_t blocksSkipped() const { return skipped_; }

private:
    struct Accumulator {
        bool any = false;
        double min = 0;
        double max = 0;
        uint32_t values = 0;
    };

    bool nextBlock();
    // Reads the next records of a block or of the picked records into
    // records_ (live ones only); false at the end.
    bool readBlockRecords(size_t* live);
    bool readPickedRecords(size_t* live);
    void finishBlock();
    void decode(size_t column, const uint32_t* rows, size_t n, Vector* out) const;
    void observe(size_t column, const Vector& values, size_t n);

    const CatalogTable& table_;
    std::vector<int> fields_;
    std::vector<SqlType> types_;
    std::vector<bool> inFilter_;
    std::vector<bool> learns_;  // decoded for every live row
    const BoundExpr* filterExpr_ = nullptr;
    std::optional<ExpressionExecutor> filter_;

    std::optional<RecordReader> reader_;  // none when the table has no file
    uint32_t nextBlock_ = 0;              // next block to consider
    uint32_t block_ = 0;                  // block being read
    bool haveBlock_ = false;
    uint32_t batchPos_ = 0;  // next record of the reader's batch to look at
    int64_t blockLive_ = 0;
    std::vector<Accumulator> accumulators_;
    TableZones learned_;
    uint32_t skipped_ = 0;
    std::vector<bool> only_;  // empty: every block
    bool picking_ = false;
    std::vector<uint32_t> picked_;
    std::unique_ptr<char[]> buffer_;  // picked records, read together
    size_t pickedPos_ = 0;

    std::vector<const char*> records_;  // live records of the current chunk
    std::vector<uint32_t> sel_;
    std::vector<uint32_t> identity_;
};

}  // namespace kolvio::sql
