#include "data/sql/batch_copy.h"

#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/engine_settings.h"
#include "data/file.h"
#include "data/table.h"

namespace kolvio::sql {

Status BatchCopy(const ResultSet& result, const std::string& dir, const std::string& fileName,
                 CopyReport* report) {
    *report = CopyReport();
    const std::string path = ResolveInDirectory(dir, fileName);
    std::unique_ptr<DbfFile> file;
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(path, true, LockMode::kShared, &file));
    const std::vector<FieldLayout>& target = file->header().fields;
    // mapping[t] = result field written to target field t, or -1.
    std::vector<int> mapping;
    for (const FieldLayout& f : target)
        mapping.push_back(FindField(result.fields(), f.name));
    const CodePage page = file->header().languageDriver == kLanguageCp852
                              ? CodePage::kCp852
                              : CodePageOfDriver(EngineDriverSettings().languageDriver);

    std::string record(file->recordLength(), ' ');
    for (int64_t row = 0; row < result.size(); ++row) {
        std::fill(record.begin(), record.end(), ' ');
        for (size_t t = 0; t < target.size(); ++t) {
            if (mapping[t] < 0) continue;
            const Status st = EncodeField(target[t], result.valueAt(row, mapping[t]), record.data(),
                                          page, nullptr);
            if (st.ok()) continue;
            if (report->problemValues++ == 0) report->firstProblem = st.message();
            EncodeField(target[t], Value(), record.data(), page, nullptr);
        }
        uint32_t recno = 0;
        KOLVIO_RETURN_IF_ERROR(file->appendRecord(record, &recno));
        ++report->rows;
    }
    return Status::Ok();
}

Status CopyToNewTable(const ResultSet& result, const std::string& dir, const std::string& fileName,
                      CopyReport* report) {
    *report = CopyReport();
    KOLVIO_RETURN_IF_ERROR(Table::Create(dir, fileName, result.fieldDefs()));
    return BatchCopy(result, dir, fileName, report);
}

}  // namespace kolvio::sql
