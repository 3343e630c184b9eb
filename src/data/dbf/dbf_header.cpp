#include "data/dbf/dbf_header.h"

#include "data/dbf/dbf_bytes.h"

namespace kolvio {

using dbf::Damaged;
using dbf::Get16;
using dbf::Get32;
using dbf::kDescriptorSize;
using dbf::kHeaderSize;
using dbf::kTerminator;
using dbf::Put16;
using dbf::Put32;
using dbf::Today;

namespace {

constexpr size_t kMaxFields = 1024;

bool IsAcceptedVersion(uint8_t v) {
    // dBase III and IV/5 tables, with or without memo files.
    return v == 0x03 || v == 0x83 || v == 0x8B || v == 0xCB || v == 0x04;
}

bool ValidName(const std::string& name) {
    if (name.empty() || name.size() > 10) return false;
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return name[0] < '0' || name[0] > '9';
}

// The width rules a field must follow, whether we write it or read it.
std::string CheckFieldShape(const FieldDef& f) {
    const int len = f.length;
    switch (f.type) {
        case FieldType::kChar:
            if (len < 1 || len > 254) return "délka textového pole musí být 1 až 254";
            return "";
        case FieldType::kNumeric:
        case FieldType::kFloat:
            if (len < 1 || len > 32) return "šířka číselného pole musí být 1 až 32";
            if (f.decimals < 0 || (f.decimals > 0 && f.decimals > len - 2)) {
                return "počet desetinných míst se nevejde do šířky pole";
            }
            return "";
        case FieldType::kDate:
            return len == 8 ? "" : "datové pole musí mít délku 8";
        case FieldType::kLogical:
            return len == 1 ? "" : "logické pole musí mít délku 1";
        case FieldType::kMemo:
        case FieldType::kBlob:
            return len == 10 ? "" : "pole poznámky musí mít délku 10";
        case FieldType::kInteger:
            return len == 4 ? "" : "celočíselné pole musí mít délku 4";
    }
    return "neznámý typ pole";
}

}  // namespace

bool DbfHeader::hasMemoFields() const {
    for (const auto& f : fields) {
        if (IsMemoType(f.type)) return true;
    }
    return false;
}

Status MakeHeader(const std::vector<FieldDef>& fields, DbfHeader* out) {
    if (fields.empty()) return Status::Invalid("Tabulka musí mít alespoň jedno pole.");
    if (fields.size() > kMaxFields) return Status::Invalid("Tabulka má příliš mnoho polí.");
    DbfHeader h;
    int offset = 1;
    for (const FieldDef& def : fields) {
        FieldLayout f;
        static_cast<FieldDef&>(f) = def;
        f.name = ToUpperAscii(def.name);
        if (!ValidName(f.name)) {
            return Status::Invalid("Neplatný název pole \"" + def.name +
                                   "\" (nejvýše 10 písmen, číslic nebo podtržítek).");
        }
        if (FindField(h.fields, f.name) >= 0) {
            return Status::Invalid("Pole \"" + f.name + "\" je v tabulce dvakrát.");
        }
        const std::string problem = CheckFieldShape(f);
        if (!problem.empty()) return Status::Invalid("Pole \"" + f.name + "\": " + problem + ".");
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(f);
    }
    if (offset > 65535) return Status::Invalid("Záznam tabulky by byl delší než 65535 bajtů.");
    h.recordLength = static_cast<uint16_t>(offset);
    h.headerLength = static_cast<uint16_t>(kHeaderSize + kDescriptorSize * fields.size() + 1);
    h.version = h.hasMemoFields() ? kVersionDb4Memo : kVersionPlain;
    Today(&h.updateYear, &h.updateMonth, &h.updateDay);
    *out = std::move(h);
    return Status::Ok();
}

std::string SerializeHeader(const DbfHeader& h) {
    std::string b(h.headerLength, '\0');
    b[0] = static_cast<char>(h.version);
    b[1] = static_cast<char>((h.updateYear - 1900) & 0xFF);
    b[2] = static_cast<char>(h.updateMonth);
    b[3] = static_cast<char>(h.updateDay);
    Put32(&b, 4, h.recordCount);
    Put16(&b, 8, h.headerLength);
    Put16(&b, 10, h.recordLength);
    b[28] = static_cast<char>(h.productionIndex);
    b[29] = static_cast<char>(h.languageDriver);
    size_t at = kHeaderSize;
    for (const FieldLayout& f : h.fields) {
        for (size_t i = 0; i < f.name.size() && i < 10; ++i)
            b[at + i] = f.name[i];
        b[at + 11] = static_cast<char>(f.type);
        b[at + 16] = static_cast<char>(f.length);
        b[at + 17] = static_cast<char>(f.decimals);
        at += kDescriptorSize;
    }
    b[at] = kTerminator;
    return b;
}

Status ParseHeader(const std::string& path, std::string_view b, uint64_t fileSize, DbfHeader* out) {
    if (b.size() < kHeaderSize || fileSize < kHeaderSize) {
        return Status::Corrupt(Damaged(path, "chybí hlavička"));
    }
    DbfHeader h;
    h.version = static_cast<uint8_t>(b[0]);
    if (!IsAcceptedVersion(h.version)) {
        return Status::Corrupt("Soubor \"" + path +
                               "\" není tabulka dBase, kterou program umí číst.");
    }
    h.updateYear = 1900 + static_cast<uint8_t>(b[1]);
    h.updateMonth = static_cast<uint8_t>(b[2]);
    h.updateDay = static_cast<uint8_t>(b[3]);
    h.recordCount = Get32(b, 4);
    h.headerLength = Get16(b, 8);
    h.recordLength = Get16(b, 10);
    h.productionIndex = static_cast<uint8_t>(b[28]);
    h.languageDriver = static_cast<uint8_t>(b[29]);
    if (h.headerLength < kHeaderSize + 1 || h.headerLength > b.size()) {
        return Status::Corrupt(Damaged(path, "chybná délka hlavičky"));
    }
    if (h.recordLength < 1) return Status::Corrupt(Damaged(path, "chybná délka záznamu"));

    size_t at = kHeaderSize;
    int offset = 1;
    bool terminated = false;
    while (at < h.headerLength) {
        if (b[at] == kTerminator) {
            terminated = true;
            break;
        }
        if (at + kDescriptorSize > h.headerLength) break;
        FieldLayout f;
        const std::string_view raw = b.substr(at, 11);
        f.name = std::string(raw.substr(0, raw.find('\0')));
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        f.name = ToUpperAscii(f.name);
        const char type = b[at + 11];
        f.length = static_cast<uint8_t>(b[at + 16]);
        f.decimals = static_cast<uint8_t>(b[at + 17]);
        if (f.name.empty()) return Status::Corrupt(Damaged(path, "pole bez názvu"));
        if (!IsKnownFieldType(type)) {
            return Status::Corrupt("Tabulka \"" + path + "\" má pole \"" + f.name + "\" typu '" +
                                   std::string(1, type) + "', který program nepodporuje.");
        }
        f.type = static_cast<FieldType>(type);
        const std::string problem = CheckFieldShape(f);
        if (!problem.empty())
            return Status::Corrupt(Damaged(path, "pole " + f.name + ": " + problem));
        // Fields are found by name: with two of one name, every reader would
        // silently take the first.
        if (FindField(h.fields, f.name) >= 0) {
            return Status::Corrupt(Damaged(path, "pole " + f.name + " je v tabulce dvakrát"));
        }
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(std::move(f));
        if (h.fields.size() > kMaxFields)
            return Status::Corrupt(Damaged(path, "příliš mnoho polí"));
        at += kDescriptorSize;
    }
    if (!terminated || h.fields.empty()) {
        return Status::Corrupt(Damaged(path, "chybí popis polí"));
    }
    if (offset > h.recordLength) {
        return Status::Corrupt(Damaged(path, "pole přesahují délku záznamu"));
    }
    const uint64_t needed = static_cast<uint64_t>(h.headerLength) +
                            static_cast<uint64_t>(h.recordCount) * h.recordLength;
    if (needed > fileSize) {
        return Status::Corrupt(Damaged(path, "soubor je kratší, než udává počet záznamů"));
    }
    *out = std::move(h);
    return Status::Ok();
}

}  // namespace kolvio
