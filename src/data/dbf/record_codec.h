// Reading and writing field values inside a record's bytes.
//
// Text is stored in a single-byte code page and padded with blanks; it reads
// back as UTF-8 without the trailing blanks, so an empty text reads as "".
// Blank numbers, dates and logicals read as null, and null is written as blanks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/codepage.h"
#include "data/dbf/field_def.h"
#include "data/status.h"
#include "data/value.h"

namespace kolvio {

class MemoFile;

// Decodes one field. `memo` may be null; memo fields then read as null.
Value DecodeField(const FieldLayout& field, const char* record, CodePage page,
                  const MemoFile* memo);

// Fast path for numeric, date and logical fields: the value as a double
// (dates as day numbers, logicals as 0/1), nullopt for null.
std::optional<double> DecodeNumber(const FieldLayout& field, const char* record);

// The raw bytes of a field with trailing blanks removed (no code page applied).
std::string_view RawField(const FieldLayout& field, const char* record);

// Encodes `value` into the record. A value that does not fit the field (too
// many digits, wrong kind) fails with an error naming the field and leaves the
// record unchanged. Memo values are written to `memo` (required then).
Status EncodeField(const FieldLayout& field, const Value& value, char* record, CodePage page,
                   MemoFile* memo);

// Formats a number for an N/F field of the given width and decimals; nullopt
// when even without decimals it does not fit.
std::optional<std::string> FormatNumberField(double value, int width, int decimals);
// The same into out[0..width), which is left alone when it does not fit.
bool FormatNumberInto(double value, int width, int decimals, char* out);

}  // namespace kolvio
