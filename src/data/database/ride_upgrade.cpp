#include "data/database/ride_upgrade.h"

#include <memory>

#include "data/database/schema.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/record_codec.h"
#include "data/dbf/record_reader.h"
#include "data/file.h"
#include "data/sql/sql_engine.h"
#include "data/table_rewrite.h"

namespace kolvio {

namespace {

Value FillValue(BackFill fill, const FieldLayout* date, const char* record) {
    switch (fill) {
        case BackFill::kYearOfDate: {
            const Value day =
                date ? DecodeField(*date, record, CodePage::kCp852, nullptr) : Value();
            return Value(day.isDate() ? day.asDate().year() : kZeroDateYear);
        }
        case BackFill::kZero:
            return Value(0);
        case BackFill::kFalse:
            return Value(false);
        case BackFill::kNone:
            break;
    }
    return Value();
}

// Writes the back-fill value of `column` into every live row of the staging
// table at `path`, in physical order, moving the gauge from 0 to 100.
Status BackFillColumn(const std::string& path, const UpgradeColumn& column, ShellFeedback& shell) {
    std::unique_ptr<DbfFile> table;
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(path, false, LockMode::kExclusive, &table));
    File out;
    KOLVIO_RETURN_IF_ERROR(File::Open(path, true, &out));
    const DbfHeader& header = table->header();
    const int target = FindField(header.fields, column.name);
    if (target < 0) {
        return Status::Invalid("Sloupec " + std::string(column.name) + " se do tabulky \"" +
                               BaseName(path) + "\" nepodařilo přidat.");
    }
    const int dateIndex = FindField(header.fields, "DATUM");
    const FieldLayout* date = dateIndex >= 0 ? &header.fields[dateIndex] : nullptr;
    const FieldLayout& field = header.fields[target];

    // The live rows are counted first, so that the gauge runs to 100.
    int64_t live = 0;
    RecordReader reader(*table);
    KOLVIO_RETURN_IF_ERROR(reader.forEach([&](const RecordBatch& batch) {
        for (uint32_t r = 0; r < batch.count; ++r)
            live += !batch.deleted(r);
        return Status::Ok();
    }));

    shell.showGauge(std::string(column.gaugeText));
    int shown = 0;
    int64_t i = 0;
    reader.setRange(0, header.recordCount);
    const Status st = reader.forEach([&](const RecordBatch& batch) -> Status {
        for (uint32_t r = 0; r < batch.count; ++r) {
            if (batch.deleted(r)) continue;
            char* record = batch.record(r);
            KOLVIO_RETURN_IF_ERROR(EncodeField(field, FillValue(column.fill, date, record), record,
                                               CodePage::kCp852, nullptr));
            // A single row is complete at once: the gauge stands at 100.
            const int percent = live <= 1 ? 100 : static_cast<int>(i * 100 / (live - 1));
            ++i;
            if (percent != shown) shell.setGauge(shown = percent);
        }
        return out.writeAt(header.headerLength + static_cast<uint64_t>(batch.first) * batch.length,
                           std::string_view(batch.data, batch.bytes()));
    });
    shell.hideGauge();
    return st;
}

}  // namespace

std::string UpgradeStagingName(const std::string& fileName) {
    std::string stem = fileName;
    const auto dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    return stem + ".kolvio-upgrade.dbf";
}

Status DodelejSloupec1(const Table& table, ShellFeedback& shell, std::vector<std::string>* added) {
    if (added) added->clear();
    const std::string path = ResolveInDirectory(table.directory(), table.fileName());
    const auto missingIn = [](const DbfFile& file) {
        std::vector<const UpgradeColumn*> missing;
        for (const UpgradeColumn& column : RideUpgradeColumns()) {
            if (FindField(file.header().fields, column.name) < 0) missing.push_back(&column);
        }
        return missing;
    };
    // An up-to-date table is only looked at, so it opens while others use it.
    std::unique_ptr<DbfFile> original;
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(path, false, LockMode::kShared, &original));
    if (missingIn(*original).empty()) return Status::Ok();
    // Nobody may change the table between the copy and the replacement.
    original.reset();
    KOLVIO_RETURN_IF_ERROR(DbfFile::Open(path, false, LockMode::kExclusive, &original));
    const std::vector<const UpgradeColumn*> missing = missingIn(*original);
    // The copy is made beside the file itself, so that a table reached
    // through a symbolic link is replaced where it lies and the link stays.
    const std::string target = RewriteTarget(path);
    if (!IsWritableFile(target)) {
        return Status::IoError("Tabulku \"" + target +
                               "\" je třeba doplnit o chybějící sloupce, ale je jen pro čtení. "
                               "Povolte do ní zápis a databázi otevřete znovu.");
    }
    const std::string dir = ParentDirectory(target);
    const std::string stagingName = UpgradeStagingName(BaseName(target));
    const std::string staging = JoinPath(dir, stagingName);
    // A staging copy left by an interrupted upgrade is simply made anew; the
    // rewrite removes it again when anything below fails.
    std::string headerBytes;
    KOLVIO_RETURN_IF_ERROR(ReadHeaderBytes(*original, &headerBytes));
    TableRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(*original, target, std::move(headerBytes), staging));
    KOLVIO_RETURN_IF_ERROR(rewrite.writeRecords({}));
    for (const UpgradeColumn* column : missing) {
        const std::string statement =
            "ALTER TABLE \"" + stagingName + "\" " + std::string(column->clause) + " ";
        KOLVIO_RETURN_IF_ERROR(sql::Execute(dir, statement));
        if (column->fill != BackFill::kNone) {
            KOLVIO_RETURN_IF_ERROR(BackFillColumn(staging, *column, shell));
        }
    }
    KOLVIO_RETURN_IF_ERROR(rewrite.commit());
    if (added) {
        for (const UpgradeColumn* column : missing)
            added->push_back(std::string(column->name));
    }
    return Status::Ok();
}

}  // namespace kolvio
