#include "data/table_rewrite.h"

#include <algorithm>
#include <memory>

#include "data/codepage.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"

namespace kolvio {

namespace {

constexpr size_t kCopyBlockBytes = 4 << 20;
constexpr char kEndOfFile = 0x1A;

// Writes the rewritten table to `tmp`: the new header, then every record
// with the new field's blank bytes appended.
Status WriteWithNewField(const DbfFile& old, const DbfHeader& header, File& out) {
    const std::string head = SerializeHeader(header);
    KOLVIO_RETURN_IF_ERROR(out.writeAt(0, head));

    const FieldLayout& added = header.fields.back();
    std::string blank(header.recordLength, ' ');
    KOLVIO_RETURN_IF_ERROR(EncodeField(added, Value(), blank.data(), CodePage::kCp852, nullptr));
    const std::string_view addedBytes(blank.data() + added.offset,
                                      static_cast<size_t>(added.length));

    const size_t oldLen = old.recordLength();
    const size_t newLen = header.recordLength;
    const uint32_t perBlock = static_cast<uint32_t>(std::max<size_t>(1, kCopyBlockBytes / oldLen));
    std::string in(static_cast<size_t>(perBlock) * oldLen, '\0');
    std::string block;
    uint64_t at = head.size();
    for (uint32_t first = 0; first < old.recordCount(); first += perBlock) {
        const uint32_t n = std::min(perBlock, old.recordCount() - first);
        KOLVIO_RETURN_IF_ERROR(old.readRecords(first, n, in.data()));
        block.clear();
        block.reserve(static_cast<size_t>(n) * newLen);
        for (uint32_t r = 0; r < n; ++r) {
            // The old bytes as they are (flag, fields, memo block numbers), the
            // new field after the old fields, then any padding the old record had.
            const char* rec = in.data() + static_cast<size_t>(r) * oldLen;
            const size_t fieldsEnd = static_cast<size_t>(added.offset);
            block.append(rec, fieldsEnd);
            block.append(addedBytes);
            block.append(rec + fieldsEnd, oldLen - fieldsEnd);
        }
        KOLVIO_RETURN_IF_ERROR(out.writeAt(at, block));
        at += block.size();
    }
    return out.writeAt(at, std::string(1, kEndOfFile));
}

}  // namespace

Status AddColumn(const std::string& dir, const std::string& fileName, const FieldDef& def) {
    const std::string path = ResolveInDirectory(dir, fileName);
    std::unique_ptr<DbfFile> old;
    Status st = DbfFile::Open(path, false, LockMode::kExclusive, &old);
    if (st.code() == Status::Code::kLocked) {
        return Status::Locked("Tabulku \"" + BaseName(path) +
                              "\" má otevřenou jiný program nebo okno; sloupec " + def.name +
                              " nelze přidat, dokud ji nezavře.");
    }
    KOLVIO_RETURN_IF_ERROR(st);
    const DbfHeader& oldHeader = old->header();
    if (FindField(oldHeader.fields, def.name) >= 0) {
        return Status::Invalid("Tabulka \"" + BaseName(path) + "\" už má sloupec " +
                               ToUpperAscii(def.name) + ".");
    }

    std::vector<FieldDef> fields(oldHeader.fields.begin(), oldHeader.fields.end());
    fields.push_back(def);
    DbfHeader header;
    KOLVIO_RETURN_IF_ERROR(MakeHeader(fields, &header));
    // Fields sit one after another; a record longer than its fields (some
    // tools pad) keeps its padding after the new field.
    const int newLength = static_cast<int>(oldHeader.recordLength) + header.fields.back().length;
    if (newLength > 65535) {
        return Status::Invalid("Záznam tabulky \"" + BaseName(path) + "\" by byl příliš dlouhý.");
    }
    header.recordLength = static_cast<uint16_t>(newLength);
    header.version = oldHeader.version;
    header.languageDriver = oldHeader.languageDriver;
    header.productionIndex = 0;
    header.recordCount = oldHeader.recordCount;

    FileRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(path));
    KOLVIO_RETURN_IF_ERROR(WriteWithNewField(*old, header, rewrite.file()));
    return rewrite.commit();
}

}  // namespace kolvio
