// Field definitions of a dBase table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvio {

// dBase field type letters. The program writes C, N, F, D, L and B; it also
// reads M (memo text) and I (4-byte binary integer) from tables of other tools.
enum class FieldType : char {
    kChar = 'C',
    kNumeric = 'N',
    kFloat = 'F',
    kDate = 'D',
    kLogical = 'L',
    kMemo = 'M',
    kBlob = 'B',
    kInteger = 'I',
};

bool IsKnownFieldType(char letter);
bool IsNumericType(FieldType t);  // N, F, I
bool IsMemoType(FieldType t);     // M, B

struct FieldDef {
    std::string name;  // upper case, at most 10 characters
    FieldType type = FieldType::kChar;
    int length = 0;
    int decimals = 0;

    static FieldDef Char(std::string name, int length);
    static FieldDef Numeric(std::string name, int length, int decimals);
    static FieldDef Float(std::string name, int length, int decimals);
    static FieldDef DateField(std::string name);
    static FieldDef Logical(std::string name);
    static FieldDef Blob(std::string name);
    static FieldDef Memo(std::string name);
    static FieldDef Integer(std::string name);

    bool operator==(const FieldDef&) const = default;
};

// A field with its byte offset inside a record (the deletion flag is byte 0).
struct FieldLayout : FieldDef {
    int offset = 0;
};

// Case-insensitive ASCII comparison, as dBase compares field and file names.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);

// Index of the field named `name` (case-insensitive), or -1.
int FindField(const std::vector<FieldLayout>& fields, std::string_view name);

}  // namespace kolvio
