// Changing rows, indexes and the whole file of a table.
#include <algorithm>

#include "data/dbf/dbf_file.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"
#include "data/index/table_index.h"
#include "data/summary/summary_upkeep.h"
#include "data/table.h"

namespace kolvio {

namespace {

std::string BlankRecord(const DbfHeader& header) {
    std::string row(header.recordLength, ' ');
    for (const FieldLayout& f : header.fields) {
        if (f.type == FieldType::kInteger) std::fill_n(row.begin() + f.offset, 4, '\0');
    }
    return row;
}

}  // namespace

Status Table::requireEditing() const {
    if (state_ == DatasetState::kEdit || state_ == DatasetState::kInsert) return Status::Ok();
    return Status::Invalid("Tabulka \"" + fileName_ + "\" není v režimu úprav.");
}

Status Table::requireExclusive(const char* what) const {
    if (isOpen() && exclusive_) return Status::Ok();
    return Status::Locked(std::string(what) + " tabulky \"" + fileName_ +
                          "\" vyžaduje výhradní přístup.");
}

Status Table::ensurePosted() {
    if (state_ == DatasetState::kEdit || state_ == DatasetState::kInsert) return post();
    return Status::Ok();
}

Status Table::edit() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    if (state_ == DatasetState::kEdit || state_ == DatasetState::kInsert) return Status::Ok();
    if (!hasCurrent_) {
        return Status::Invalid("Tabulka \"" + fileName_ + "\" je prázdná, není co upravit.");
    }
    if (!file_->writable()) {
        return Status::Locked("Tabulku \"" + path_ + "\" nelze měnit (jen pro čtení).");
    }
    KOLVIO_RETURN_IF_ERROR(runHandlers(TableEvent::kBeforeEdit));
    // Edit what is on disk now, not a stale copy.
    cacheCount_ = 0;
    KOLVIO_RETURN_IF_ERROR(readRow(recno_, &row_));
    savedRow_ = row_;
    editRow_ = row_;
    modified_ = false;
    ++editSerial_;
    state_ = DatasetState::kEdit;
    notify(DataChange::kStateChanged);
    return runHandlers(TableEvent::kAfterEdit);
}

Status Table::append() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    if (!file_->writable()) {
        return Status::Locked("Tabulku \"" + path_ + "\" nelze měnit (jen pro čtení).");
    }
    editRow_ = BlankRecord(file_->header());
    savedRow_.clear();
    modified_ = false;
    ++editSerial_;
    state_ = DatasetState::kInsert;
    notify(DataChange::kStateChanged);
    return Status::Ok();
}

Status Table::setValue(std::string_view field, const Value& value) {
    const int index = fieldIndex(field);
    if (index < 0) {
        return Status::Invalid("Tabulka \"" + fileName_ + "\" nemá pole \"" + std::string(field) +
                               "\".");
    }
    return setValue(index, value);
}

Status Table::setValue(int index, const Value& value) {
    KOLVIO_RETURN_IF_ERROR(requireEditing());
    if (index < 0 || index >= static_cast<int>(fields().size())) {
        return Status::Invalid("Neplatné pole tabulky \"" + fileName_ + "\".");
    }
    KOLVIO_RETURN_IF_ERROR(
        EncodeField(fields()[index], value, editRow_.data(), codePage_, memo_.get()));
    modified_ = true;
    notify(DataChange::kFieldChanged, index);
    return Status::Ok();
}

