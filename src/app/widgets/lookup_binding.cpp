#include "app/widgets/lookup_binding.h"

#include <QComboBox>

#include "app/widgets/dataset_model.h"
#include "app/widgets/dataset_walk.h"

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
        if (beginEdit() && apply()) followKey(key);
    });
    refill();
}

LookupBinding::~LookupBinding() {
    list_.removeObserver(listObserver_);
}

void LookupBinding::onListChange(DataChange change) {
    if (DatasetWalk::Active(list_)) return;
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
    if (DatasetWalk::Possible(list_)) {
        const int key = list_.fieldIndex(keyField_.toStdString());
        const int shown = list_.fieldIndex(listField_.toStdString());
        DatasetWalk walk(list_);
        for (Status st = list_.first(); st.ok() && !list_.eof(); st = list_.next()) {
            keys_.push_back(key < 0 ? Value() : list_.value(key));
            items.append(shown < 0 ? QString() : FormatValue(list_.value(shown)));
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
    if (!DatasetWalk::Possible(list_)) return;
    const int k = list_.fieldIndex(keyField_.toStdString());
    if (k < 0 || SameKey(list_.value(k), key)) return;
    list_.locate(keyField_.toStdString(), key);
}

}  // namespace kolvio
