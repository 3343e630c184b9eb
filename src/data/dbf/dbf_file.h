// The .dbf file: header, field descriptors and fixed-length records.
//
// Layout (all integers little endian):
//   0      version: 0x03 plain, 0x8B with a dBase IV-style memo file, 0x83 with
//          a dBase III memo file (read only)
//   1..3   date of last update: year - 1900, month, day
//   4..7   record count
//   8..9   header length (32 + 32 per field + 1, plus any padding)
//   10..11 record length (1 deletion byte + the field widths)
//   28     production index flag: always 0 here (our indexes live elsewhere)
//   29     language driver: 0x1F = code page 852
//   32...  32-byte field descriptors, then 0x0D
//   records: byte 0 is ' ' (live) or '*' (deleted), then the fields as text
//   0x1A after the last record (optional when reading)
// Every length and offset read from a file is checked before use; a file that
// does not add up is refused with an error that names it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/file.h"
#include "data/status.h"

namespace kolvio {

constexpr uint8_t kLanguageCp852 = 0x1F;
constexpr uint8_t kVersionPlain = 0x03;
constexpr uint8_t kVersionDb4Memo = 0x8B;
constexpr uint8_t kVersionDb3Memo = 0x83;

struct DbfHeader {
    uint8_t version = kVersionPlain;
    int updateYear = 1900, updateMonth = 1, updateDay = 1;
    uint32_t recordCount = 0;
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
    uint8_t productionIndex = 0;
    uint8_t languageDriver = kLanguageCp852;
    std::vector<FieldLayout> fields;

    bool hasMemoFields() const;
};

// Builds a header for a new table: offsets, lengths, version and language.
// Fails for a field list that dBase cannot hold (bad names, widths, too long).
Status MakeHeader(const std::vector<FieldDef>& fields, DbfHeader* out);
// The header bytes as written to the file, terminator included.
std::string SerializeHeader(const DbfHeader& header);
// Parses and checks the header at the start of `bytes` against the file size.
Status ParseHeader(const std::string& path, std::string_view bytes, uint64_t fileSize,
                   DbfHeader* out);

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
