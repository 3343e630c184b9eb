// The event handlers a screen attaches to the shared tables, for as long as
// the screen lives.
//
//   class TFEditTrat : ... {
//       TableHandlers handlers_;   // a member: detached with the screen at the latest
//   };
//   handlers_.attach(trs, TableEvent::kBeforePost, [this](Table& t) { return TTRSBeforePost(t); });
//   // an undo that must ask and check nothing:
//   Status st = handlers_.without(trs, [&] { return WriteBackOldRow(trs); });
//   handlers_.detachAll();     // FormClose; the destructor does it too
//
// Guarantees, whatever the nesting of the calls:
// - one (table, event) pair holds at most one handler of a holder: attaching
//   again replaces the function instead of adding a second registration;
// - without() never adds or removes registrations: it pauses the chosen
//   handlers (the event passes as if they were not there) and pauses nest,
//   so a handler paused by an outer without() stays paused through an inner
//   one and runs again only when the outermost pause ends;
// - detachAll() removes every registration once; calling it again, or
//   destroying the holder afterwards, does nothing more;
// - a detached handler never runs again, not even from the copy of the
//   handler list a table takes before running them, so no call reaches a
//   screen that has gone.
//
// REQUIRES: every table outlives the holder (the shared tables of the main
// window outlive every screen).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "data/table.h"

namespace kolvio {

class TableHandlers {
public:
    TableHandlers() = default;
    ~TableHandlers() { detachAll(); }
    TableHandlers(const TableHandlers&) = delete;
    TableHandlers& operator=(const TableHandlers&) = delete;

    void attach(Table& table, TableEvent event, Table::Handler handler);
    void detachAll();

    // Runs `body` with every handler of `table` paused.
    Status without(Table& table, const std::function<Status()>& body);
    // The same for the handlers of one event only.
    Status without(Table& table, TableEvent event, const std::function<Status()>& body);

    // The number of handlers attached (paused ones included).
    int attachedCount() const;

private:
    struct Slot;
    Status pausing(Table& table, std::optional<TableEvent> event,
                   const std::function<Status()>& body);

    std::vector<std::shared_ptr<Slot>> slots_;
};

}  // namespace kolvio
