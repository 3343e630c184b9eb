// Reading a table's records in batches, in record-number order.
//
// Every loop over the records of a table file (the view's live rows, an
// index build, the check, the SQL scan, the rewrites, the summaries) reads
// through this: a range of record numbers is read a batch of whole records at
// a time into one buffer, about a megabyte by default, never more than the
// range holds. A failed or short read ends the walk with its Status, which
// names the file; it is never taken for the end of the records.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "data/status.h"

namespace kolvio {

class DbfFile;

// The records one read brought in. The bytes are the reader's own until the
// next read; a caller may change them in place (a rewrite transforms them).
struct RecordBatch {
    uint32_t first = 0;   // record number of the first record
    uint32_t count = 0;   // whole records in the batch
    uint32_t length = 0;  // bytes per record
    char* data = nullptr;

    char* record(uint32_t i) const { return data + static_cast<size_t>(i) * length; }
    bool deleted(uint32_t i) const { return record(i)[0] == '*'; }
    size_t bytes() const { return static_cast<size_t>(count) * length; }
};

class RecordReader {
public:
    static constexpr size_t kBatchBytes = 1u << 20;

    // Reads every record of `file` as it is counted now, `batchBytes` (at
    // least one record) at a time. The file must outlive the reader.
    explicit RecordReader(const DbfFile& file, size_t batchBytes = kBatchBytes);

    // Restricts the walk to records [first, end) and starts it again there.
    // The range must lie within the file's record count.
    void setRange(uint32_t first, uint32_t end);

    // Reads the next batch into batch(). `*more` is false (and the batch
    // empty) once the range has been read.
    Status next(bool* more);
    const RecordBatch& batch() const { return batch_; }

    // Calls `visit` for each batch of the range until the range is read or
    // a read or `visit` fails; returns that failure.
    Status forEach(const std::function<Status(const RecordBatch&)>& visit);

private:
    const DbfFile& file_;
    uint32_t perBatch_;
    uint32_t next_ = 0;
    uint32_t end_ = 0;
    std::string buffer_;
    RecordBatch batch_;
};

}  // namespace kolvio
