// Results computed from zone maps alone (MIN, MAX, COUNT(*) of a whole
// table), remembered with the identity of their table.
//
// The query screens repeat such statements (the years list asks for the
// first and last ride date each time the builder opens). Repeating one on an
// unchanged table then costs one look at the file's identity instead of
// opening and locking it. Only results that came from zones are kept, so
// the rules of zone_map.h (identity, racily clean files) carry over.
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

    // The answer for this statement text over this directory, if its table
    // still has the identity it had.
    std::shared_ptr<const CachedAnswer> find(const std::string& directory,
                                             const std::string& text) const;
    void store(const std::string& directory, const std::string& text,
               std::shared_ptr<const CachedAnswer> answer);
    void clear();

private:
    mutable std::mutex mu_;
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const CachedAnswer>> entries_;
};

}  // namespace kolvio::sql
