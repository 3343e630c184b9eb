#include "data/table_rewrite.h"

#include <memory>

#include "data/codepage.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"

namespace kolvio {

namespace {

constexpr char kEndOfFile = 0x1A;

void Put32(std::string* bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        (*bytes)[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

Status ReadHeaderBytes(const DbfFile& table, std::string* out) {
    File file;
    KOLVIO_RETURN_IF_ERROR(File::Open(table.path(), false, &file));
    out->assign(table.header().headerLength, '\0');
    return file.readAt(0, out->size(), out->data());
}

Status TableRewrite::begin(const DbfFile& source, const std::string& path, std::string headerBytes,
                           const std::string& tempPath) {
    source_ = &source;
    header_ = std::move(headerBytes);
    return file_.begin(path, tempPath);
}

Status TableRewrite::writeRecords(const Transform& transform) {
    const size_t length = header_.size() < 32
                              ? 0
                              : static_cast<uint8_t>(header_[10]) |
                                    static_cast<size_t>(static_cast<uint8_t>(header_[11])) << 8;
    if (length == 0) {
        return Status::Invalid("Nová hlavička tabulky \"" + source_->path() + "\" je neúplná.");
    }
    File& out = file_.file();
    uint64_t at = header_.size();
    uint64_t written = 0;
    std::string block;
    RecordReader reader(*source_);
    KOLVIO_RETURN_IF_ERROR(reader.forEach([&](const RecordBatch& batch) -> Status {
        std::string_view bytes(batch.data, batch.bytes());
        if (transform) {
            block.clear();
            KOLVIO_RETURN_IF_ERROR(transform(batch, &block));
            bytes = block;
        }
        KOLVIO_RETURN_IF_ERROR(out.writeAt(at, bytes));
        at += bytes.size();
        written += bytes.size();
        return Status::Ok();
    }));
    if (written % length != 0) {
        return Status::Invalid("Přepis tabulky \"" + source_->path() +
                               "\" nevytvořil celé záznamy; tabulka zůstává, jak byla.");
    }
    // The header goes in last, with the count of what was written.
    Put32(&header_, 4, static_cast<uint32_t>(written / length));
    KOLVIO_RETURN_IF_ERROR(out.writeAt(at, std::string(1, kEndOfFile)));
    KOLVIO_RETURN_IF_ERROR(out.writeAt(0, header_));
    out.close();
    return Status::Ok();
}

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

    // The old bytes as they are (flag, fields, memo block numbers), the new
    // field after the old fields, then any padding the old record had.
    const FieldLayout& added = header.fields.back();
    std::string blank(header.recordLength, ' ');
    KOLVIO_RETURN_IF_ERROR(EncodeField(added, Value(), blank.data(), CodePage::kCp852, nullptr));
    const std::string_view addedBytes(blank.data() + added.offset,
                                      static_cast<size_t>(added.length));
    const size_t fieldsEnd = static_cast<size_t>(added.offset);
    TableRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(*old, path, SerializeHeader(header)));
    KOLVIO_RETURN_IF_ERROR(
        rewrite.writeRecords([&](const RecordBatch& batch, std::string* out) -> Status {
            out->reserve(static_cast<size_t>(batch.count) * header.recordLength);
            for (uint32_t r = 0; r < batch.count; ++r) {
                const char* rec = batch.record(r);
                out->append(rec, fieldsEnd);
                out->append(addedBytes);
                out->append(rec + fieldsEnd, batch.length - fieldsEnd);
            }
            return Status::Ok();
        }));
    return rewrite.commit();
}

}  // namespace kolvio
