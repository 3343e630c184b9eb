// Writing a table anew beside the old file, record batch by record batch.
//
// The whole-file changes of the database lifecycle (code page conversion,
// the staging copy of an upgrade) share this: the new file gets the old
// header bytes (as changed by the caller) and every record, each batch passed
// through `transform`, then the end-of-file mark. Nothing is made durable
// here; the rewrite's commit does that when the file takes the old one's place.
#pragma once

#include <functional>
#include <string>

#include "data/dbf/dbf_file.h"
#include "data/status.h"

namespace kolvio {

// The header bytes of the table file as they stand (padding included).
Status ReadHeaderBytes(const DbfFile& table, std::string* out);

// Writes `headerBytes` and the records of `source` to the new file `out`.
// `transform` gets each batch of `count` whole records and may change them in
// place; it may be empty.
Status WriteTableCopy(const DbfFile& source, const std::string& headerBytes, File& out,
                      const std::function<void(char* records, uint32_t count)>& transform);

}  // namespace kolvio
