#include "data/dbf/dbf_file.h"

#include <algorithm>

#include "data/dbf/dbf_bytes.h"

namespace kolvio {

using dbf::Damaged;
using dbf::Get16;
using dbf::Get32;
using dbf::kEndOfFile;
using dbf::kHeaderSize;
using dbf::Put32;
using dbf::Today;

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
