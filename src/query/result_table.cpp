#include "query/result_table.h"

#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/file.h"
#include "data/index/index_def.h"
#include "data/sql/sql_engine.h"

namespace kolvio {

namespace {

constexpr size_t kBlockBytes = 4 << 20;
constexpr char kEndOfFile = 0x1A;

// The new table, written front to back into the temporary file.
class TableWriter {
public:
    explicit TableWriter(std::string path) : path_(std::move(path)) {}

    Status begin(const std::vector<FieldDef>& fields) {
        KOLVIO_RETURN_IF_ERROR(MakeHeader(fields, &header_));
        KOLVIO_RETURN_IF_ERROR(File::CreateNew(path_, &file_));
        created_ = true;
        head_ = SerializeHeader(header_);
        offset_ = head_.size();
        record_.assign(header_.recordLength, ' ');
        return Status::Ok();
    }

    Status row(const std::vector<Value>& values, ResultTableReport* report) {
        std::fill(record_.begin(), record_.end(), ' ');
        for (size_t f = 0; f < header_.fields.size() && f < values.size(); ++f) {
            const FieldLayout& field = header_.fields[f];
            const Status st =
                EncodeField(field, values[f], record_.data(), CodePage::kCp852, nullptr);
            if (st.ok()) continue;
            if (report->problemValues++ == 0) report->firstProblem = st.message();
            EncodeField(field, Value(), record_.data(), CodePage::kCp852, nullptr);
        }
        if (header_.recordCount == UINT32_MAX) {
            return Status::Invalid("Výsledek dotazu má více řádků, než pojme tabulka.");
        }
        block_ += record_;
        ++header_.recordCount;
        ++report->rows;
        return block_.size() >= kBlockBytes ? flush() : Status::Ok();
    }

    // The rows so far, the end mark and the header with the final count.
    Status finish() {
        block_.push_back(kEndOfFile);
        KOLVIO_RETURN_IF_ERROR(flush());
        head_ = SerializeHeader(header_);
        return file_.writeAt(0, head_);
    }

    void discard() {
        file_.close();
        if (created_) RemoveFile(path_);
    }

private:
    Status flush() {
        KOLVIO_RETURN_IF_ERROR(file_.writeAt(offset_, block_));
        offset_ += block_.size();
        block_.clear();
        return Status::Ok();
    }

    std::string path_;
    File file_;
    bool created_ = false;
    DbfHeader header_;
    std::string head_;
    std::string record_;
    std::string block_;
    uint64_t offset_ = 0;
};

// Holds the old table exclusively until the new one has replaced it, so
// nobody opens the old one meanwhile; refuses a table open elsewhere.
Status HoldOldTable(const std::string& path, std::unique_ptr<DbfFile>* old) {
    if (!PathExists(path)) return Status::Ok();
    const Status st = DbfFile::Open(path, false, LockMode::kExclusive, old);
    if (st.code() == Status::Code::kLocked) {
        return Status::Locked("Tabulku výsledku \"" + BaseName(path) +
                              "\" má otevřenou jiný program nebo okno.\nZavři ji tam a "
                              "spusť dotaz znovu.");
    }
    // A damaged old table is simply replaced.
    return Status::Ok();
}

// Puts the written table in place of the old one, or removes it after a
// failure (`result`).
Status Finish(TableWriter& writer, const std::string& path, Status result,
              ResultTableReport* report) {
    if (result.ok()) result = writer.finish();
    if (result.ok()) result = ReplaceFileAtomically(RewriteTempPath(path), path);
    if (!result.ok()) {
        writer.discard();
        *report = ResultTableReport();
        return result;
    }
    // The sort indexes of the previous table go with it.
    return WriteIndexDefs(IndexSidecarPath(path), {});
}

}  // namespace

Status WriteResultTable(const std::string& dataDir, std::string_view statement,
                        const std::string& fileName, ResultTableReport* report,
                        const ResultObserver* observer) {
    *report = ResultTableReport();
    const std::string path = ResolveInDirectory(dataDir, fileName);
    std::unique_ptr<DbfFile> old;
    KOLVIO_RETURN_IF_ERROR(HoldOldTable(path, &old));

    TableWriter writer(RewriteTempPath(path));
    Status written = Status::Ok();
    const Status st = sql::QueryEach(
        dataDir, statement,
        [&](const std::vector<FieldDef>& fields) {
            written = writer.begin(fields);
            if (observer && observer->fields) observer->fields(fields);
        },
        [&](const std::vector<Value>& values) {
            if (!written.ok()) return;
            written = writer.row(values, report);
            if (written.ok() && observer && observer->row) observer->row(values);
        });
    return Finish(writer, path, st.ok() ? written : st, report);
}

Status WriteRowsTable(const std::string& dataDir, const std::string& fileName,
                      const std::vector<FieldDef>& fields,
                      const std::function<Status(const RowWriter& write)>& produce,
                      ResultTableReport* report) {
    *report = ResultTableReport();
    const std::string path = ResolveInDirectory(dataDir, fileName);
    std::unique_ptr<DbfFile> old;
    KOLVIO_RETURN_IF_ERROR(HoldOldTable(path, &old));

    TableWriter writer(RewriteTempPath(path));
    Status result = writer.begin(fields);
    if (result.ok()) {
        result =
            produce([&](const std::vector<Value>& values) { return writer.row(values, report); });
    }
    return Finish(writer, path, result, report);
}

}  // namespace kolvio
