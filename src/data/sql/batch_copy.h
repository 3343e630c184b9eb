// Copying the rows of a result into a dBase table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/sql/result_set.h"
#include "data/status.h"

namespace kolvio::sql {

struct CopyReport {
    int64_t rows = 0;           // rows appended
    int64_t problemValues = 0;  // values left blank because they did not fit their field
    std::string firstProblem;   // message of the first such value
};

// Appends every row of `result` to the table dir/fileName. Fields are matched
// by name (case-insensitive); target fields without a result field stay
// blank. A value that does not fit its field (too long a text, too many
// digits, another kind) does not stop the copy: that field of that row is
// left blank and the value is counted. Text is written in the table's code
// page (that of its language byte) as it is, without any transliteration. The cursor of `result`
// does not move. Fails only when the table cannot be opened or written.
Status BatchCopy(const ResultSet& result, const std::string& dir, const std::string& fileName,
                 CopyReport* report);

// Whether `name` may name a table that a result is written into: a plain
// table name in the directory, "VYSLEDEK" or "VYSLEDEK.dbf". Refused with a
// Czech message: an empty name, a path (it would lie outside the
// directory), another extension than .dbf (a memo file, an index sidecar, a
// temporary file), dots or control characters.
Status CheckResultTableName(std::string_view name);

// Recreates the table `name` (see CheckResultTableName) in `dir` with exactly
// the result's field definitions and no indexes, holding the table it
// replaces exclusively meanwhile (a table another handle or program has open
// is refused with kLocked). The rows go to a new file that replaces the old
// table only when all of it is on disk: on any failure, a full disk
// included, the old table stays byte for byte and no temporary file is left.
// Values that do not fit their field are counted as BatchCopy does.
Status CopyToNewTable(const ResultSet& result, const std::string& dir, const std::string& name,
                      CopyReport* report);

}  // namespace kolvio::sql
