#include "data/database/result_table.h"

#include "data/database/schema.h"
#include "data/sql/binder/catalog.h"

namespace kolvio {

Status CheckResultTarget(std::string_view name) {
    KOLVIO_RETURN_IF_ERROR(sql::CheckResultTableName(name));
    const std::string_view base = sql::TableBaseName(name);
    for (std::string_view table : kDatabaseFiles) {
        if (EqualsIgnoreCase(base, sql::TableBaseName(table))) {
            return Status::Invalid("Do tabulky \"" + std::string(name) +
                                   "\" nelze výsledek zapsat: je to tabulka databáze a její řádky "
                                   "by se ztratily. Zvolte jiný název, například vysledek.dbf.");
        }
    }
    return Status::Ok();
}

Status ReplaceWithResult(const sql::ResultSet& result, const std::string& dir,
                         std::string_view name, sql::CopyReport* report) {
    *report = sql::CopyReport();
    KOLVIO_RETURN_IF_ERROR(CheckResultTarget(name));
    return sql::CopyToNewTable(result, dir, std::string(name), report);
}

}  // namespace kolvio