Status Table::post() {
    if (state_ != DatasetState::kEdit && state_ != DatasetState::kInsert) return Status::Ok();
    KOLVIO_RETURN_IF_ERROR(runHandlers(TableEvent::kBeforePost));
    cacheCount_ = 0;
    if (state_ == DatasetState::kInsert) {
        const uint32_t known = file_->recordCount();
        uint32_t recno = 0;
        SummaryUpkeep::Change change = summaries_->begin();
        KOLVIO_RETURN_IF_ERROR(file_->appendRecord(editRow_, &recno));
        summaries_->appended(change, recno, editRow_.data());
        // Rows other handles appended meanwhile come before ours.
        absorbAppended(known, recno);
        for (auto& index : indexes_) {
            if (index->built()) index->insert(recno, editRow_.data());
        }
        noteAppended(recno);
        recno_ = recno;
    } else {
        SummaryUpkeep::Change change = summaries_->begin();
        KOLVIO_RETURN_IF_ERROR(file_->writeRecord(recno_, editRow_));
        summaries_->rewritten(change, recno_, savedRow_.data(), editRow_.data());
        for (auto& index : indexes_) {
            if (index->built() && index->keyChanged(savedRow_.data(), editRow_.data())) {
                index->erase(recno_, savedRow_.data());
                index->insert(recno_, editRow_.data());
            }
        }
        viewChanged();
    }
    row_ = std::move(editRow_);
    editRow_.clear();
    hasCurrent_ = true;
    posValid_ = false;
    eof_ = bof_ = false;
    state_ = DatasetState::kBrowse;
    notify(DataChange::kDataChanged);
    notify(DataChange::kStateChanged);
    // The old row stays readable for the after-post handlers only. A handler
    // that edits again (a write-back) replaces and clears it on its own.
    const Status after = runHandlers(TableEvent::kAfterPost);
    if (state_ == DatasetState::kBrowse) savedRow_.clear();
    return after;
}

Value Table::oldValue(int index) const {
    if (!isOpen() || index < 0 || index >= static_cast<int>(fields().size())) return Value();
    if (state_ == DatasetState::kInsert) return Value();
    if (savedRow_.empty()) return value(index);
    return DecodeField(fields()[index], savedRow_.data(), codePage_, memo_.get());
}

Value Table::oldValue(std::string_view field) const {
    return oldValue(fieldIndex(field));
}

void Table::cancel() {
    if (state_ != DatasetState::kEdit && state_ != DatasetState::kInsert) return;
    editRow_.clear();
    savedRow_.clear();
    modified_ = false;
    state_ = DatasetState::kBrowse;
    notify(DataChange::kStateChanged);
    notify(DataChange::kScrolled);
}

Status Table::deleteRecord() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    if (state_ == DatasetState::kInsert) {
        cancel();
        return Status::Ok();
    }
    cancel();
    if (!hasCurrent_) {
        return Status::Invalid("Tabulka \"" + fileName_ + "\" je prázdná, není co smazat.");
    }
    const auto pos = currentPosition();
    cacheCount_ = 0;
    SummaryUpkeep::Change change = summaries_->begin();
    KOLVIO_RETURN_IF_ERROR(file_->markDeleted(recno_, true));
    summaries_->rewritten(change, recno_, row_.data(), nullptr);
    for (auto& index : indexes_) {
        if (index->built()) index->erase(recno_, row_.data());
    }
    noteDeleted(recno_);
    // The row that took the deleted one's place becomes current.
    KOLVIO_RETURN_IF_ERROR(moveToPosition(pos.value_or(0), false));
    eof_ = bof_ = !hasCurrent_;
    notify(DataChange::kDataChanged);
    (void)runHandlers(TableEvent::kAfterDelete);
    afterScroll();
    return Status::Ok();
}

// --- indexes ---------------------------------------------------------------

TableIndex* Table::findIndex(std::string_view name) const {
    for (const auto& index : indexes_) {
        if (EqualsIgnoreCase(index->def().name, name)) return index.get();
    }
    return nullptr;
}

Status Table::buildIndex(TableIndex* index) {
    return index->build(*file_, codePage_);
}

std::vector<IndexDef> Table::indexDefs() const {
    std::vector<IndexDef> defs;
    for (const auto& index : indexes_)
        defs.push_back(index->def());
    return defs;
}

bool Table::hasIndex(std::string_view name) const {
    return findIndex(name) != nullptr;
}

Status Table::saveIndexDefs() {
    return WriteIndexDefs(IndexSidecarPath(path_), indexDefs());
}

Status Table::addIndex(const IndexDef& def) {
    KOLVIO_RETURN_IF_ERROR(requireExclusive("Vytvoření indexu"));
    if (def.name.empty()) return Status::Invalid("Index musí mít název.");
    if (findIndex(def.name)) {
        return Status::Invalid("Index \"" + def.name + "\" tabulky \"" + fileName_ +
                               "\" již existuje.");
    }
    std::unique_ptr<TableIndex> index;
    KOLVIO_RETURN_IF_ERROR(TableIndex::Make(def, fields(), &index));
    indexes_.push_back(std::move(index));
    Status st = saveIndexDefs();
    if (!st.ok()) indexes_.pop_back();
    return st;
}

