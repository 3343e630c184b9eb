// A drop-down list that picks a row of another table for a code field
// ("lookup"): the ride's TRNZ_C chosen from the primary ride types by name.
//
// The list shows `listField` of every visible row of the list table, in its
// current order, filter and master range, and keeps its `keyField` value
// behind each item. Choosing an item puts the table into edit and writes the
// key into the bound field. As in the classic lookup control, the list
// table's cursor follows the chosen key, so a detail table of it (the
// secondary ride types of the chosen primary type) follows as well. A change
// of the list's own rows (a row added by another screen, a new order) is
// shown without moving its cursor.
#pragma once

#include <vector>

#include "app/widgets/field_binding.h"

namespace kolvio {

class LookupBinding final : public FieldBinding {
    Q_OBJECT
public:
    LookupBinding(Table& table, QString field, QComboBox* combo, Table& list, QString keyField,
                  QString listField);
    ~LookupBinding() override;

    Table& list() const { return list_; }
    // Reads the list table's rows again (the program does it whenever the
    // list table's rows or order change).
    void refill();

protected:
    std::optional<Value> controlValue(QString* error) const override;
    void showValue(const Value& value) override;

private:
    void onListChange(DataChange change);
    void followKey(const Value& key);

    QComboBox* combo_;
    Table& list_;
    QString keyField_;
    QString listField_;
    std::vector<Value> keys_;
    Dataset::ObserverId listObserver_ = 0;
    bool following_ = true;  // showing a key moves the list to it
};

}  // namespace kolvio
