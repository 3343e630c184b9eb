#include "data/sql/result_set.h"

namespace kolvio::sql {

ResultSet::ResultSet(const std::vector<FieldDef>& fields, ColumnData rows,
                     std::vector<uint32_t> order)
    : rows_(std::move(rows)), order_(std::move(order)) {
    int offset = 1;
    for (const FieldDef& def : fields) {
        FieldLayout f;
        static_cast<FieldDef&>(f) = def;
        f.offset = offset;
        offset += def.length;
        fields_.push_back(std::move(f));
    }
    count_ = order_.empty() ? rows_.rows : order_.size();
    eof_ = count_ == 0;
    bof_ = true;
}

std::vector<FieldDef> ResultSet::fieldDefs() const {
    return std::vector<FieldDef>(fields_.begin(), fields_.end());
}

Status ResultSet::closedError() const {
    return Status::Invalid("Výsledek dotazu je zavřený.");
}

void ResultSet::moved() {
    notify(DataChange::kScrolled);
}

Status ResultSet::first() {
    if (!open_) return closedError();
    row_ = 0;
    bof_ = true;
    eof_ = count_ == 0;
    moved();
    return Status::Ok();
}

Status ResultSet::last() {
    if (!open_) return closedError();
    row_ = count_ == 0 ? 0 : static_cast<int64_t>(count_) - 1;
    eof_ = count_ == 0;
    bof_ = count_ == 0;
    moved();
    return Status::Ok();
}

Status ResultSet::next() {
    if (!open_) return closedError();
    if (row_ + 1 < static_cast<int64_t>(count_)) {
        ++row_;
        bof_ = false;
        eof_ = false;
        moved();
    } else {
        eof_ = true;
    }
    return Status::Ok();
}

Status ResultSet::prior() {
    if (!open_) return closedError();
    if (row_ > 0) {
        --row_;
        bof_ = false;
        eof_ = count_ == 0;
        moved();
    } else {
        bof_ = true;
    }
    return Status::Ok();
}

Status ResultSet::moveToRow(int64_t row) {
    if (!open_) return closedError();
    if (count_ == 0) return Status::Ok();
    if (row < 0 || row >= static_cast<int64_t>(count_)) {
        return Status::Invalid("Řádek " + std::to_string(row + 1) + " ve výsledku dotazu není.");
    }
    row_ = row;
    bof_ = row == 0;
    eof_ = false;
    moved();
    return Status::Ok();
}

Value ResultSet::valueAt(int64_t row, int field) const {
    if (!open_ || row < 0 || row >= static_cast<int64_t>(count_) || field < 0 ||
        field >= static_cast<int>(rows_.columns.size())) {
        return Value();
    }
    const size_t physical = order_.empty() ? static_cast<size_t>(row) : order_[row];
    return rows_.columns[field].value(physical);
}

Status ResultSet::valuesAt(int64_t row, const std::vector<int>& fields, std::vector<Value>* out) {
    out->clear();
    if (!open_) return closedError();
    if (row < 0 || row >= static_cast<int64_t>(count_)) {
        return Status::NotFound("Řádek " + std::to_string(row + 1) + " ve výsledku dotazu není.");
    }
    out->reserve(fields.size());
    for (const int f : fields)
        out->push_back(valueAt(row, f));
    return Status::Ok();
}

Value ResultSet::value(int index) const {
    if (count_ == 0) return Value();
    return valueAt(row_, index);
}

void ResultSet::close() {
    if (!open_) return;
    open_ = false;
    rows_ = ColumnData();
    order_.clear();
    count_ = 0;
    eof_ = bof_ = true;
    notify(DataChange::kStateChanged);
}

}  // namespace kolvio::sql
