// The .dbf file: opening it under a lock, reading its fixed-length records
// and changing them in place or by appending, each change leaving either
// the new record or the old one. The header's layout is in dbf_header.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/dbf/dbf_header.h"
#include "data/file.h"
#include "data/status.h"

namespace kolvio {

class DbfFile {
public:
    // Opens an existing table file. `lock` is taken at once and held until
    // the object is destroyed; kExclusive fails when any other handle has it.
    static Status Open(const std::string& path, bool writable, LockMode lock,
                       std::unique_ptr<DbfFile>* out);
    // Writes a new empty table file (replacing any file of that name).
    static Status Create(const std::string& path, const DbfHeader& header);

    const std::string& path() const { return path_; }
    const DbfHeader& header() const { return header_; }
    uint32_t recordCount() const { return header_.recordCount; }
    uint16_t recordLength() const { return header_.recordLength; }
    bool writable() const { return writable_; }

    // Reads `count` whole records starting at `first` into `out`
    // (count * recordLength bytes). The range must lie within recordCount().
    Status readRecords(uint32_t first, uint32_t count, char* out) const;
    Status readRecord(uint32_t recno, std::string* out) const;
    // Rewrites a record in place; the record count in the file is left alone.
    // On failure the record is left as it was (see rewriteInPlace()).
    Status writeRecord(uint32_t recno, std::string_view bytes);
    // Appends a record at the true end of the file. Under a short exclusive
    // lock of the header, shared with every other handle of every process,
    // the count is read from the file, the record and the end-of-file mark
    // are written after the last record, then the new count; so two writers
    // never write the same record and no count goes backwards. `*recno` is
    // the record's number; records of other writers before it are counted
    // from now on too.
    Status appendRecord(std::string_view bytes, uint32_t* recno);
    // Sets the deletion flag of one record.
    Status markDeleted(uint32_t recno, bool deleted);
    // Rereads the header from the file (another handle may have appended).
    Status refresh();

    // What followAppends() found.
    enum class Growth { kNone, kAppended, kOther };
    // Looks at the record count in the file: records appended by other
    // handles (kAppended) become readable; any other change of the count
    // (a table emptied by another program) rereads the header (kOther).
    Status followAppends(Growth* growth);

private:
    DbfFile(std::string path, File file, bool writable)
        : path_(std::move(path)), file_(std::move(file)), writable_(writable) {}
    // The record count as it stands in the file, checked against its size.
    Status countInFile(uint32_t* count) const;
    Status rewriteInPlace(uint64_t offset, std::string_view bytes);
    Status touchDate();

    std::string path_;
    File file_;
    bool writable_;
    DbfHeader header_;
};

}  // namespace kolvio
