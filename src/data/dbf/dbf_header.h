// The header of a .dbf file: its fields and field descriptors, made for a
// new table, written, and parsed and checked when a file is opened.
//
// Layout of the file (all integers little endian):
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
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf/field_def.h"
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

}  // namespace kolvio
