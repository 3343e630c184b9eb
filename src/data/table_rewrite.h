// Whole-file changes of a table: every one goes through TableRewrite.
#pragma once

#include <functional>
#include <string>

#include "data/dbf/field_def.h"
#include "data/dbf/record_reader.h"
#include "data/file.h"
#include "data/status.h"

namespace kolvio {

class DbfFile;

// A table file written anew beside the old one, then put in its place.
//
// Packing, adding a column, the code-page conversion and the staging copy of
// the ride-table upgrade are all this: begin() creates the temporary file
// (refusing a read-only table, following symbolic links), writeRecords()
// passes every record of the source through a per-batch transform and
// writes the header with the count of records written and the end-of-file
// mark, commit() makes the file durable and replaces the table atomically
// with its mode and owner. Destroyed without a successful commit(), it
// removes the temporary file: whatever fails, only the old table remains.
class TableRewrite {
public:
    // Appends the new file's records made from one batch of source records
    // to `out` (the batch's bytes may be changed in place).
    using Transform = std::function<Status(const RecordBatch& batch, std::string* out)>;

    // Starts the new file for the table `source` at `path`. `headerBytes`
    // is the new file's header (its record count is set by writeRecords());
    // bytes 10..11 give the length of the new records. `tempPath` names the
    // temporary file when it must have a known name; empty, the usual name
    // beside the table.
    Status begin(const DbfFile& source, const std::string& path, std::string headerBytes,
                 const std::string& tempPath = {});
    // Writes every record of the source through `transform` (empty: as
    // they are), then the header and the end-of-file mark, and closes the
    // new file. It is complete but not yet in the table's place.
    Status writeRecords(const Transform& transform);
    Status commit() { return file_.commit(); }
    const std::string& tempPath() const { return file_.tempPath(); }

private:
    FileRewrite file_;
    const DbfFile* source_ = nullptr;
    std::string header_;
};

// The header bytes of the table file as they stand (padding included).
Status ReadHeaderBytes(const DbfFile& table, std::string* out);

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
