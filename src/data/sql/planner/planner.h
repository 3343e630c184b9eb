// Turns a bound select into a physical plan.
//
// The WHERE conjuncts are sorted three ways: a conjunct over one table is
// applied while that table is scanned; an equality between expressions of
// two tables is a join key; anything else is checked right after the join
// that brings its last table in. Tables are joined starting with the one
// with the most records, then always a table linked by an equality to those
// already joined (the smaller first); a table with no such link is joined
// by a cross product, the only case where one is formed.
#pragma once

#include "data/sql/binder/bound_query.h"
#include "data/sql/planner/physical_plan.h"

namespace kolvio::sql {

PhysicalPlan PlanQuery(BoundQuery query);

}  // namespace kolvio::sql
