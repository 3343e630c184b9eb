// Reading rows and moving the cursor over the visible rows.
#include <algorithm>
#include <utility>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/index/table_index.h"
#include "data/table.h"

namespace kolvio {

// --- reading ---------------------------------------------------------------

Status Table::readRow(uint32_t recno, std::string* out) {
    const uint32_t length = file_->recordLength();
    if (recno < cacheFirst_ || recno >= cacheFirst_ + cacheCount_) {
        // Read ahead only when the rows are being walked in physical order.
        const bool sequential = lastRead_ != UINT32_MAX && recno == lastRead_ + 1;
        const uint32_t batch = sequential ? std::max<uint32_t>(1, (64u << 10) / length) : 1;
        const uint32_t n = std::min(batch, file_->recordCount() - recno);
        cache_.resize(static_cast<size_t>(n) * length);
        cacheCount_ = 0;
        KOLVIO_RETURN_IF_ERROR(file_->readRecords(recno, n, cache_.data()));
        cacheFirst_ = recno;
        cacheCount_ = n;
    }
    lastRead_ = recno;
    out->assign(cache_, static_cast<size_t>(recno - cacheFirst_) * length, length);
    return Status::Ok();
}

Value Table::value(int index) const {
    if (!isOpen() || index < 0 || index >= static_cast<int>(fields().size())) return Value();
    const std::string* row = nullptr;
    if (candidate_) {
        row = candidate_;
    } else if (state_ == DatasetState::kEdit || state_ == DatasetState::kInsert) {
        row = &editRow_;
    } else if (hasCurrent_) {
        row = &row_;
    }
    if (!row) return Value();
    return DecodeField(fields()[index], row->data(), codePage_, memo_.get());
}

Status Table::valuesAt(int64_t row, const std::vector<int>& wanted, std::vector<Value>* out) {
    out->clear();
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    if (row < 0 || row >= recordCount()) {
        return Status::NotFound("Řádek " + std::to_string(row + 1) + " tabulky \"" + fileName_ +
                                "\" není.");
    }
    return readValues(viewAt(static_cast<size_t>(row)), wanted, out);
}

Status Table::readValues(uint32_t recno, const std::vector<int>& wanted, std::vector<Value>* out) {
    std::string record;
    KOLVIO_RETURN_IF_ERROR(readRow(recno, &record));
    const auto& defs = fields();
    out->reserve(wanted.size());
    for (const int f : wanted) {
        out->push_back(f < 0 || f >= static_cast<int>(defs.size())
                           ? Value()
                           : DecodeField(defs[f], record.data(), codePage_, memo_.get()));
    }
    return Status::Ok();
}

// --- cursor ----------------------------------------------------------------

void Table::setEmpty() {
    hasCurrent_ = false;
    posValid_ = false;
    eof_ = bof_ = true;
    row_.clear();
}

std::optional<size_t> Table::currentPosition() {
    if (!hasCurrent_) return std::nullopt;
    if (!posValid_) {
        const auto pos = viewPositionOf(recno_, row_);
        pos_ = pos ? *pos : nearestPosition(recno_, row_);
        posValid_ = true;
    }
    return pos_;
}

Status Table::moveToPosition(size_t pos, bool scrollEvent) {
    const size_t n = viewSize();
    if (viewError_.failed()) return std::exchange(viewError_, Status::Ok());
    if (n == 0) {
        setEmpty();
        if (scrollEvent) afterScroll();
        return Status::Ok();
    }
    pos = std::min(pos, n - 1);
    const uint32_t recno = viewAt(pos);
    KOLVIO_RETURN_IF_ERROR(readRow(recno, &row_));
    recno_ = recno;
    pos_ = pos;
    posValid_ = true;
    hasCurrent_ = true;
    if (scrollEvent) afterScroll();
    return Status::Ok();
}

// In physical order without a filter the cursor walks record by record,
// skipping deleted ones, so that opening and scanning never need the list of
// live rows (one read of the whole file) until a position is asked for.
bool Table::walksPhysically() const {
    return !order_ && !(filtered_ && filter_) && !liveKnown_;
}

Status Table::nextLive(uint32_t from, int step, std::optional<uint32_t>* out) {
    *out = std::nullopt;
    std::string record;
    for (int64_t r = from; r >= 0 && r < static_cast<int64_t>(file_->recordCount()); r += step) {
        KOLVIO_RETURN_IF_ERROR(readRow(static_cast<uint32_t>(r), &record));
        if (record[0] != '*') {
            *out = static_cast<uint32_t>(r);
            break;
        }
    }
    return Status::Ok();
}

Status Table::walkTo(std::optional<uint32_t> recno) {
    if (!recno) {
        setEmpty();
    } else {
        KOLVIO_RETURN_IF_ERROR(readRow(*recno, &row_));
        recno_ = *recno;
        hasCurrent_ = true;
        posValid_ = false;
    }
    afterScroll();
    return Status::Ok();
}

Status Table::first() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    KOLVIO_RETURN_IF_ERROR(followAppends());
    if (walksPhysically()) {
        std::optional<uint32_t> live;
        KOLVIO_RETURN_IF_ERROR(nextLive(0, 1, &live));
        KOLVIO_RETURN_IF_ERROR(walkTo(live));
    } else {
        KOLVIO_RETURN_IF_ERROR(moveToPosition(0));
    }
    bof_ = true;
    eof_ = !hasCurrent_;
    return Status::Ok();
}

