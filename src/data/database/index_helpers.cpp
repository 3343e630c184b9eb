#include "data/database/index_helpers.h"

#include <optional>

#include "data/dbf/field_def.h"

namespace kolvio {

namespace {

std::optional<IndexDef> FindIndexDef(const Table& table, std::string_view name) {
    std::vector<IndexDef> defs;
    if (table.isOpen()) {
        defs = table.indexDefs();
    } else {
        Table probe(table.directory(), table.fileName());
        if (!probe.open().ok()) return std::nullopt;
        defs = probe.indexDefs();
    }
    for (IndexDef& def : defs) {
        if (EqualsIgnoreCase(def.name, name)) return std::move(def);
    }
    return std::nullopt;
}

// Runs `change` on an exclusive handle of the table's file while the table
// itself is closed, then reopens the table when it was open.
template <typename Change>
Status WithExclusiveAccess(Table& table, Change change) {
    const bool wasOpen = table.isOpen();
    const bool wasExclusive = table.isExclusive();
    table.close();
    Status st;
    {
        Table exclusive(table.directory(), table.fileName());
        st = exclusive.open(true);
        if (st.ok()) st = change(exclusive);
    }
    if (wasOpen) {
        const Status reopened = table.open(wasExclusive);
        if (st.ok()) st = reopened;
    }
    return st;
}

}  // namespace

bool SameIndexExpression(std::string_view a, std::string_view b) {
    const auto left = SplitIndexExpression(a);
    const auto right = SplitIndexExpression(b);
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (!EqualsIgnoreCase(left[i], right[i])) return false;
    }
    return true;
}

bool IndexExists(const Table& table, std::string_view name) {
    return FindIndexDef(table, name).has_value();
}

Status EnsureIndex(Table& table, std::string_view name, std::string_view fieldExpression,
                   bool recreate, bool descending, bool* created) {
    if (created) *created = false;
    const std::optional<IndexDef> existing = FindIndexDef(table, name);
    if (existing && !recreate && existing->descending == descending &&
        SameIndexExpression(existing->expression, fieldExpression)) {
        return Status::Ok();
    }
    const IndexDef wanted{std::string(name), std::string(fieldExpression), descending};
    KOLVIO_RETURN_IF_ERROR(WithExclusiveAccess(table, [&](Table& exclusive) {
        if (exclusive.hasIndex(name)) KOLVIO_RETURN_IF_ERROR(exclusive.deleteIndex(name));
        return exclusive.addIndex(wanted);
    }));
    if (created) *created = true;
    return Status::Ok();
}

}  // namespace kolvio
