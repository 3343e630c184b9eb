#include "data/dbf/record_reader.h"

#include <algorithm>

#include "data/dbf/dbf_file.h"

namespace kolvio {

RecordReader::RecordReader(const DbfFile& file, size_t batchBytes)
    : file_(file),
      perBatch_(static_cast<uint32_t>(std::clamp<size_t>(
          batchBytes / std::max<size_t>(file.recordLength(), 1), 1, UINT32_MAX))),
      end_(file.recordCount()) {
    batch_.length = file.recordLength();
}

void RecordReader::setRange(uint32_t first, uint32_t end) {
    next_ = first;
    end_ = end;
    batch_.first = first;
    batch_.count = 0;
}

Status RecordReader::next(bool* more) {
    batch_.first = next_;
    batch_.count = 0;
    *more = next_ < end_;
    if (!*more) return Status::Ok();
    const uint32_t n = std::min(perBatch_, end_ - next_);
    // The buffer grows to the largest batch asked for, no further.
    const size_t bytes = static_cast<size_t>(n) * batch_.length;
    if (buffer_.size() < bytes) buffer_.resize(bytes);
    batch_.data = buffer_.data();
    KOLVIO_RETURN_IF_ERROR(file_.readRecords(next_, n, buffer_.data()));
    batch_.count = n;
    next_ += n;
    return Status::Ok();
}

Status RecordReader::forEach(const std::function<Status(const RecordBatch&)>& visit) {
    for (;;) {
        bool more = false;
        KOLVIO_RETURN_IF_ERROR(next(&more));
        if (!more) return Status::Ok();
        KOLVIO_RETURN_IF_ERROR(visit(batch_));
    }
}

}  // namespace kolvio
