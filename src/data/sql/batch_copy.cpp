#include "data/sql/batch_copy.h"

#include <memory>

#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/engine_settings.h"
#include "data/file.h"
#include "data/sql/binder/catalog.h"
#include "data/table.h"
#include "data/table_writer.h"

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
            (void)EncodeField(target[t], Value(), record.data(), page, nullptr);  // a blank always fits
        }
        uint32_t recno = 0;
        KOLVIO_RETURN_IF_ERROR(file->appendRecord(record, &recno));
        ++report->rows;
    }
    return Status::Ok();
}

Status CheckResultTableName(std::string_view name) {
    if (name.empty()) {
        return Status::Invalid(
            "Název tabulky pro výsledek je prázdný. Zadejte název tabulky, "
            "například vysledek.dbf.");
    }
    const std::string shown(name);
    if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos) {
        return Status::Invalid("Výsledek lze zapsat jen do tabulky v adresáři databáze; \"" +
                               shown +
                               "\" je cesta. Zadejte jen název tabulky, například vysledek.dbf.");
    }
    const std::string_view base = TableBaseName(name);
    for (const char c : base) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '.') {
            return Status::Invalid(
                "\"" + shown +
                "\" není název tabulky (jediná povolená přípona je .dbf, tečky ani řídicí znaky v "
                "názvu být nesmějí). Zadejte například vysledek.dbf.");
        }
    }
    if (base.empty()) {
        return Status::Invalid("\"" + shown +
                               "\" není název tabulky. Zadejte například vysledek.dbf.");
    }
    return Status::Ok();
}

Status CopyToNewTable(const ResultSet& result, const std::string& dir, const std::string& name,
                      CopyReport* report) {
    *report = CopyReport();
    KOLVIO_RETURN_IF_ERROR(CheckResultTableName(name));
    const std::string path = ResolveInDirectory(dir, TableFileName(name));
    // The table being replaced is held exclusively, as every whole-file
    // change holds it, until the new one has taken its place.
    File held;
    if (PathExists(path)) {
        KOLVIO_RETURN_IF_ERROR(File::Open(path, false, &held));
        KOLVIO_RETURN_IF_ERROR(held.lock(LockMode::kExclusive));
    }
    TableWriter writer;
    KOLVIO_RETURN_IF_ERROR(writer.begin(path, result.fieldDefs()));
    const std::vector<FieldLayout>& target = writer.fields();
    for (int64_t row = 0; row < result.size(); ++row) {
        for (size_t f = 0; f < target.size(); ++f) {
            const Status st =
                writer.setValue(static_cast<int>(f), result.valueAt(row, static_cast<int>(f)));
            if (st.ok()) continue;
            if (report->problemValues++ == 0) report->firstProblem = st.message();
            writer.setNull(static_cast<int>(f));
        }
        KOLVIO_RETURN_IF_ERROR(writer.addRecord());
    }
    KOLVIO_RETURN_IF_ERROR(writer.commit());
    report->rows = result.size();
    return Status::Ok();
}

}  // namespace kolvio::sql
