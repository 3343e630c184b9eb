#include "lists/list_rule.h"

#include "data/database/database.h"
#include "lists/list_rules.h"

namespace kolvio {

namespace {

Value ValueOf(const RowValues& values, std::string_view field) {
    for (const auto& [name, value] : values) {
        if (name == field) return value;
    }
    return Value();
}

bool IsEmpty(const Value& value) {
    return value.isNull() || (value.isText() && value.asText().empty());
}

// The values of `fields` in the current row of `table`.
RowValues CurrentValues(const Table& table, const std::vector<const char*>& fields) {
    RowValues out;
    for (const char* field : fields)
        out.emplace_back(field, table.value(field));
    return out;
}

}  // namespace

ListRule::ListRule(const ListDescription& list, Database& db, Rider& rider)
    : list_(list), table_((db.*list.table)()), rides_(db.Table1()), rider_(rider) {}

bool ListRule::told(const Status& status) {
    if (status.failed()) rider_.fail(status);
    return !status.ok();
}

bool ListRule::react(const Reaction& reaction, std::string_view field) {
    switch (reaction.kind) {
        case Reaction::Kind::kNone:
            return true;
        case Reaction::Kind::kRefuse:
            rider_.warn(reaction.text);
            rider_.returnTo(field);
            return false;
        case Reaction::Kind::kAsk:
            return rider_.confirm(reaction.text);
    }
    return true;
}

std::optional<bool> ListRule::occurs(std::string_view field, const Value& value) {
    bool found = false;
    if (told(ValueOccurs(table_, field, value, 1, &found))) return std::nullopt;
    return found;
}

std::optional<bool> ListRule::usedInRides() {
    bool used = false;
    if (told(UsedInRides(rides_, list_.rideField, table_.getInt(list_.codeField), &used))) {
        return std::nullopt;
    }
    return used;
}

std::optional<bool> ListRule::duplicated(const Uniqueness& u, const RowValues& values, int n,
                                         bool matchCase) {
    if (u.emptyMayRepeat) {
        bool allEmpty = true;
        for (const char* field : u.fields)
            allEmpty = allEmpty && IsEmpty(ValueOf(values, field));
        if (allEmpty) return false;
    }
    bool found = false;
    Status st;
    if (u.fields.size() == 2) {
        st = PairOccurs(table_, u.fields[0], ValueOf(values, u.fields[0]), u.fields[1],
                        ValueOf(values, u.fields[1]), n, &found);
    } else if (matchCase) {
        st = CountInView(table_, u.fields[0], ValueOf(values, u.fields[0]), n, &found);
    } else {
        st = ValueOccurs(table_, u.fields[0], ValueOf(values, u.fields[0]), n, &found);
    }
    if (told(st)) return std::nullopt;
    return found;
}

// --- deleting ------------------------------------------------------------

bool ListRule::mayDelete() {
    if (!table_.isOpen() || table_.isEmpty()) return false;
    const Removal& r = list_.removal;
    const auto keep = [&] {
        if (table_.recordCount() > r.keepRows) return true;
        rider_.warn(r.keepText);
        return false;
    };
    const auto reserved = [&] {
        if (!r.reservedCode || table_.getInt(list_.codeField) != *r.reservedCode) return true;
        rider_.warn(r.reservedText);
        return false;
    };
    if (r.reservedFirst ? !reserved() || !keep() : !keep() || !reserved()) return false;
    const std::optional<bool> used = usedInRides();
    if (!used) return false;
    if (*used) {
        rider_.warn(r.usedText);
        return false;
    }
    return rider_.confirm(r.question);
}

bool ListRule::deleteCurrent() {
    return mayDelete() && !told(table_.deleteRecord());
}

// --- adding --------------------------------------------------------------

bool ListRule::mayAdd(const RowValues& values) {
    for (const char* field : list_.required.fields) {
        if (!IsEmpty(ValueOf(values, field))) continue;
        if (!react(list_.required.onAdd, field)) return false;
        break;  // asked once for all of them
    }
    for (const Uniqueness& u : list_.unique) {
        const std::optional<bool> found = duplicated(u, values, 1, false);
        if (!found) return false;
        if (*found && !react(u.onAdd, u.fields[0])) return false;
    }
    if (list_.perMaster > 0 && table_.recordCount() > list_.perMaster - 1) {
        rider_.warn(list_.fullText);
        return false;
    }
    return true;
}

bool ListRule::confirmAdd() {
    return rider_.confirm(kAddQuestion);
}

Status ListRule::add(const RowValues& values, RowEdit& row) {
    int64_t code = 0;
    if (list_.masterField) {
        const int64_t master = ValueOf(values, list_.masterField).asInt();
        KOLVIO_RETURN_IF_ERROR(NextFreeCode(table_, list_.codeField, master * 100 + 1,
                                            master * 100 + list_.perMaster, &code));
    } else {
        KOLVIO_RETURN_IF_ERROR(NextFreeCode(table_, list_.codeField, &code));
    }
    row.append().set(list_.codeField, Value(code));
    for (const auto& [field, value] : values)
        row.set(field, value);
    return row.commit();
}

// --- changing ------------------------------------------------------------

void ListRule::attachChangeChecks(TableHandlers& handlers, std::function<void()> flush) {
    handlers_ = &handlers;
    flush_ = std::move(flush);
    handlers.attach(table_, TableEvent::kBeforePost, [this](Table& t) { return beforePost(t); });
    handlers.attach(table_, TableEvent::kAfterPost, [this](Table& t) { return afterPost(t); });
}

Status ListRule::beforePost(Table& table) {
    // New rows are the adding screens' business.
    if (table.state() != DatasetState::kEdit) return Status::Ok();
    if (flush_) flush_();
    const auto refuse = [&table] {
        table.cancel();
        return Status::Aborted();
    };
    for (const char* field : list_.required.fields) {
        if (!table.getString(field).empty()) continue;
        if (!react(list_.required.onChange, field)) return refuse();
        break;
    }
    const char* question = list_.changeQuestion;
    if (list_.changeQuestionWhenUsed) {
        const std::optional<bool> used = usedInRides();
        if (!used) return refuse();
        if (*used) question = list_.changeQuestionWhenUsed;
    }
    return rider_.confirm(question) ? Status::Ok() : refuse();
}

Status ListRule::afterPost(Table& table) {
    writtenBack_ = false;
    for (const Uniqueness& u : list_.unique) {
        const std::optional<bool> found =
            duplicated(u, CurrentValues(table, u.fields), 2, u.changeMatchesCase);
        if (!found) break;
        if (!*found || react(u.onChange, u.fields[0])) continue;
        // The row as it was before the change, with no check of its own.
        writtenBack_ = true;
        told(handlers_->without(table, [&table] { return WriteBackOldRow(table); }));
        break;
    }
    return Status::Ok();
}

}  // namespace kolvio
