// Writing a query result into a work table of the database directory, as
// kolvio-db sql --into does with the table the user names. The program's
// own work tables "VYSLEDEK.dbf" and "pomocne.dbf" are such tables too. The
// six tables of the database can never be the target: their rows would be
// replaced by the result. Neither can anything that is not a plain table
// name (sql::CheckResultTableName): a memo file, an index sidecar, a path
// outside the directory.
#pragma once

#include <string>
#include <string_view>

#include "data/sql/batch_copy.h"
#include "data/sql/result_set.h"
#include "data/status.h"

namespace kolvio {

// Whether a result may be written into the table `name` of a database.
Status CheckResultTarget(std::string_view name);

// Replaces (or creates) the table `name` in `dir` with the rows of `result`,
// as sql::CopyToNewTable does, after CheckResultTarget.
Status ReplaceWithResult(const sql::ResultSet& result, const std::string& dir,
                         std::string_view name, sql::CopyReport* report);

}  // namespace kolvio
