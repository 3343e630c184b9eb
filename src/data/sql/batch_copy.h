// Copying the rows of a result into a dBase table.
#pragma once

#include <cstdint>
#include <string>

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

// Recreates dir/fileName with exactly the result's field definitions and no
// indexes (an existing table of that name is replaced), then copies the rows.
Status CopyToNewTable(const ResultSet& result, const std::string& dir, const std::string& fileName,
                      CopyReport* report);

}  // namespace kolvio::sql
