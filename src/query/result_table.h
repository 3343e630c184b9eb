// Writing the rows of a select into a work table of the program (VYSLEDEK
// for the result viewer, pomocne for the extremes).
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
#include <string>
#include <string_view>

#include "data/status.h"

namespace kolvio {

struct ResultTableReport {
    int64_t rows = 0;
    int64_t problemValues = 0;
    std::string firstProblem;
};

Status WriteResultTable(const std::string& dataDir, std::string_view statement,
                        const std::string& fileName, ResultTableReport* report);

}  // namespace kolvio
