// Answers the driver scan's equality from an index of the table: the
// records whose key equals the constant, so that the scan reads only those.
//
// The contents come from the table's index data file (index/index_data.h)
// when it describes the table as it is now; the records the journal names
// are read as well, whatever their key, since the filter is applied to
// every record read anyway. Without a usable file the index is built from
// the table once and the file written for the next statements.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "data/sql/binder/catalog.h"
#include "data/sql/planner/physical_plan.h"

namespace kolvio::sql {

// The records to read, ascending; nullopt when the whole table is to be
// read: a small table, no usable index, or so many matching rows that
// reading them one by one would cost more than reading everything.
std::optional<std::vector<uint32_t>> IndexedRecords(const CatalogTable& table,
                                                    const IndexLookup& lookup,
                                                    int64_t statementStartNs);

// Every record of the table in the order of the index `def`, when reading
// in that order costs about what reading the table does (the records mostly
// follow one another, as the dates of a diary do); nullopt otherwise. The
// order comes from the table's index data file, the journal's records put
// in their places, or else from the index built now, and then the file is
// written for the next statements.
std::optional<std::vector<uint32_t>> RecordsInIndexOrder(const CatalogTable& table,
                                                         const IndexDef& def,
                                                         int64_t statementStartNs);

}  // namespace kolvio::sql
