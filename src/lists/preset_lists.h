// The preset choices the list screens offer in their drop-down lists. The
// rider may type anything else.
#pragma once

#include <QStringList>

namespace kolvio {

// Start and finish places of the new-route screen; the first is shown.
QStringList PresetStartPlaces();
// Waypoints offered by the new-route screen.
QStringList PresetWaypoints();

// Kinds and makes of bikes.
QStringList PresetBikeTypes();
QStringList PresetBikeMakes();

// Abbreviations and descriptions of heart-rate limit watch types.
QStringList PresetWatchAbbreviations();
QStringList PresetWatchDescriptions();

}  // namespace kolvio
