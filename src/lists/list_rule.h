// The one rule object of the reference lists: runs the checks of a list's
// description (list_description.h) on the shared table, and answers the
// screens' questions about it.
//
//   ListRule rule(kRouteList, db, rider);           // a screen member
//   rule.attachChangeChecks(handlers_, flush);      // editors: before and after storing
//   if (rule.deleteCurrent()) ...                   // "Vymaž"
//   if (rule.mayAdd(values) && rule.confirmAdd())   // "PŘIDEJ"
//       StoreOk(rule.add(values, row));
//
// Every message goes to the Rider, in the order of the description; a
// failure of the store is handed to Rider::fail and ends the check as a
// refusal. No Qt: the rules are tested with a scripted rider.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/row_edit.h"
#include "app/table_handlers.h"
#include "lists/list_description.h"

namespace kolvio {

class Database;

// How the rules speak to the rider: the screens pass the message box, the
// tests a script.
class Rider {
public:
    virtual ~Rider() = default;
    // A warning with OK.
    virtual void warn(const std::string& text) = 0;
    // A question with Yes and No; false only on No.
    virtual bool confirm(const std::string& text) = 0;
    // A failure of the table store (never an aborted operation).
    virtual void fail(const Status& status) = 0;
    // A check refused the value of `field`; the screen may put the focus back
    // on its box.
    virtual void returnTo(std::string_view field) { (void)field; }
};

// Field values of a row, by field name.
using RowValues = std::vector<std::pair<std::string, Value>>;

class ListRule {
public:
    ListRule(const ListDescription& list, Database& db, Rider& rider);
    ListRule(const ListRule&) = delete;
    ListRule& operator=(const ListRule&) = delete;

    const ListDescription& list() const { return list_; }
    Table& table() const { return table_; }

    // Editors: the checks of a change, attached to the table for the life of
    // `handlers`. Before storing: the required fields and the question
    // (`flush` runs first, so that what is typed into a box counts). After
    // storing: the uniqueness of the row; a refused change is written back
    // with every handler of `handlers` paused.
    void attachChangeChecks(TableHandlers& handlers, std::function<void()> flush = {});
    // The last store was written back by the after-storing checks.
    bool writtenBack() const { return writtenBack_; }

    // The refusals and the question before the current row is deleted; true
    // when it may go.
    bool mayDelete();
    // mayDelete(), then the delete; true when the row was deleted.
    bool deleteCurrent();

    // The checks of a new row holding `values`, in the order of the
    // description; true when it may be added. The final question is apart.
    bool mayAdd(const RowValues& values);
    bool confirmAdd();
    // Appends `values` through `row` under the next free code (within the
    // master's range for a detail list, the master's code taken from
    // `values`) and stores it; the new row is current.
    Status add(const RowValues& values, RowEdit& row);

    // Whether a stored row holds `value` in `field`; nullopt after the rider
    // was told that the table could not be read.
    std::optional<bool> occurs(std::string_view field, const Value& value);
    // Whether rides refer to the current row; nullopt as above.
    std::optional<bool> usedInRides();

private:
    Status beforePost(Table& table);
    Status afterPost(Table& table);
    // Whether the case of a uniqueness check holds (`n` rows share the
    // values); nullopt after a failure was told.
    std::optional<bool> duplicated(const Uniqueness& u, const RowValues& values, int n,
                                   bool matchCase);
    // Runs `reaction`; false when it stops the action.
    bool react(const Reaction& reaction, std::string_view field);
    bool told(const Status& status);

    const ListDescription& list_;
    Table& table_;
    Table& rides_;
    Rider& rider_;
    TableHandlers* handlers_ = nullptr;
    std::function<void()> flush_;
    bool writtenBack_ = false;
};

}  // namespace kolvio
