// Index definitions and the sidecar file that keeps them beside a table.
//
// dBase tools keep indexes in .mdx/.ndx files; we keep only the definitions,
// in "<table>.kix" beside the table (a name no dBase tool reads), and build the
// contents in memory on first use. The table's production-index byte stays 0,
// so other programs never look for an index file of ours.
//
// Sidecar format, UTF-8 text:
//   KOLVIO-INDEX 1
//   <name> TAB <expression> TAB <A|D>      one line per index
// A file that does not parse is ignored as a whole (never trusted) and
// rewritten with the next change of the definitions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/status.h"

namespace kolvio {

struct IndexDef {
    std::string name;        // e.g. "DELKA", "_DELKA"
    std::string expression;  // one field, or several joined by "+"
    bool descending = false;

    bool operator==(const IndexDef&) const = default;
};

// Field names of an expression "A+B+C", trimmed.
std::vector<std::string> SplitIndexExpression(std::string_view expression);

// Path of the sidecar file for the table file at `tablePath`.
std::string IndexSidecarPath(const std::string& tablePath);

// Reads the definitions; a missing or damaged file gives an empty list.
std::vector<IndexDef> ReadIndexDefs(const std::string& sidecarPath);
// Writes the definitions atomically; an empty list removes the file.
Status WriteIndexDefs(const std::string& sidecarPath, const std::vector<IndexDef>& defs);

}  // namespace kolvio