Status Table::deleteIndex(std::string_view name) {
    KOLVIO_RETURN_IF_ERROR(requireExclusive("Zrušení indexu"));
    TableIndex* index = findIndex(name);
    if (!index) {
        return Status::NotFound("Index \"" + std::string(name) + "\" tabulky \"" + fileName_ +
                                "\" neexistuje.");
    }
    if (order_ == index) {
        order_ = nullptr;
        indexName_.clear();
        viewChanged();
    }
    std::erase_if(indexes_, [index](const auto& p) { return p.get() == index; });
    return saveIndexDefs();
}

Status Table::setIndexName(std::string_view name) {
    if (!isOpen()) {
        indexName_ = std::string(name);
        return Status::Ok();
    }
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    TableIndex* index = name.empty() ? nullptr : findIndex(name);
    if (!name.empty() && !index) {
        return Status::NotFound("Index \"" + std::string(name) + "\" tabulky \"" + fileName_ +
                                "\" neexistuje.");
    }
    if (index && !index->built()) KOLVIO_RETURN_IF_ERROR(buildIndex(index));
    order_ = index;
    indexName_ = index ? index->def().name : std::string();
    viewChanged();
    notify(DataChange::kDataChanged);
    // Keep the current row current, now at its place in the new order.
    if (hasCurrent_) {
        const auto pos = viewPositionOf(recno_, row_);
        if (pos) return moveToPosition(*pos);
    }
    return first();
}

// --- packing ---------------------------------------------------------------

Status Table::reopenAfterRewrite() {
    const bool exclusive = exclusive_;
    const std::string index = indexName_;
    file_.reset();
    memo_.reset();
    indexes_.clear();
    order_ = nullptr;
    state_ = DatasetState::kInactive;
    indexName_ = index;
    Status st = open(exclusive);
    return st;
}

Status Table::pack() {
    KOLVIO_RETURN_IF_ERROR(requireExclusive("Komprese"));
    KOLVIO_RETURN_IF_ERROR(ensurePosted());
    // The block summaries the table had are made again for the packed file.
    const std::vector<bool> summarised = SummarisedFields(path_);
    const DbfHeader& old = file_->header();
    const uint32_t length = old.recordLength;
    FileRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(path_));
    File& out = rewrite.file();
    DbfHeader header = old;
    header.recordCount = 0;
    uint64_t offset = header.headerLength;
    const uint32_t batch = std::max<uint32_t>(1, (1u << 20) / length);
    std::string in(static_cast<size_t>(batch) * length, '\0');
    std::string kept;
    for (uint32_t first = 0; first < old.recordCount; first += batch) {
        const uint32_t n = std::min(batch, old.recordCount - first);
        KOLVIO_RETURN_IF_ERROR(file_->readRecords(first, n, in.data()));
        kept.clear();
        for (uint32_t i = 0; i < n; ++i) {
            const char* rec = in.data() + static_cast<size_t>(i) * length;
            if (rec[0] == '*') continue;
            kept.append(rec, length);
            ++header.recordCount;
        }
        KOLVIO_RETURN_IF_ERROR(out.writeAt(offset, kept));
        offset += kept.size();
    }
    KOLVIO_RETURN_IF_ERROR(out.writeAt(offset, "\x1A"));
    // The original header bytes are kept (padding, language byte); only the count changes.
    std::string headerBytes(old.headerLength, '\0');
    File src;
    KOLVIO_RETURN_IF_ERROR(File::Open(path_, false, &src));
    KOLVIO_RETURN_IF_ERROR(src.readAt(0, old.headerLength, headerBytes.data()));
    const std::string fresh = SerializeHeader(header);
    headerBytes.replace(1, 7, fresh, 1, 7);
    KOLVIO_RETURN_IF_ERROR(out.writeAt(0, headerBytes));
    KOLVIO_RETURN_IF_ERROR(rewrite.commit());
    KOLVIO_RETURN_IF_ERROR(reopenAfterRewrite());
    if (!summarised.empty()) SummariseTable(path_, summarised);  // without it only slower
    return Status::Ok();
}

}  // namespace kolvio
