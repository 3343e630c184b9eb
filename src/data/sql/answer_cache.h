// Results computed from zone maps alone (MIN, MAX, COUNT(*) of a whole
// table), remembered with the identity of their table file.
//
// The query screens repeat such statements (the years list asks for the
// first and last ride date each time the builder opens). A statement is
// always bound first, so its table name is resolved to a file and that file
// opened with a shared lock (a table held exclusively elsewhere is refused
// as in any statement); then an answer remembered for that very file, with
// the identity it has now, spares planning and running it. Only results
// that came from zones are kept, so the rules of zone_map.h (identity,
// racily clean files) carry over.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/dbf/field_def.h"
#include "data/sql/execution/vector.h"
#include "data/sql/execution/zone_map.h"

namespace kolvio::sql {

struct CachedAnswer {
    std::string tablePath;
    FileIdentity identity;
    std::vector<FieldDef> fields;
    ColumnData rows;
};

class AnswerCache {
public:
    static AnswerCache& Shared();

    // The answer for this statement text over the table file `tablePath`,
    // if the file has the identity the answer was computed from.
    std::shared_ptr<const CachedAnswer> find(const std::string& tablePath,
                                             const FileIdentity& identity,
                                             const std::string& text) const;
    // Keeps an answer for the statement text over answer->tablePath.
    void store(const std::string& text, std::shared_ptr<const CachedAnswer> answer);
    void clear();

private:
    mutable std::mutex mu_;
    // (table file, statement text) -> answer
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const CachedAnswer>> entries_;
};

}  // namespace kolvio::sql
