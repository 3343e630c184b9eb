#include "app/widgets/lookup_binding.h"

#include <QComboBox>

#include "app/message_service.h"
#include "app/widgets/dataset_model.h"

namespace kolvio {

namespace {

bool SameKey(const Value& a, const Value& b) {
    if (a.isNumber() && b.isNumber()) return a.asDouble() == b.asDouble();
    return a == b;
}

}  // namespace

LookupBinding::LookupBinding(Table& table, QString field, QComboBox* combo, Table& list,
                             QString keyField, QString listField)
    : FieldBinding(table, std::move(field), combo),
      combo_(combo),
      list_(list),
      keyField_(std::move(keyField)),
      listField_(std::move(listField)) {
    combo_->setEditable(false);
    listObserver_ = list_.addObserver([this](DataChange c, int) { onListChange(c); });
    connect(combo_, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= static_cast<int>(keys_.size())) return;
        const Value key = keys_[index];
        // The item already chosen is no change of the row.
        if (holdsFieldValue() || (beginEdit() && apply())) followKey(key);
    });
    refill();
}

LookupBinding::~LookupBinding() {
    list_.removeObserver(listObserver_);
}

void LookupBinding::onListChange(DataChange change) {
    if (change == DataChange::kDataChanged || change == DataChange::kStateChanged) {
        // Rows added, reordered or filtered are shown, but the list's cursor
        // stays where its own screen put it (on a row just added, say).
        following_ = false;
        refill();
        following_ = true;
    }
}

void LookupBinding::refill() {
    keys_.clear();
    QStringList items;
    if (list_.isOpen()) {
        const std::vector<int> fields = {list_.fieldIndex(keyField_.toStdString()),
                                         list_.fieldIndex(listField_.toStdString())};
        std::vector<Value> row;
        const int64_t n = list_.recordCount();
        for (int64_t i = 0; i < n && list_.valuesAt(i, fields, &row).ok(); ++i) {
            keys_.push_back(row[0]);
            items.append(FormatValue(row[1]));
        }
    }
    const QSignalBlocker block(combo_);
    combo_->clear();
    combo_->addItems(items);
    load();
}

std::optional<Value> LookupBinding::controlValue(QString* error) const {
    const int index = combo_->currentIndex();
    if (index < 0 || index >= static_cast<int>(keys_.size())) {
        *error = QStringLiteral("Vyber položku ze seznamu.");
        return std::nullopt;
    }
    return keys_[index];
}

void LookupBinding::showValue(const Value& value) {
    int found = -1;
    for (size_t i = 0; i < keys_.size() && found < 0; ++i) {
        if (!value.isNull() && SameKey(keys_[i], value)) found = static_cast<int>(i);
    }
    {
        const QSignalBlocker block(combo_);
        combo_->setCurrentIndex(found);
    }
    if (found >= 0 && following_) followKey(value);
}

void LookupBinding::followKey(const Value& key) {
    // Moving the list table would post a row being edited in it.
    if (!list_.isOpen() || list_.state() != DatasetState::kBrowse) return;
    const int k = list_.fieldIndex(keyField_.toStdString());
    if (k < 0 || SameKey(list_.value(k), key)) return;
    // A key no longer in the list leaves the list where it is; a list that
    // cannot be read is said.
    (void)SearchReadOk(list_.locate(keyField_.toStdString(), key));
}

}  // namespace kolvio
