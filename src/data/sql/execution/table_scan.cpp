#include "data/sql/execution/table_scan.h"

#include <algorithm>
#include <numeric>

#include "data/dbf/record_codec.h"
#include "data/sql/binder/expression_binder.h"
#include "data/sql/execution/number_decoder.h"
#include "data/sql/execution/zone_pruning.h"

namespace kolvio::sql {

namespace {

// Records read per call: small enough that a chunk's records are still in
// the core's cache when their fields are decoded right after the read.
constexpr uint32_t kReadRecords = 256;
static_assert(kReadRecords <= kVectorSize, "a read must fit one chunk");
// Picked records at most this far apart are read together.
constexpr uint32_t kPickedGap = 24;

void MarkSlots(const BoundExpr& e, std::vector<bool>* used) {
    if (e.kind == BoundExpr::Kind::kSlot) (*used)[e.slot] = true;
    for (const auto& c : e.children)
        MarkSlots(*c, used);
}

}  // namespace

TableScan::TableScan(const CatalogTable& table, std::vector<int> fields, const BoundExpr* filter)
    : table_(table),
      fields_(std::move(fields)),
      filterExpr_(filter),
      learned_(table.fields.size(), table.recordCount) {
    for (int f : fields_)
        types_.push_back(TypeOfField(table_.fields[f]));
    inFilter_.assign(fields_.size(), false);
    if (filter) {
        MarkSlots(*filter, &inFilter_);
        filter_.emplace(*filter);
    }
    for (size_t c = 0; c < fields_.size(); ++c) {
        learns_.push_back((!filter || inFilter_[c]) && types_[c] != SqlType::kText);
    }
    accumulators_.resize(fields_.size());
    if (table_.file) {
        reader_.emplace(*table_.file,
                        static_cast<size_t>(kReadRecords) * table_.file->recordLength());
    }
    records_.resize(kVectorSize);
    sel_.resize(kVectorSize);
    identity_.resize(kVectorSize);
    std::iota(identity_.begin(), identity_.end(), 0u);
}

void TableScan::finishBlock() {
    if (!haveBlock_) return;
    learned_.setLiveRows(block_, blockLive_);
    for (size_t c = 0; c < fields_.size(); ++c) {
        if (!learns_[c]) continue;
        Zone z;
        z.state = accumulators_[c].any ? Zone::State::kRange : Zone::State::kNoValues;
        z.min = accumulators_[c].min;
        z.values = accumulators_[c].values;
        z.max = accumulators_[c].max;
        learned_.setZone(static_cast<size_t>(fields_[c]), block_, z);
    }
    haveBlock_ = false;
}

bool TableScan::nextBlock() {
    finishBlock();
    if (!table_.file) return false;
    const uint32_t blocks = learned_.blocks();
    while (nextBlock_ < blocks) {
        const uint32_t b = nextBlock_++;
        if (!only_.empty() && (b >= only_.size() || !only_[b])) continue;
        if (filterExpr_ && table_.zones &&
            !BlockMayMatch(*filterExpr_, *table_.zones, b, fields_)) {
            ++skipped_;
            continue;
        }
        block_ = b;
        haveBlock_ = true;
        const uint32_t first = b * kZoneRows;
        batchPos_ = 0;
        reader_->setRange(first, first + std::min(kZoneRows, table_.recordCount - first));
        blockLive_ = 0;
        std::fill(accumulators_.begin(), accumulators_.end(), Accumulator{});
        return true;
    }
    return false;
}

void TableScan::decode(size_t column, const uint32_t* rows, size_t n, Vector* out) const {
    const FieldLayout& f = table_.fields[fields_[column]];
    out->resize(n);
    if (types_[column] == SqlType::kText) {
        if (IsMemoType(f.type)) {
            for (size_t k = 0; k < n; ++k)
                out->setNull(k);  // memo contents are not read
            return;
        }
        for (size_t k = 0; k < n; ++k) {
            DecodeToUtf8(RawField(f, records_[rows[k]]), table_.codePage, out->textToFill(k));
        }
        return;
    }
    double* numbers = out->numbers();
    uint8_t* valid = out->validity();
    for (size_t k = 0; k < n; ++k) {
        const std::optional<double> v = DecodeNumberFast(f, records_[rows[k]]);
        valid[k] = v.has_value();
        numbers[k] = v.value_or(0);
    }
}

void TableScan::observe(size_t column, const Vector& values, size_t n) {
    Accumulator& a = accumulators_[column];
    const double* numbers = values.numbers();
    const uint8_t* valid = values.validity();
    for (size_t k = 0; k < n; ++k) {
        if (!valid[k]) continue;
        const double v = numbers[k];
        ++a.values;
        if (!a.any) {
            a.any = true;
            a.min = a.max = v;
        } else {
            a.min = std::min(a.min, v);
            a.max = std::max(a.max, v);
        }
    }
}

bool TableScan::readBlockRecords(size_t* live) {
    for (;;) {
        if (!haveBlock_ && !nextBlock()) return false;
        const RecordBatch& batch = reader_->batch();
        if (batchPos_ >= batch.count) {
            bool more = false;
            ThrowIfError(reader_->next(&more));
            batchPos_ = 0;
            if (!more) {
                finishBlock();
                continue;
            }
        }
        size_t n = 0;
        while (batchPos_ < batch.count) {
            const char* rec = batch.record(batchPos_++);
            if (rec[0] != '*') records_[n++] = rec;
        }
        blockLive_ += static_cast<int64_t>(n);
        *live = n;
        return true;
    }
}

bool TableScan::readPickedRecords(size_t* live) {
    if (pickedPos_ >= picked_.size()) return false;
    const size_t recLen = table_.file->recordLength();
    if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kReadRecords * recLen);
    size_t filled = 0;
    size_t n = 0;
    while (pickedPos_ < picked_.size() && filled < kReadRecords) {
        const uint32_t first = picked_[pickedPos_];
        if (first >= table_.recordCount) {
            pickedPos_ = picked_.size();
            break;
        }
        // Records close together are read in one call, the few between
        // them too: a read costs more than copying a few records.
        size_t end = pickedPos_ + 1;
        while (end < picked_.size() && picked_[end] < table_.recordCount &&
               picked_[end] - picked_[end - 1] <= kPickedGap &&
               filled + (picked_[end] - first) < kReadRecords) {
            ++end;
        }
        const size_t span = picked_[end - 1] - first + 1;
        char* at = buffer_.get() + filled * recLen;
        ThrowIfError(table_.file->readRecords(first, static_cast<uint32_t>(span), at));
        for (size_t k = pickedPos_; k < end; ++k) {
            const char* rec = at + static_cast<size_t>(picked_[k] - first) * recLen;
            if (rec[0] != '*') records_[n++] = rec;
        }
        filled += span;
        pickedPos_ = end;
    }
    *live = n;
    return true;
}

