// The tables a statement may name: the dBase files of one directory.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/codepage.h"
#include "data/dbf/dbf_file.h"
#include "data/dbf/field_def.h"
#include "data/index/index_def.h"
#include "data/sql/execution/zone_map.h"

namespace kolvio::sql {

// One table as the engine sees it for the length of a statement.
struct CatalogTable {
    std::string fileName;  // as found on disk, e.g. "jizdy.dbf"
    std::string path;
    std::vector<FieldLayout> fields;
    uint32_t recordCount = 0;
    CodePage codePage = CodePage::kCp852;
    // Open with a shared lock while the statement runs; null in binder tests.
    std::unique_ptr<DbfFile> file;
    // The file as it was when opened, and what earlier scans learned of it.
    FileIdentity identity;
    std::shared_ptr<const TableZones> zones;
    // The indexes the table keeps (index/index_def.h); their contents may
    // be in its index data file (index/index_data.h).
    std::vector<IndexDef> indexes;
};

class Catalog {
public:
    virtual ~Catalog() = default;
    // The table for a name as written in the statement ("jizdy", "jizdy.dbf",
    // "VYSLEDEK.DBF"); null when there is no such table. The catalog keeps
    // ownership; the pointer lives as long as the catalog. Throws SqlError
    // when the file exists but cannot be read.
    virtual CatalogTable* find(std::string_view name) = 0;
};

// File name for a table name: ".dbf" is added unless the name has it.
std::string TableFileName(std::string_view name);
// The name without a ".dbf" ending, as a qualifier of columns may give it.
std::string_view TableBaseName(std::string_view name);

// Tables of a database directory, opened on first use with a shared lock
// (so that nobody holds them exclusively while the statement reads them).
// Text is decoded in code page 852 when the table's language byte says so,
// otherwise in the code page of the engine's language driver.
class DirectoryCatalog final : public Catalog {
public:
    explicit DirectoryCatalog(std::string directory);
    CatalogTable* find(std::string_view name) override;
    const std::string& directory() const { return directory_; }

private:
    std::string directory_;
    std::vector<std::unique_ptr<CatalogTable>> open_;
};

// Tables given directly (tests of the binder and planner).
class MemoryCatalog final : public Catalog {
public:
    void add(std::string fileName, const std::vector<FieldDef>& fields, uint32_t recordCount = 0);
    CatalogTable* find(std::string_view name) override;

private:
    std::vector<std::unique_ptr<CatalogTable>> tables_;
};

}  // namespace kolvio::sql
