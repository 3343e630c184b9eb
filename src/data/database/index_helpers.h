// Making sure a table has the indexes the program relies on.
#pragma once

#include <string_view>

#include "data/status.h"
#include "data/table.h"

namespace kolvio {

// Whether `table` has an index called `name` (case-insensitive). A closed
// table is looked at through a handle of its own, so its master link, index
// selection, filter and handlers stay exactly as they were.
bool IndexExists(const Table& table, std::string_view name);

// Makes sure `table` has the index `name` over `fieldExpression` (one field,
// or several joined by "+") in the wanted direction. An index of that name
// with another expression or direction is deleted and added anew, and so is
// one that matches when `recreate` is set. Adding and deleting take exclusive
// access: the table is closed meanwhile and reopened (with its master link
// and order) when it was open, also when adding fails. `*created` tells
// whether an index was added.
Status EnsureIndex(Table& table, std::string_view name, std::string_view fieldExpression,
                   bool recreate = false, bool descending = false, bool* created = nullptr);

// True when two index expressions name the same fields in the same order,
// ignoring letter case and blanks around "+".
bool SameIndexExpression(std::string_view a, std::string_view b);

}  // namespace kolvio
