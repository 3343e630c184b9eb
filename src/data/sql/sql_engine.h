// Local SQL over the dBase tables of one directory: the boundary the screens
// and kolvio-db call. Nothing here throws; every failure is a Status whose
// Czech message names the problem and, when it lies in the statement text,
// its line and column.
//
// Statements:
//   SELECT ... FROM ... [WHERE] [GROUP BY] [HAVING] [ORDER BY]   (parser/parser.h)
//   ALTER TABLE "file.dbf" ADD [COLUMN] name type
//       INTEGER N(11,0), SMALLINT N(6,0), BOOLEAN L, DATE D,
//       FLOAT(w,d) F(w,d), NUMERIC(w,d) N(w,d), CHAR(n) C(n)
// A refused statement changes nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/sql/result_set.h"
#include "data/status.h"

namespace kolvio::sql {

// One statement text from the lines the query screens keep.
std::string JoinStatementLines(const std::vector<std::string>& lines);

// Runs a SELECT and keeps all its rows. Refuses other statements.
Status Query(const std::string& directory, std::string_view text, std::unique_ptr<ResultSet>* out);

// Runs any statement. For a SELECT `*out` receives the rows (when `out` is
// given); for ALTER TABLE it is reset.
Status Execute(const std::string& directory, std::string_view text,
               std::unique_ptr<ResultSet>* out = nullptr);

// Runs a SELECT handing the rows one by one to `row` without keeping them
// (except where sorting or DISTINCT needs them); `begin` gets the result's
// field definitions before the first row. Refuses other statements.
Status QueryEach(const std::string& directory, std::string_view text,
                 const std::function<void(const std::vector<FieldDef>&)>& begin,
                 const std::function<void(const std::vector<Value>&)>& row);

// Runs any statement; for a SELECT like QueryEach, for ALTER TABLE without
// calling either function.
Status ExecuteEach(const std::string& directory, std::string_view text,
                   const std::function<void(const std::vector<FieldDef>&)>& begin,
                   const std::function<void(const std::vector<Value>&)>& row);

// The dBase field that ALTER TABLE creates for a type name as written,
// e.g. "Integer" -> N(11,0); for tests and the database upgrade.
Status ColumnDefinition(std::string_view name, std::string_view type, FieldDef* out);

}  // namespace kolvio::sql
