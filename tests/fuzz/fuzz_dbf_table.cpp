// libFuzzer harness: any bytes as a table file (.dbf), opened and read the
// way the screens read it, and decoded field by field the way the SQL engine
// and the checker read it.
//
// Guarantees checked on every input:
//  - opening either succeeds or fails with a message that names the file;
//  - every row the table counts can be walked to, forwards and backwards;
//  - a text or date read from a field stores back as the same bytes, so an
//    edit of one field never changes the characters of another;
//  - reading writes nothing: the file is byte for byte what it was.
// Seeds: corpus/dbf_table.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/table.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace kolvio;
using fuzz::Require;

void CheckFieldsStoreBack(const DbfFile& file) {
    std::string record, copy;
    for (uint32_t recno = 0; recno < file.recordCount(); ++recno) {
        Require(file.readRecord(recno, &record).ok(), "a counted record can be read");
        for (const FieldLayout& field : file.header().fields) {
            const Value value = DecodeField(field, record.data(), CodePage::kCp852, nullptr);
            if (field.type != FieldType::kChar && field.type != FieldType::kDate) continue;
            if (field.type == FieldType::kDate && value.isNull()) continue;
            copy = record;
            Require(EncodeField(field, value, copy.data(), CodePage::kCp852, nullptr).ok(),
                    "a value read from a field can be stored in it");
            Require(RawField(field, copy.data()) == RawField(field, record.data()),
                    "a text or date stores back as the same bytes");
        }
    }
}

void WalkTable(Table& table, const std::string& path) {
    const int64_t count = table.recordCount();
    int64_t walked = 0;
    for (; !table.eof(); ++walked) {
        for (int i = 0; i < static_cast<int>(table.fields().size()); ++i)
            (void)table.value(i);
        const Status st = table.next();
        if (!st.ok()) {
            Require(st.message().find(path) != std::string::npos, "a read error names the file");
            return;
        }
    }
    Require(walked == count, "every counted row is walked to");
    if (table.last().ok()) {
        while (!table.bof() && table.prior().ok()) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = fuzz::ScratchDir();
    const std::string path = dir + "/jizdy.dbf";
    const std::string_view bytes = fuzz::AsText(data, size);
    fuzz::WriteWholeFile(path, bytes);
    {
        std::unique_ptr<DbfFile> file;
        const Status st = DbfFile::Open(path, false, LockMode::kShared, &file);
        if (st.ok()) {
            CheckFieldsStoreBack(*file);
        } else {
            Require(st.message().find(path) != std::string::npos, "an opening error names the file");
        }
    }
    {
        Table table(dir, "jizdy.dbf");
        const Status st = table.open();
        if (st.ok()) {
            WalkTable(table, path);
        } else {
            Require(st.message().find(path) != std::string::npos, "an opening error names the file");
        }
    }
    Require(fuzz::ReadFile(path) == bytes, "reading a table writes nothing");
    return 0;
}
