// Whole-file changes of a table's structure.
#pragma once

#include <string>

#include "data/dbf/field_def.h"
#include "data/status.h"

namespace kolvio {

// Appends the field `def` to the table dir/fileName (file names match
// without regard to case). Every record keeps its bytes, its deletion flag
// and its memo references; the new field is blank (null) in all of them.
// The header keeps its version and language byte, so a table still in an
// old code page is recognised as such afterwards.
//
// Needs exclusive access: fails with kLocked while any other handle has the
// table open. The new file is written beside the old one and replaces it
// atomically; on any failure the table is left as it was. Fails with
// kInvalid when a field of that name exists or the record would get too long.
Status AddColumn(const std::string& dir, const std::string& fileName, const FieldDef& def);

}  // namespace kolvio
