#include "data/dbf/dbf_file.h"

#include <algorithm>
#include <ctime>

namespace kolvio {

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr char kTerminator = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr size_t kMaxFields = 1024;

uint16_t Get16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) |
                                 (static_cast<uint8_t>(b[at + 1]) << 8));
}

uint32_t Get32(std::string_view b, size_t at) {
    return static_cast<uint32_t>(Get16(b, at)) | (static_cast<uint32_t>(Get16(b, at + 2)) << 16);
}

void Put16(std::string* b, size_t at, uint16_t v) {
    (*b)[at] = static_cast<char>(v & 0xFF);
    (*b)[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string* b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

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

void Today(int* y, int* m, int* d) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    *y = tm.tm_year + 1900;
    *m = tm.tm_mon + 1;
    *d = tm.tm_mday;
}

std::string Damaged(const std::string& path, const std::string& why) {
    return "Tabulka \"" + path + "\" je poškozená (" + why +
           "). Obnovte ji ze zálohy nebo ji nechte zkontrolovat příkazem kolvio-db check.";
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

Status DbfFile::Open(const std::string& path, bool writable, LockMode lock,
                     std::unique_ptr<DbfFile>* out) {
    File file;
    // A rewrite may replace the file between our open and our lock; the
    // lock then holds the old file, which nobody reads any more. Open again.
    for (int attempt = 0;; ++attempt) {
        Status st = File::Open(path, writable, &file);
        if (st.code() == Status::Code::kNotFound) {
            return Status::NotFound("Tabulka \"" + path + "\" neexistuje.");
        }
        KOLVIO_RETURN_IF_ERROR(st);
        KOLVIO_RETURN_IF_ERROR(file.lock(lock));
        if (attempt == 3 || file.isAt(path)) break;
    }
    std::unique_ptr<DbfFile> dbf(new DbfFile(path, std::move(file), writable));
    KOLVIO_RETURN_IF_ERROR(dbf->refresh());
    *out = std::move(dbf);
    return Status::Ok();
}

Status DbfFile::refresh() {
    uint64_t size = 0;
    KOLVIO_RETURN_IF_ERROR(file_.size(&size));
    if (size < kHeaderSize) return Status::Corrupt(Damaged(path_, "chybí hlavička"));
    std::string fixed(kHeaderSize, '\0');
    KOLVIO_RETURN_IF_ERROR(file_.readAt(0, kHeaderSize, fixed.data()));
    const uint64_t headerLength = std::min<uint64_t>(Get16(fixed, 8), size);
    std::string bytes(std::max<uint64_t>(headerLength, kHeaderSize), '\0');
    KOLVIO_RETURN_IF_ERROR(file_.readAt(0, bytes.size(), bytes.data()));
    // The size is checked against the count as it is after the count was
    // read: a writer puts each record down before the count that takes it
    // in, so a size taken earlier may miss a record the count already has.
    KOLVIO_RETURN_IF_ERROR(file_.size(&size));
    return ParseHeader(path_, bytes, size, &header_);
}

Status DbfFile::Create(const std::string& path, const DbfHeader& header) {
    FileRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(path));
    std::string bytes = SerializeHeader(header);
    bytes.push_back(kEndOfFile);
    KOLVIO_RETURN_IF_ERROR(rewrite.file().writeAt(0, bytes));
    return rewrite.commit();
}

Status DbfFile::readRecords(uint32_t first, uint32_t count, char* out) const {
    if (static_cast<uint64_t>(first) + count > header_.recordCount) {
        return Status::Invalid("Záznam mimo rozsah tabulky \"" + path_ + "\".");
    }
    const uint64_t offset =
        header_.headerLength + static_cast<uint64_t>(first) * header_.recordLength;
    return file_.readAt(offset, static_cast<size_t>(count) * header_.recordLength, out);
}

Status DbfFile::readRecord(uint32_t recno, std::string* out) const {
    out->resize(header_.recordLength);
    return readRecords(recno, 1, out->data());
}

Status DbfFile::writeRecord(uint32_t recno, std::string_view bytes) {
    if (recno >= header_.recordCount || bytes.size() != header_.recordLength) {
        return Status::Invalid("Záznam mimo rozsah tabulky \"" + path_ + "\".");
    }
    return rewriteInPlace(
        header_.headerLength + static_cast<uint64_t>(recno) * header_.recordLength, bytes);
}

Status DbfFile::countInFile(uint32_t* count) const {
    char bytes[4];
    KOLVIO_RETURN_IF_ERROR(file_.readAt(4, sizeof bytes, bytes));
    const uint32_t n = Get32(std::string_view(bytes, sizeof bytes), 0);
    uint64_t size = 0;
    KOLVIO_RETURN_IF_ERROR(file_.size(&size));
    if (header_.headerLength + static_cast<uint64_t>(n) * header_.recordLength > size) {
        return Status::Corrupt(Damaged(path_, "soubor je kratší, než udává počet záznamů"));
    }
    *count = n;
    return Status::Ok();
}

Status DbfFile::appendRecord(std::string_view bytes, uint32_t* recno) {
    if (bytes.size() != header_.recordLength) {
        return Status::Invalid("Záznam nemá délku tabulky \"" + path_ + "\".");
    }
    RangeLock lock(file_, 0, kHeaderSize);
    KOLVIO_RETURN_IF_ERROR(lock.acquire());
    uint32_t count = 0;
    KOLVIO_RETURN_IF_ERROR(countInFile(&count));
    if (count == UINT32_MAX) return Status::Invalid("Tabulka \"" + path_ + "\" je plná.");
    const uint64_t offset =
        header_.headerLength + static_cast<uint64_t>(count) * header_.recordLength;
    std::string withEof(bytes);
    withEof.push_back(kEndOfFile);
    // What the file held where the record goes, to put back should the
    // append fail half way (a full disk): the count then matches the file.
    uint64_t oldSize = 0;
    KOLVIO_RETURN_IF_ERROR(file_.size(&oldSize));
    std::string oldTail(static_cast<size_t>(std::min<uint64_t>(
                            oldSize > offset ? oldSize - offset : 0, withEof.size())),
                        '\0');
    KOLVIO_RETURN_IF_ERROR(file_.readAt(offset, oldTail.size(), oldTail.data()));
    // Putting back is best effort: the failure that called for it is the
    // one the caller must hear of.
    const auto undo = [&](const Status& failure) {
        (void)file_.truncate(oldSize);
        if (!oldTail.empty()) (void)file_.writeAt(offset, oldTail);
        return failure;
    };
    // The record lands before the count that makes it visible: a crash in
    // between leaves an uncounted record, never a counted garbage one.
    if (const Status st = file_.writeAt(offset, withEof); !st.ok()) return undo(st);
    Today(&header_.updateYear, &header_.updateMonth, &header_.updateDay);
    std::string b(7, '\0');
    b[0] = static_cast<char>((header_.updateYear - 1900) & 0xFF);
    b[1] = static_cast<char>(header_.updateMonth);
    b[2] = static_cast<char>(header_.updateDay);
    Put32(&b, 3, count + 1);
    if (const Status st = file_.writeAt(1, b); !st.ok()) {
        // A count written in part would make a garbage row visible.
        std::string was(4, '\0');
        Put32(&was, 0, count);
        (void)file_.writeAt(4, was);
        return undo(st);
    }
    header_.recordCount = count + 1;
    *recno = count;
    return Status::Ok();
}

Status DbfFile::markDeleted(uint32_t recno, bool deleted) {
    if (recno >= header_.recordCount) {
        return Status::Invalid("Záznam mimo rozsah tabulky \"" + path_ + "\".");
    }
    return rewriteInPlace(
        header_.headerLength + static_cast<uint64_t>(recno) * header_.recordLength,
        deleted ? "*" : " ");
}

// A write that fails part way (a short write, an I/O error) would leave a
// row half old and half new; the bytes it replaces are read first and put
// back, so that a failed change leaves the old row. The same happens when
// the date cannot follow, so that an error always means the row is as it was.
Status DbfFile::rewriteInPlace(uint64_t offset, std::string_view bytes) {
    std::string old(bytes.size(), '\0');
    KOLVIO_RETURN_IF_ERROR(file_.readAt(offset, old.size(), old.data()));
    Status st = file_.writeAt(offset, bytes);
    if (st.ok()) st = touchDate();
    if (st.failed()) (void)file_.writeAt(offset, old);
    return st;
}

Status DbfFile::followAppends(Growth* growth) {
    *growth = Growth::kNone;
    uint32_t count = 0;
    const Status st = countInFile(&count);
    if (!st.ok() || count < header_.recordCount) {
        *growth = Growth::kOther;
        return refresh();
    }
    if (count > header_.recordCount) {
        header_.recordCount = count;
        *growth = Growth::kAppended;
    }
    return Status::Ok();
}

// Only the date of the last change: the count belongs to appendRecord(),
// which reads it from the file under the lock.
Status DbfFile::touchDate() {
    Today(&header_.updateYear, &header_.updateMonth, &header_.updateDay);
    std::string b(3, '\0');
    b[0] = static_cast<char>((header_.updateYear - 1900) & 0xFF);
    b[1] = static_cast<char>(header_.updateMonth);
    b[2] = static_cast<char>(header_.updateDay);
    return file_.writeAt(1, b);
}

}  // namespace kolvio
