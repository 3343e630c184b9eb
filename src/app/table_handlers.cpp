#include "app/table_handlers.h"

#include <algorithm>

namespace kolvio {

// One registration on a table. The table holds a trampoline that shares the
// slot, so the slot outlives a run the table started before the detach.
struct TableHandlers::Slot {
    Table* table;
    TableEvent event;
    Table::Handler handler;
    Table::HandlerId id = 0;
    int paused = 0;
    bool attached = true;
};

void TableHandlers::attach(Table& table, TableEvent event, Table::Handler handler) {
    for (const std::shared_ptr<Slot>& slot : slots_) {
        if (slot->table == &table && slot->event == event) {
            slot->handler = std::move(handler);
            return;
        }
    }
    auto slot = std::make_shared<Slot>(Slot{&table, event, std::move(handler)});
    slot->id = table.on(event, [slot](Table& t) {
        if (!slot->attached || slot->paused > 0) return Status::Ok();
        // A copy: the handler may replace itself while it runs.
        const Table::Handler handler = slot->handler;
        return handler(t);
    });
    slots_.push_back(std::move(slot));
}

void TableHandlers::detachAll() {
    // Taken out first: a table that runs a handler while it is detached
    // finds it already gone from the list.
    const std::vector<std::shared_ptr<Slot>> slots = std::exchange(slots_, {});
    for (const std::shared_ptr<Slot>& slot : slots) {
        slot->attached = false;
        slot->table->off(slot->id);
    }
}

int TableHandlers::attachedCount() const {
    return static_cast<int>(slots_.size());
}

Status TableHandlers::without(Table& table, const std::function<Status()>& body) {
    return pausing(table, std::nullopt, body);
}

Status TableHandlers::without(Table& table, TableEvent event, const std::function<Status()>& body) {
    return pausing(table, event, body);
}

Status TableHandlers::pausing(Table& table, std::optional<TableEvent> event,
                              const std::function<Status()>& body) {
    // The slots paused here are resumed here, even when `body` detaches them
    // (the holder may be emptied meanwhile, the slots stay alive).
    std::vector<std::shared_ptr<Slot>> paused;
    for (const std::shared_ptr<Slot>& slot : slots_) {
        if (slot->table == &table && (!event || slot->event == *event)) {
            ++slot->paused;
            paused.push_back(slot);
        }
    }
    const Status st = body();
    for (const std::shared_ptr<Slot>& slot : paused)
        --slot->paused;
    return st;
}

}  // namespace kolvio