Status Table::last() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    KOLVIO_RETURN_IF_ERROR(followAppends());
    if (walksPhysically()) {
        const uint32_t count = file_->recordCount();
        std::optional<uint32_t> live;
        if (count > 0) KOLVIO_RETURN_IF_ERROR(nextLive(count - 1, -1, &live));
        KOLVIO_RETURN_IF_ERROR(walkTo(live));
    } else {
        const size_t n = viewSize();
        KOLVIO_RETURN_IF_ERROR(moveToPosition(n == 0 ? 0 : n - 1));
    }
    eof_ = true;
    bof_ = !hasCurrent_;
    return Status::Ok();
}

Status Table::moveBy(int64_t n) {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    if (!hasCurrent_) {
        eof_ = bof_ = true;
        return Status::Ok();
    }
    if (n == 0) return Status::Ok();
    if (walksPhysically()) {
        const int step = n > 0 ? 1 : -1;
        uint32_t at = recno_;
        bool hitEnd = false;
        for (int64_t remaining = n > 0 ? n : -n; remaining > 0; --remaining) {
            std::optional<uint32_t> next;
            if (step > 0 || at > 0) KOLVIO_RETURN_IF_ERROR(nextLive(at + step, step, &next));
            if (!next) {
                hitEnd = true;
                break;
            }
            at = *next;
        }
        if (at != recno_) KOLVIO_RETURN_IF_ERROR(walkTo(at));
        eof_ = hitEnd && step > 0;
        bof_ = hitEnd && step < 0;
        return Status::Ok();
    }
    const auto pos = currentPosition();
    const int64_t size = static_cast<int64_t>(viewSize());
    if (viewError_.failed()) return std::exchange(viewError_, Status::Ok());
    const int64_t target = static_cast<int64_t>(*pos) + n;
    if (target >= size) {
        if (static_cast<int64_t>(*pos) != size - 1)
            KOLVIO_RETURN_IF_ERROR(moveToPosition(size - 1));
        eof_ = true;
        bof_ = false;
    } else if (target < 0) {
        if (*pos != 0) KOLVIO_RETURN_IF_ERROR(moveToPosition(0));
        bof_ = true;
        eof_ = false;
    } else {
        KOLVIO_RETURN_IF_ERROR(moveToPosition(static_cast<size_t>(target)));
        eof_ = bof_ = false;
    }
    return Status::Ok();
}

Status Table::next() {
    return moveBy(1);
}
Status Table::prior() {
    return moveBy(-1);
}

bool Table::isEmpty() {
    if (!isOpen()) return true;
    if (walksPhysically()) {
        // A table whose first rows cannot be read is not empty: moving in
        // it reports the error.
        std::optional<uint32_t> live;
        return nextLive(0, 1, &live).ok() && !live.has_value();
    }
    return viewSize() == 0;
}

