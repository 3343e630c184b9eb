// Writing the rows of a select into a work table of the program (VYSLEDEK
// for the result viewer, pomocne for the extremes), or rows put together by
// the program (the extremes' VYSLEDEK).
//
// The table is recreated with exactly the result's field definitions and no
// indexes, and the rows are copied in result order. It is replaced safely:
//  - a statement the engine refuses leaves the table as it was (the rows
//    are only written once the statement has been accepted);
//  - a table another program or window has open is refused with a Czech
//    message, and nothing is touched;
//  - the rows go to a temporary file beside the table, which replaces it
//    only when every row is written; on any failure the previous table is
//    byte-identical and the temporary file is gone.
// A value that does not fit its field does not stop the copy: that field of
// that row stays blank and the value is counted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/status.h"
#include "data/value.h"

namespace kolvio {

struct ResultTableReport {
    int64_t rows = 0;
    int64_t problemValues = 0;
    std::string firstProblem;
};

// Sees the result's fields and each row as it is written (the extremes rank
// the rides of pomocne this way instead of reading it back).
struct ResultObserver {
    std::function<void(const std::vector<FieldDef>& fields)> fields;
    std::function<void(const std::vector<Value>& row)> row;
};

Status WriteResultTable(const std::string& dataDir, std::string_view statement,
                        const std::string& fileName, ResultTableReport* report,
                        const ResultObserver* observer = nullptr);

// The same safe replacement for rows the program puts together itself:
// `produce` hands each row (one value per field, in field order) to the
// writer it gets; an error it returns abandons the write like any other
// failure, leaving the previous table as it was.
using RowWriter = std::function<Status(const std::vector<Value>& values)>;
Status WriteRowsTable(const std::string& dataDir, const std::string& fileName,
                      const std::vector<FieldDef>& fields,
                      const std::function<Status(const RowWriter& write)>& produce,
                      ResultTableReport* report);

}  // namespace kolvio
