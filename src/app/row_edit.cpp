#include "app/row_edit.h"

#include <vector>

namespace kolvio {

RowEdit& RowEdit::begin(bool appending) {
    cancel();
    status_ = appending ? table_.append() : table_.edit();
    begun_ = status_.ok();
    appending_ = appending;
    serial_ = table_.editSerial();
    return *this;
}

RowEdit& RowEdit::append() {
    return begin(true);
}

RowEdit& RowEdit::edit() {
    return begin(false);
}

template <typename Field>
RowEdit& RowEdit::setValue(Field field, const Value& value) {
    if (!status_.ok()) return *this;
    if (!pending()) {
        status_ = Status::Invalid("Řádek tabulky \"" + table_.fileName() +
                                  "\" se již nepřidává ani nemění.");
        return *this;
    }
    status_ = table_.setValue(field, value);
    return *this;
}

RowEdit& RowEdit::set(std::string_view field, const Value& value) {
    return setValue(field, value);
}

RowEdit& RowEdit::set(int field, const Value& value) {
    return setValue(field, value);
}

RowEdit& RowEdit::set(std::initializer_list<std::pair<std::string_view, Value>> values) {
    for (const auto& [field, value] : values)
        set(field, value);
    return *this;
}

bool RowEdit::pending() const {
    const DatasetState state = table_.state();
    return begun_ && table_.editSerial() == serial_ &&
           state == (appending_ ? DatasetState::kInsert : DatasetState::kEdit);
}

Status RowEdit::commit() {
    if (status_.ok() && !pending()) {
        status_ = Status::Invalid("Řádek tabulky \"" + table_.fileName() +
                                  "\" se již nepřidává ani nemění.");
    }
    if (!status_.ok()) {
        const Status failed = status_;
        cancel();
        return failed;
    }
    const Status st = table_.post();
    // A before-post handler that refused may have cancelled the row itself.
    if (!st.ok()) {
        cancel();
        return st;
    }
    begun_ = false;
    if (appending_) appended_ = table_.bookmark();
    return st;
}

void RowEdit::cancel() {
    if (pending()) table_.cancel();
    begun_ = false;
    status_ = Status::Ok();
}

Status RowEdit::withdraw() {
    if (!appended_) {
        return Status::Invalid("Řádek tabulky \"" + table_.fileName() + "\" nebyl přidán.");
    }
    const Bookmark row = *std::exchange(appended_, std::nullopt);
    KOLVIO_RETURN_IF_ERROR(table_.gotoBookmark(row));
    return table_.deleteRecord();
}

Status WriteBackOldRow(Table& table) {
    // Read before edit(): a new edit makes the stored row the old one.
    std::vector<std::pair<int, Value>> old;
    for (int i = 0; i < static_cast<int>(table.fields().size()); ++i) {
        Value before = table.oldValue(i);
        if (before != table.value(i)) old.emplace_back(i, std::move(before));
    }
    RowEdit row(table);
    row.edit();
    for (const auto& [field, value] : old)
        row.set(field, value);
    return row.commit();
}

}  // namespace kolvio