bool TableScan::next(DataChunk* out) {
    if (out->columns.size() != types_.size()) out->reset(types_);
    if (!table_.file) return false;
    for (;;) {
        size_t n = 0;
        if (!(picking_ ? readPickedRecords(&n) : readBlockRecords(&n))) return false;
        if (n == 0) continue;
        const uint32_t* rows = identity_.data();
        size_t kept = n;
        if (filter_) {
            for (size_t c = 0; c < fields_.size(); ++c) {
                if (!inFilter_[c]) continue;
                decode(c, identity_.data(), n, &out->columns[c]);
                if (learns_[c] && !picking_) observe(c, out->columns[c], n);
            }
            out->size = n;
            kept = filter_->select(*out, sel_.data());
            if (kept == 0) continue;
            for (size_t c = 0; c < fields_.size(); ++c) {
                if (inFilter_[c]) out->columns[c].compact(sel_.data(), kept);
            }
            rows = sel_.data();
        }
        for (size_t c = 0; c < fields_.size(); ++c) {
            if (inFilter_[c]) continue;
            decode(c, rows, kept, &out->columns[c]);
            if (learns_[c] && !picking_) observe(c, out->columns[c], kept);
        }
        out->size = kept;
        return true;
    }
}

}  // namespace kolvio::sql
