// Editing, posting and deleting the rows of a table.
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
    const bool editing = state_ == DatasetState::kEdit || state_ == DatasetState::kInsert;
    KOLVIO_CHECK_STATE(editing, "a field of \"" + fileName_ + "\" set in state " +
                                    StateName(state_) + " (edit() or append() first)");
    if (editing) return Status::Ok();
    return Status::Invalid("Tabulka \"" + fileName_ + "\" není v režimu úprav.");
}

namespace {

[[maybe_unused]] bool IsDrawnTransition(DatasetState from, DatasetState to) {
    using S = DatasetState;
    switch (to) {
        case S::kInactive:
            return from != S::kInactive;  // close() drops a row being edited
        case S::kBrowse:
            return from != S::kBrowse;
        case S::kEdit:
        case S::kInsert:
            return from == S::kBrowse;
    }
    return false;
}

}  // namespace

void Table::enterState(DatasetState next) {
    KOLVIO_CHECK_STATE(IsDrawnTransition(state_, next),
                       "\"" + fileName_ + "\" went from " + StateName(state_) + " to " +
                           StateName(next) + ", which table.h does not draw");
    state_ = next;
}

Status Table::refuseInBeforeHandler([[maybe_unused]] const char* what) const {
    if (!inBeforeHandler_) return Status::Ok();
    KOLVIO_CHECK_STATE(false, std::string(what) + " of \"" + fileName_ +
                                  "\" called from a kBeforeEdit or kBeforePost handler");
    return Status::Invalid("Tabulka \"" + fileName_ +
                           "\" právě připravuje úpravu řádku; akci nelze provést.");
}

Status Table::runBeforeHandlers(TableEvent event) {
    inBeforeHandler_ = true;
    Status st = runHandlers(event);
    inBeforeHandler_ = false;
    return st;
}

Status Table::requireExclusive(const char* what) const {
    if (isOpen() && exclusive_) return Status::Ok();
    return Status::Locked(std::string(what) + " tabulky \"" + fileName_ +
                          "\" vyžaduje výhradní přístup.");
}

Status Table::ensurePosted() {
    KOLVIO_RETURN_IF_ERROR(refuseInBeforeHandler("Moving the cursor"));
    if (state_ == DatasetState::kEdit || state_ == DatasetState::kInsert) return post();
    return Status::Ok();
}

Status Table::edit() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(refuseInBeforeHandler("edit()"));
    if (state_ == DatasetState::kEdit || state_ == DatasetState::kInsert) return Status::Ok();
    if (!hasCurrent_) {
        return Status::Invalid("Tabulka \"" + fileName_ + "\" je prázdná, není co upravit.");
    }
    if (!file_->writable()) {
        return Status::Locked("Tabulku \"" + path_ + "\" nelze měnit (jen pro čtení).");
    }
    KOLVIO_RETURN_IF_ERROR(runBeforeHandlers(TableEvent::kBeforeEdit));
    // Edit what is on disk now, not a stale copy.
    cacheCount_ = 0;
    KOLVIO_RETURN_IF_ERROR(readRow(recno_, &row_));
    savedRow_ = row_;
    editRow_ = row_;
    modified_ = false;
    ++editSerial_;
    enterState(DatasetState::kEdit);
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
    enterState(DatasetState::kInsert);
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
    KOLVIO_RETURN_IF_ERROR(refuseInBeforeHandler("post()"));
    KOLVIO_RETURN_IF_ERROR(runBeforeHandlers(TableEvent::kBeforePost));
    // A handler that cancelled the row ends the post, whatever it returned.
    if (state_ != DatasetState::kEdit && state_ != DatasetState::kInsert) return Status::Aborted();
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
    enterState(DatasetState::kBrowse);
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
    enterState(DatasetState::kBrowse);
    notify(DataChange::kStateChanged);
    notify(DataChange::kScrolled);
}

Status Table::deleteRecord() {
    if (!isOpen()) return Status::Invalid("Tabulka \"" + fileName_ + "\" není otevřená.");
    KOLVIO_RETURN_IF_ERROR(refuseInBeforeHandler("deleteRecord()"));
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

}  // namespace kolvio
