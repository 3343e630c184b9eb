// Using zone maps (zone_map.h): which blocks a filter can skip, and
// aggregates answered without reading rows.
#pragma once

#include <optional>
#include <vector>

#include "data/sql/binder/bound_expr.h"
#include "data/sql/execution/zone_map.h"

namespace kolvio::sql {

// False only when the zones of `block` prove that no live row of the block
// satisfies `filter`. The filter reads scan slots: slot s is field fields[s].
// Conservative: whatever it cannot judge may match.
bool BlockMayMatch(const BoundExpr& filter, const TableZones& zones, uint32_t block,
                   const std::vector<int>& fields);

// True only when the zones of `block` prove that every live row of the block
// satisfies `filter` (every row has a value, and every value passes).
bool BlockSurelyMatches(const BoundExpr& filter, const TableZones& zones, uint32_t block,
                        const std::vector<int>& fields);

// MIN or MAX of a field over all live rows, or COUNT(*) (field -1), from
// the zones alone; nullopt when the zones do not know. The inner optional
// is empty for MIN/MAX of a table without values (null).
std::optional<std::optional<double>> AggregateFromZones(const TableZones& zones, AggFunc func,
                                                        int field);

}  // namespace kolvio::sql
