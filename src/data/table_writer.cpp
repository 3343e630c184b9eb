#include "data/table_writer.h"

#include "data/dbf/memo_file.h"
#include "data/dbf/record_codec.h"
#include "data/index/index_def.h"

namespace kolvio {

namespace {

// Records are written in blocks small enough to be still in the core's
// cache when the kernel copies them into the file's pages.
constexpr size_t kBlockBytes = 256 << 10;

std::string BlankRecord(const DbfHeader& header) {
    std::string row(header.recordLength, ' ');
    for (const FieldLayout& f : header.fields) {
        if (f.type == FieldType::kInteger) std::fill_n(row.begin() + f.offset, 4, '\0');
    }
    return row;
}

}  // namespace

TableWriter::TableWriter() = default;
TableWriter::~TableWriter() = default;

Status TableWriter::begin(const std::string& path, const std::vector<FieldDef>& fields) {
    KOLVIO_RETURN_IF_ERROR(MakeHeader(fields, &header_));
    sidecar_ = IndexSidecarPath(path);
    if (header_.hasMemoFields()) {
        KOLVIO_RETURN_IF_ERROR(memoFile_.begin(MemoFile::PathFor(path)));
        KOLVIO_RETURN_IF_ERROR(WriteEmptyMemoFile(memoFile_.file()));
        KOLVIO_RETURN_IF_ERROR(MemoFile::Open(memoFile_.tempPath(), true, false, &memo_));
    }
    KOLVIO_RETURN_IF_ERROR(table_.begin(path));
    offset_ = header_.headerLength;
    record_ = BlankRecord(header_);
    return Status::Ok();
}

Status TableWriter::setValue(int field, const Value& value) {
    return EncodeField(header_.fields.at(field), value, record_.data(), CodePage::kCp852,
                       memo_.get());
}

void TableWriter::setNull(int field) {
    // Null is written as blanks, which every field takes.
    (void)EncodeField(header_.fields.at(field), Value(), record_.data(), CodePage::kCp852, nullptr);
}

Status TableWriter::addRecord() {
    if (header_.recordCount == UINT32_MAX) return Status::Invalid("Tabulka by byla příliš velká.");
    block_ += record_;
    record_ = BlankRecord(header_);
    ++header_.recordCount;
    return block_.size() >= kBlockBytes ? flush() : Status::Ok();
}

Status TableWriter::flush() {
    KOLVIO_RETURN_IF_ERROR(table_.file().writeAt(offset_, block_));
    offset_ += block_.size();
    block_.clear();
    return Status::Ok();
}

Status TableWriter::commit() {
    block_.push_back('\x1A');
    KOLVIO_RETURN_IF_ERROR(flush());
    KOLVIO_RETURN_IF_ERROR(table_.file().writeAt(0, SerializeHeader(header_)));
    if (memo_) {
        memo_.reset();
        KOLVIO_RETURN_IF_ERROR(commitWithMemo());
    } else {
        KOLVIO_RETURN_IF_ERROR(table_.commit());
    }
    // A new table starts without indexes. Definitions the replaced table
    // left cannot hurt the new one (an index is built from the rows when it
    // is used, one of a field the table lacks is ignored), so failing to
    // remove them does not undo a result that is already in place.
    (void)WriteIndexDefs(sidecar_, {});
    return Status::Ok();
}

// The memo file takes its place first, then the table. Until the table is
// in place the old memo file stays linked under another name: should the
// table fail to take its place, the old memo file comes back, so the old
// table never points into the new memo file.
Status TableWriter::commitWithMemo() {
    const std::string memoPath = memoFile_.target();
    const std::string kept = memoPath + ".kolvio-old";
    const bool hadMemo = PathExists(memoPath);
    if (hadMemo) {
        KOLVIO_RETURN_IF_ERROR(RemoveFile(kept));
        KOLVIO_RETURN_IF_ERROR(LinkFile(memoPath, kept));
    }
    Status st = memoFile_.commit();
    if (st.ok()) {
        st = table_.commit();
        // Best effort: the commit's failure is the one to report.
        if (!st.ok() && hadMemo) (void)RenameFile(kept, memoPath);
    }
    // A leftover link is only a stray file, which the next commit replaces.
    if (hadMemo) (void)RemoveFile(kept);
    return st;
}

}  // namespace kolvio