int64_t Table::recordCount() {
    if (!isOpen()) return 0;
    return static_cast<int64_t>(viewSize());
}

int64_t Table::rowNumber() {
    if (!isOpen()) return -1;
    const auto pos = currentPosition();
    return pos ? static_cast<int64_t>(*pos) : -1;
}

Status Table::moveToRow(int64_t row) {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    KOLVIO_RETURN_IF_ERROR(moveToPosition(static_cast<size_t>(std::max<int64_t>(0, row))));
    eof_ = bof_ = !hasCurrent_;
    return Status::Ok();
}

Status Table::gotoBookmark(Bookmark bookmark) {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    if (bookmark >= file_->recordCount()) return Status::NotFound("Záznam již neexistuje.");
    std::string record;
    KOLVIO_RETURN_IF_ERROR(readRow(bookmark, &record));
    const auto pos = viewPositionOf(bookmark, record);
    if (!pos) return Status::NotFound("Záznam již neexistuje.");
    KOLVIO_RETURN_IF_ERROR(moveToPosition(*pos));
    eof_ = bof_ = false;
    return Status::Ok();
}

void Table::afterScroll() {
    (void)runHandlers(TableEvent::kAfterScroll);
    notify(DataChange::kScrolled);
}

// --- searching -------------------------------------------------------------

// A search reads rows; one that cannot be read (or the view that cannot be
// worked out) is the search's error, so that a damaged disk never looks
// like a row that is not there. The cursor moves only onto the row found.

Status Table::locate(std::string_view field, const Value& wanted) {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    const int index = fieldIndex(field);
    if (index < 0) {
        return Status::Invalid("Tabulka \"" + fileName_ + "\" nemá pole \"" + std::string(field) +
                               "\".");
    }
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    const FieldLayout& f = fields()[index];
    const size_t n = viewSize();
    if (viewError_.failed()) return std::exchange(viewError_, Status::Ok());
    std::string record;
    for (size_t pos = 0; pos < n; ++pos) {
        KOLVIO_RETURN_IF_ERROR(readRow(viewAt(pos), &record));
        const Value v = DecodeField(f, record.data(), codePage_, memo_.get());
        const bool equal =
            (v.isNull() || wanted.isNull())
                ? v.isNull() == wanted.isNull()
                : (IsNumericType(f.type) ? v.asDouble() == wanted.asDouble() : v == wanted);
        if (equal) {
            KOLVIO_RETURN_IF_ERROR(moveToPosition(pos));
            eof_ = bof_ = false;
            return Status::Ok();
        }
    }
    return Status::NotFound("V tabulce \"" + fileName_ + "\" není řádek s hledanou hodnotou pole " +
                            std::string(field) + ".");
}

Status Table::findKey(const std::vector<Value>& key) {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    if (!order_) {
        return Status::Invalid("Tabulka \"" + fileName_ +
                               "\" nemá zvolený index, podle kterého by se dalo hledat.");
    }
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    KOLVIO_RETURN_IF_ERROR(ensureOrderIndex());
    ensureRange();
    if (viewError_.failed()) return std::exchange(viewError_, Status::Ok());
    const auto [lo, hi] = order_->equalRange(key);
    std::string record;
    for (size_t ordinal = std::max(lo, rangeLo_); ordinal < std::min(hi, rangeHi_); ++ordinal) {
        const uint32_t recno = order_->recnoAt(ordinal);
        KOLVIO_RETURN_IF_ERROR(readRow(recno, &record));
        const auto pos = viewPositionOf(recno, record);
        if (viewError_.failed()) return std::exchange(viewError_, Status::Ok());
        if (pos) {
            KOLVIO_RETURN_IF_ERROR(moveToPosition(*pos));
            eof_ = bof_ = false;
            return Status::Ok();
        }
    }
    return Status::NotFound("V tabulce \"" + fileName_ + "\" není řádek s hledaným klíčem.");
}

}  // namespace kolvio
