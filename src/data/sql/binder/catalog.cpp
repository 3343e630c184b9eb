#include "data/sql/binder/catalog.h"

#include "data/engine_settings.h"
#include "data/file.h"
#include "data/sql/sql_error.h"
#include "data/summary/summary_file.h"

namespace kolvio::sql {

namespace {

bool EndsWithDbf(std::string_view name) {
    return name.size() > 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".dbf");
}

}  // namespace

std::string TableFileName(std::string_view name) {
    return EndsWithDbf(name) ? std::string(name) : std::string(name) + ".dbf";
}

std::string_view TableBaseName(std::string_view name) {
    return EndsWithDbf(name) ? name.substr(0, name.size() - 4) : name;
}

DirectoryCatalog::DirectoryCatalog(std::string directory) : directory_(std::move(directory)) {}

CatalogTable* DirectoryCatalog::find(std::string_view name) {
    // A statement reads the tables of its directory only.
    if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos ||
        name == "." || name == "..") {
        return nullptr;
    }
    const std::string fileName = TableFileName(name);
    const std::string path = ResolveInDirectory(directory_, fileName);
    for (auto& t : open_) {
        if (t->path == path) return t.get();
    }
    auto table = std::make_unique<CatalogTable>();
    table->path = path;
    table->fileName = BaseName(path);
    const Status st = DbfFile::Open(path, false, LockMode::kShared, &table->file);
    if (st.code() == Status::Code::kNotFound || (!st.ok() && IsDirectory(path))) return nullptr;
    if (st.code() == Status::Code::kLocked) {
        throw SqlError("Tabulku " + Quoted(table->fileName) +
                           " má výhradně otevřenou jiný program nebo okno; dotaz nelze spustit",
                       {}, Status::Code::kLocked);
    }
    ThrowIfError(st);
    // Identity after the lock is held and the header read: a change after
    // this point shows as another identity when the scan's knowledge is kept.
    if (CurrentFileIdentity(path, &table->identity)) {
        table->zones = ZoneCache::Shared().find(path, table->identity);
        if (!table->zones) {
            // Another process may have learned it and left it in the sidecar.
            const SummaryStamp stamp{table->identity, LayoutFingerprint(table->file->header())};
            table->zones = ReadSummaries(path, stamp, table->file->recordCount(),
                                         table->file->header().fields.size());
            if (table->zones) ZoneCache::Shared().adopt(path, table->identity, table->zones);
        }
        if (table->zones && table->zones->recordCount() != table->file->recordCount()) {
            table->zones.reset();
        }
    }
    table->fields = table->file->header().fields;
    table->recordCount = table->file->recordCount();
    table->indexes = ReadIndexDefs(IndexSidecarPath(path));
    // A table marked as code page 852 is read as such; any other is read in
    // the code page of the engine's language driver, as the tables do.
    table->codePage = table->file->header().languageDriver == kLanguageCp852
                          ? CodePage::kCp852
                          : CodePageOfDriver(EngineDriverSettings().languageDriver);
    open_.push_back(std::move(table));
    return open_.back().get();
}

void MemoryCatalog::add(std::string fileName, const std::vector<FieldDef>& fields,
                        uint32_t recordCount) {
    auto table = std::make_unique<CatalogTable>();
    table->fileName = TableFileName(fileName);
    table->path = table->fileName;
    int offset = 1;
    for (const FieldDef& def : fields) {
        FieldLayout f;
        static_cast<FieldDef&>(f) = def;
        f.offset = offset;
        offset += def.length;
        table->fields.push_back(f);
    }
    table->recordCount = recordCount;
    tables_.push_back(std::move(table));
}

CatalogTable* MemoryCatalog::find(std::string_view name) {
    const std::string fileName = TableFileName(name);
    for (auto& t : tables_) {
        if (EqualsIgnoreCase(t->fileName, fileName)) return t.get();
    }
    return nullptr;
}

}  // namespace kolvio::sql
