// The rules the four reference lists share: choosing the code of a new row
// and testing whether a value already occurs (or is used by a ride).
//
// The tests read the stored rows through a handle of their own on the
// table's file, so the shared dataset they are asked about keeps its current
// row, ordering, filter and master/detail link, and a row it is editing or
// inserting stays pending (it is not stored, hence not counted). Only the
// view-bound tests (CountInView, and ValueOccurs on a detail table) walk
// the dataset itself; they put its cursor back and refuse to run while it is
// being edited, because moving the cursor would store the row.
//
// Codes are whole numbers in numeric columns; a blank code reads as 0.
// Every function returns the store's error when a file cannot be read.
#pragma once

#include <cstdint>
#include <string_view>

#include "data/dataset.h"
#include "data/status.h"
#include "data/table.h"
#include "data/value.h"

namespace kolvio {

// The code for a new row of `table`: the lowest free code above the lowest
// code in use, or the highest code + 1 when the codes leave no hole; 1 for
// an empty table. Codes below the lowest one in use are never reused. All
// stored rows count, whatever the dataset's filter or master range.
Status NextFreeCode(Table& table, std::string_view codeField, int64_t* code);

// The same among the codes from `low` to `high`: the result is never below
// `low` (an empty range gives `low`), but `high` is not checked; callers keep
// the number of rows of a range below its size.
Status NextFreeCode(Table& table, std::string_view codeField, int64_t low, int64_t high,
                    int64_t* code);

// Whether at least `n` rows (n is 1 or 2) hold `value` in `field`. Text
// compares without regard to letter case (accents count) and without
// trailing blanks; an empty text matches an empty field. Numbers compare by
// value. n = 2 is asked after a change was stored, when the changed row is
// one of the rows holding the value: true means another row holds it too.
// A detail table answers for the rows of its current master only.
Status ValueOccurs(Table& table, std::string_view field, const Value& value, int n, bool* occurs);

// Whether at least `n` rows hold both values (compared as in ValueOccurs).
// Bikes are identified by type and make, watch types by abbreviation and
// description.
Status PairOccurs(Table& table, std::string_view field1, const Value& value1,
                  std::string_view field2, const Value& value2, int n, bool* occurs);

// Whether at least `n` rows of the dataset's current view (filter, master
// range) hold exactly `value` in `field`: text compares character for
// character, letter case included. The current row is kept.
// REQUIRES: the dataset is open and not being edited.
Status CountInView(Dataset& dataset, std::string_view field, const Value& value, int n,
                   bool* occurs);

// Whether a ride refers to the reference row with `code` through the
// same-named code field of the rides table (TRS_C, KOL_C, TRNZ_C, TRN_C,
// THL_C).
Status UsedInRides(Table& rides, std::string_view codeField, int64_t code, bool* used);

// Turns the direction of every ride of route `routeCode` around (1 <-> 2;
// any other direction stays), storing each ride in turn. The rides table is
// ordered by its index TRS_C meanwhile (created when missing) and gets its
// ordering and current row back. `*changed` counts the rides stored.
// REQUIRES: the rides table is open and not being edited.
Status FlipRideDirections(Table& rides, int64_t routeCode, int* changed = nullptr);

}  // namespace kolvio
