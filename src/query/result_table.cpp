#include "query/result_table.h"

#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/file.h"
#include "data/sql/sql_engine.h"
#include "data/table_writer.h"

namespace kolvio {

namespace {

// Adds one row of the result; a value that does not fit its field leaves
// that field blank and is counted instead of stopping the copy.
Status AddRow(TableWriter& writer, const std::vector<Value>& values, ResultTableReport* report) {
    const size_t fields = writer.fields().size();
    for (size_t f = 0; f < fields && f < values.size(); ++f) {
        const Status st = writer.setValue(static_cast<int>(f), values[f]);
        if (st.ok()) continue;
        if (report->problemValues++ == 0) report->firstProblem = st.message();
        writer.setNull(static_cast<int>(f));
    }
    if (writer.recordCount() == UINT32_MAX) {
        return Status::Invalid("Výsledek dotazu má více řádků, než pojme tabulka.");
    }
    KOLVIO_RETURN_IF_ERROR(writer.addRecord());
    ++report->rows;
    return Status::Ok();
}

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

// Puts the written table in place of the old one (the old one's sort
// indexes go with it); after a failure (`result`) the writer leaves the old
// table as it was and removes what it wrote.
Status Finish(TableWriter& writer, Status result, ResultTableReport* report) {
    if (result.ok()) result = writer.commit();
    if (!result.ok()) *report = ResultTableReport();
    return result;
}

}  // namespace

Status WriteResultTable(const std::string& dataDir, std::string_view statement,
                        const std::string& fileName, ResultTableReport* report,
                        const ResultObserver* observer) {
    *report = ResultTableReport();
    const std::string path = ResolveInDirectory(dataDir, fileName);
    std::unique_ptr<DbfFile> old;
    KOLVIO_RETURN_IF_ERROR(HoldOldTable(path, &old));

    TableWriter writer;
    Status written = Status::Ok();
    const Status st = sql::QueryEach(
        dataDir, statement,
        [&](const std::vector<FieldDef>& fields) {
            written = writer.begin(path, fields);
            if (observer && observer->fields) observer->fields(fields);
        },
        [&](const std::vector<Value>& values) {
            if (!written.ok()) return;
            written = AddRow(writer, values, report);
            if (written.ok() && observer && observer->row) observer->row(values);
        });
    return Finish(writer, st.ok() ? written : st, report);
}

Status WriteRowsTable(const std::string& dataDir, const std::string& fileName,
                      const std::vector<FieldDef>& fields,
                      const std::function<Status(const RowWriter& write)>& produce,
                      ResultTableReport* report) {
    *report = ResultTableReport();
    const std::string path = ResolveInDirectory(dataDir, fileName);
    std::unique_ptr<DbfFile> old;
    KOLVIO_RETURN_IF_ERROR(HoldOldTable(path, &old));

    TableWriter writer;
    Status result = writer.begin(path, fields);
    if (result.ok()) {
        result = produce(
            [&](const std::vector<Value>& values) { return AddRow(writer, values, report); });
    }
    return Finish(writer, result, report);
}

}  // namespace kolvio
