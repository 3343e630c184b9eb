// Recursive-descent parser of the local SQL dialect.
//
//   statement  := select | alter [";"]
//   select     := SELECT [DISTINCT] item {"," item} FROM table {"," table}
//                 [WHERE expr] [GROUP BY expr {"," expr}] [HAVING expr]
//                 [ORDER BY expr [ASC|DESC] {"," ...}]
//   item       := "*" | expr [[AS] name]
//   table      := (name ["." DBF] | "quoted file name") [[AS] alias]
//   alter      := ALTER TABLE table ADD [COLUMN] name type
//   type       := INTEGER | INT | SMALLINT | BOOLEAN | LOGICAL | DATE
//               | FLOAT(w,d) | NUMERIC(w,d) | DECIMAL(w,d) | CHAR(n) | VARCHAR(n)
//   expr       := or;  or := and {OR and};  and := not {AND not}
//   not        := NOT not | predicate
//   predicate  := sum [cmp sum | [NOT] BETWEEN sum AND sum
//                      | [NOT] IN "(" expr {"," expr} ")" | IS [NOT] NULL]
//   sum        := product {(+|-) product};  product := unary {(*|/) unary}
//   unary      := "-" unary | primary
//   primary    := number | string | TRUE | FALSE | column | agg "(" ... ")" | "(" expr ")"
//   column     := name ["." name ["." name]]   (a middle "DBF" belongs to the table)
//
// Keywords are case-insensitive. A double-quoted text names a table in FROM and
// ALTER TABLE and is a text literal everywhere else; quoted "file.dbf".column
// is accepted as a qualified column.
#pragma once

#include <string_view>

#include "data/sql/parser/ast.h"

namespace kolvio::sql {

// Throws SqlError with the place of the first problem.
Statement ParseStatement(std::string_view text);

// True for words that cannot be an alias without AS.
bool IsReservedWord(std::string_view word);

}  // namespace kolvio::sql
