// Which rows a table shows, and in which order.
//
// Three layers, each computed lazily and dropped when rows change:
//   base:     live rows in physical order, or in the order of the current
//             index restricted to the master's key range;
//   filtered: the base rows the filter callback accepts, while filtering is on.
// Positions are zero-based indexes into the outermost layer. The filter and
// the master that restrict the layers are set here too.
#include <algorithm>
#include <utility>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_reader.h"
#include "data/index/table_index.h"
#include "data/table.h"

namespace kolvio {

void Table::ensureLive() {
    if (liveKnown_) return;
    live_.clear();
    const uint32_t count = file_->recordCount();
    bool anyDeleted = false;
    RecordReader reader(*file_);
    Status st = reader.forEach([&](const RecordBatch& batch) {
        for (uint32_t i = 0; i < batch.count; ++i) {
            const bool deleted = batch.deleted(i);
            const uint32_t recno = batch.first + i;
            if (deleted && !anyDeleted) {
                anyDeleted = true;
                live_.reserve(count);
                for (uint32_t r = 0; r < recno; ++r)
                    live_.push_back(r);
            }
            if (anyDeleted && !deleted) live_.push_back(recno);
        }
        return Status::Ok();
    });
    if (!st.ok()) {
        // Worked out again next time; the move that asked reports it.
        viewError_ = std::move(st);
        live_.clear();
        liveIdentity_ = true;
        return;
    }
    liveIdentity_ = !anyDeleted;
    liveKnown_ = true;
}

Status Table::ensureOrderIndex() {
    if (order_ && !order_->built()) return buildIndex(order_);
    return Status::Ok();
}

void Table::ensureRange() {
    if (rangeValid_ || !order_) return;
    if (!order_->built()) {
        if (Status st = buildIndex(order_); !st.ok()) {
            // Built again next time; the move that asked reports it.
            viewError_ = std::move(st);
            rangeLo_ = rangeHi_ = 0;
            return;
        }
    }
    if (master_) {
        const auto key = masterKey();
        shownMasterKey_ = key;
        if (key) {
            std::tie(rangeLo_, rangeHi_) = order_->equalRange({*key});
        } else {
            rangeLo_ = rangeHi_ = 0;
        }
    } else {
        rangeLo_ = 0;
        rangeHi_ = order_->size();
    }
    rangeValid_ = true;
}

size_t Table::baseSize() {
    if (order_) {
        ensureRange();
        return rangeHi_ - rangeLo_;
    }
    ensureLive();
    return liveIdentity_ ? file_->recordCount() : live_.size();
}

uint32_t Table::baseAt(size_t pos) {
    if (order_) {
        ensureRange();
        return order_->recnoAt(rangeLo_ + pos);
    }
    ensureLive();
    return liveIdentity_ ? static_cast<uint32_t>(pos) : live_[pos];
}

std::optional<size_t> Table::basePositionOf(uint32_t recno, const std::string& record) {
    if (order_) {
        ensureRange();
        const auto ordinal = order_->ordinalOf(recno, record.data());
        if (!ordinal || *ordinal < rangeLo_ || *ordinal >= rangeHi_) return std::nullopt;
        return *ordinal - rangeLo_;
    }
    ensureLive();
    if (liveIdentity_) {
        if (recno >= file_->recordCount()) return std::nullopt;
        return recno;
    }
    const auto it = std::lower_bound(live_.begin(), live_.end(), recno);
    if (it == live_.end() || *it != recno) return std::nullopt;
    return static_cast<size_t>(it - live_.begin());
}

void Table::ensureFiltered() {
    if (filteredValid_) return;
    filteredRows_.clear();
    const size_t n = baseSize();
    if (viewError_.failed()) return;  // the base rows are not known
    std::string record;
    for (size_t pos = 0; pos < n; ++pos) {
        const uint32_t recno = baseAt(pos);
        if (Status st = readRow(recno, &record); !st.ok()) {
            // Worked out again next time; the move or search that asked
            // reports it instead of showing fewer rows.
            viewError_ = std::move(st);
            filteredRows_.clear();
            return;
        }
        if (accepts(recno, record)) filteredRows_.push_back(recno);
    }
    filteredValid_ = true;
}

size_t Table::viewSize() {
    if (filtered_ && filter_) {
        ensureFiltered();
        return filteredRows_.size();
    }
    return baseSize();
}

uint32_t Table::viewAt(size_t pos) {
    if (filtered_ && filter_) {
        ensureFiltered();
        return filteredRows_[pos];
    }
    return baseAt(pos);
}

std::optional<size_t> Table::viewPositionOf(uint32_t recno, const std::string& record) {
    if (filtered_ && filter_) {
        ensureFiltered();
        const auto it = std::find(filteredRows_.begin(), filteredRows_.end(), recno);
        if (it == filteredRows_.end()) return std::nullopt;
        return static_cast<size_t>(it - filteredRows_.begin());
    }
    return basePositionOf(recno, record);
}

// Where the cursor goes when its row has left the view (deleted, filtered
// out, or moved out of the master range): the row that now stands there.
size_t Table::nearestPosition(uint32_t recno, const std::string& record) {
    const size_t n = viewSize();
    if (n == 0) return 0;
    if (filtered_ && filter_) {
        return std::min(pos_, n - 1);
    }
    if (order_) {
        ensureRange();
        const auto exact = order_->ordinalOf(recno, record.data());
        if (!exact) return std::min(pos_, n - 1);
        return std::clamp(*exact, rangeLo_, rangeHi_ - 1) - rangeLo_;
    }
    ensureLive();
    if (liveIdentity_) return std::min<size_t>(recno, n - 1);
    const auto it = std::lower_bound(live_.begin(), live_.end(), recno);
    return std::min(static_cast<size_t>(it - live_.begin()), n - 1);
}

void Table::viewChanged() {
    rangeValid_ = false;
    filteredValid_ = false;
    posValid_ = false;
}

void Table::noteAppended(uint32_t recno) {
    if (liveKnown_ && !liveIdentity_) live_.push_back(recno);
    viewChanged();
}

// Rows [from, to) were appended by other handles: they join the live rows
// and every index built so far, as if this handle had appended them. When
// one cannot be read, everything is worked out again from the file later.
void Table::absorbAppended(uint32_t from, uint32_t to) {
    cacheCount_ = 0;
    viewChanged();
    std::string record;
    for (uint32_t recno = from; recno < to; ++recno) {
        if (!file_->readRecord(recno, &record).ok()) return forgetRows();
        if (record[0] == '*') {
            if (liveKnown_ && liveIdentity_) {
                live_.clear();
                for (uint32_t r = 0; r < recno; ++r)
                    live_.push_back(r);
                liveIdentity_ = false;
            }
            continue;
        }
        for (auto& index : indexes_) {
            if (index->built()) index->insert(recno, record.data());
        }
        if (liveKnown_ && !liveIdentity_) live_.push_back(recno);
    }
}

void Table::forgetRows() {
    for (auto& index : indexes_)
        index->reset();
    cacheCount_ = 0;
    liveKnown_ = false;
    viewChanged();
}

Status Table::followAppends() {
    const uint32_t known = file_->recordCount();
    DbfFile::Growth growth;
    KOLVIO_RETURN_IF_ERROR(file_->followAppends(&growth));
    if (growth == DbfFile::Growth::kNone) return Status::Ok();
    if (growth == DbfFile::Growth::kAppended) {
        absorbAppended(known, file_->recordCount());
    } else {
        forgetRows();
    }
    notify(DataChange::kDataChanged);
    return Status::Ok();
}

void Table::noteDeleted(uint32_t recno) {
    if (liveKnown_) {
        if (liveIdentity_) {
            live_.clear();
            live_.reserve(file_->recordCount());
            for (uint32_t r = 0; r < file_->recordCount(); ++r) {
                if (r != recno) live_.push_back(r);
            }
            liveIdentity_ = false;
        } else {
            const auto it = std::lower_bound(live_.begin(), live_.end(), recno);
            if (it != live_.end() && *it == recno) live_.erase(it);
        }
    }
    viewChanged();
}

// --- filter and master -----------------------------------------------------

bool Table::accepts(uint32_t, const std::string& record) {
    if (!filtered_ || !filter_) return true;
    candidate_ = &record;
    const bool ok = filter_(*this);
    candidate_ = nullptr;
    return ok;
}

void Table::setFilter(FilterFn filter) {
    filter_ = std::move(filter);
    if (filtered_ && isOpen()) {
        viewChanged();
        notify(DataChange::kDataChanged);
        (void)first();
    }
}

void Table::setFiltered(bool on) {
    if (filtered_ == on) return;
    filtered_ = on;
    if (isOpen()) {
        viewChanged();
        notify(DataChange::kDataChanged);
        (void)first();
    }
}

void Table::setMaster(Table* master, std::string masterField, std::string indexName) {
    clearMaster();
    master_ = master;
    masterField_ = std::move(masterField);
    indexName_ = std::move(indexName);
    order_ = isOpen() ? findIndex(indexName_) : nullptr;
    masterObserver_ =
        master_->addObserver([this](DataChange change, int) { onMasterChange(change); });
    if (isOpen()) {
        viewChanged();
        notify(DataChange::kDataChanged);
        (void)first();
    }
}

void Table::clearMaster() {
    if (!master_) return;
    master_->removeObserver(masterObserver_);
    master_ = nullptr;
    masterObserver_ = 0;
    if (isOpen()) {
        viewChanged();
        notify(DataChange::kDataChanged);
        (void)first();
    }
}

std::optional<Value> Table::masterKey() const {
    if (!master_ || !master_->isOpen()) return std::nullopt;
    const bool editing =
        master_->state() == DatasetState::kEdit || master_->state() == DatasetState::kInsert;
    if (!editing && !master_->hasCurrent_) return std::nullopt;  // empty master: no details
    return master_->value(masterField_);
}

void Table::onMasterChange(DataChange change) {
    if (change == DataChange::kFieldChanged || !isOpen()) return;
    // Grids read the master's rows by moving over them and back; only a new
    // key (or the master opening or closing) gives the detail other rows.
    const std::optional<Value> key = masterKey();
    if (change != DataChange::kStateChanged && rangeValid_ && key == shownMasterKey_) return;
    viewChanged();
    (void)first();
    notify(DataChange::kDataChanged);
}

}  // namespace kolvio
