#include "data/dbf/field_def.h"

namespace kolvio {

bool IsKnownFieldType(char letter) {
    switch (letter) {
        case 'C':
        case 'N':
        case 'F':
        case 'D':
        case 'L':
        case 'M':
        case 'B':
        case 'I':
            return true;
        default:
            return false;
    }
}

bool IsNumericType(FieldType t) {
    return t == FieldType::kNumeric || t == FieldType::kFloat || t == FieldType::kInteger;
}

bool IsMemoType(FieldType t) {
    return t == FieldType::kMemo || t == FieldType::kBlob;
}

FieldDef FieldDef::Char(std::string name, int length) {
    return {std::move(name), FieldType::kChar, length, 0};
}
FieldDef FieldDef::Numeric(std::string name, int length, int decimals) {
    return {std::move(name), FieldType::kNumeric, length, decimals};
}
FieldDef FieldDef::Float(std::string name, int length, int decimals) {
    return {std::move(name), FieldType::kFloat, length, decimals};
}
FieldDef FieldDef::DateField(std::string name) {
    return {std::move(name), FieldType::kDate, 8, 0};
}
FieldDef FieldDef::Logical(std::string name) {
    return {std::move(name), FieldType::kLogical, 1, 0};
}
FieldDef FieldDef::Blob(std::string name) {
    return {std::move(name), FieldType::kBlob, 10, 0};
}
FieldDef FieldDef::Memo(std::string name) {
    return {std::move(name), FieldType::kMemo, 10, 0};
}
FieldDef FieldDef::Integer(std::string name) {
    return {std::move(name), FieldType::kInteger, 4, 0};
}

namespace {
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

std::string ToUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = UpperAscii(c);
    return out;
}

int FindField(const std::vector<FieldLayout>& fields, std::string_view name) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (EqualsIgnoreCase(fields[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kolvio
