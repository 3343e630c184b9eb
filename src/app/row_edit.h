// A row being added to or changed in a table, stored whole or not at all.
//
//   RowEdit row(trs);
//   row.append().set("TRS_C", code).set("TRS_MEZI", waypoints);
//   if (!StoreOk(row.commit())) return;   // failed: nothing is stored
//
// Leaving the scope without commit() cancels the row. A failing step makes
// the later ones do nothing; commit() then cancels the row and returns that
// failure, so a row is never stored with only some of its values.
//
// As a screen member it holds a pending appended row for the screen's life,
// for bound controls to fill:
//
//   RowEdit pending_{db.Table1()};     // member of the new-ride screen
//   pending_.append();                 // when the screen opens
//   pending_.commit();                 // "PŘIDEJ"; append() again for the next one
//   // "ZRUŠ" or the screen's end: cancelled
//
// Only its own row is cancelled: once the row was stored or cancelled by
// someone else (moving the table's cursor posts it), the guard leaves the
// table alone, and commit() says the row is no longer pending.
//
// Two rows of two tables stored both or neither: commit the first, then the
// second; when the second fails, withdraw() the first.
//
// REQUIRES: the table outlives the guard.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "data/table.h"

namespace kolvio {

class RowEdit {
public:
    explicit RowEdit(Table& table) : table_(table) {}
    ~RowEdit() { cancel(); }
    RowEdit(const RowEdit&) = delete;
    RowEdit& operator=(const RowEdit&) = delete;

    // Begins a new row, or a change of the current row. A row still pending
    // from an earlier append() or edit() of this guard is cancelled first.
    RowEdit& append();
    RowEdit& edit();
    RowEdit& set(std::string_view field, const Value& value);
    RowEdit& set(int field, const Value& value);
    RowEdit& set(std::initializer_list<std::pair<std::string_view, Value>> values);

    // Stores the row (the table's before- and after-post handlers run). On
    // any failure, here or in an earlier step, the row is cancelled and the
    // failure returned; an aborted post returns Aborted.
    Status commit();
    // Drops the row if it is still this guard's pending row.
    void cancel();
    // Deletes the row this guard appended and stored last.
    Status withdraw();

    // The row begun here is still being edited in the table.
    bool pending() const;
    // The first failure since append() or edit(); ok before any.
    const Status& status() const { return status_; }
    Table& table() const { return table_; }

private:
    RowEdit& begin(bool appending);
    template <typename Field>
    RowEdit& setValue(Field field, const Value& value);

    Table& table_;
    Status status_;
    bool begun_ = false;
    bool appending_ = false;
    uint64_t serial_ = 0;
    // The row appended and stored last, for withdraw().
    std::optional<Bookmark> appended_;
};

// In a kAfterPost handler of a change that is refused after it was stored:
// writes back every field the change altered and stores the row again.
Status WriteBackOldRow(Table& table);

}  // namespace kolvio
