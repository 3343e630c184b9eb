// The display formatters the main window's datasets carry, by field name:
// the ride fields of Table1 (DELKA, CAS, RYCHL_MAX, PRUMER, the SR_ fields)
// and ZADNE_TRS of the primary ride types. Grids and bound boxes take them
// from here so that every screen shows a value alike.
#pragma once

#include <QString>

#include "app/display_format.h"
#include "app/widgets/dataset_model.h"

namespace kolvio {

// The formatter of a field (case-insensitive), or an empty one for a field
// shown plainly. `settings` is read at every call (pass the main window's,
// so that a change in the configuration applies at once).
GridColumn::Formatter FieldFormatter(const QString& field, const DisplaySettings& settings);

// The display label of a ride field that has one ("délka", "čas",
// "max. rychlost"), else the field name.
QString FieldLabel(const QString& field);

}  // namespace kolvio
