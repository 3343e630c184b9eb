// An activity from the bytes of a TCX or GPX file.
//
// TCX: the first Activity (or Course) of the file with all its laps and
// tracks joined; trackpoints give time, position, altitude, distance,
// heart rate, cadence, and speed and power from the ActivityExtension; the
// laps give the device's totals (time, distance, energy, heart rate).
// GPX 1.0 and 1.1: every track segment of every track joined; track points
// give time, position, elevation, the speed of GPX 1.0, and heart rate,
// cadence and speed from Garmin's TrackPointExtension (v1 or v2), power
// from its PowerExtension or a plain "power" element.
//
// Elements are matched by namespace and name, never by prefix. The XML
// parser (expat) stays inside the implementation.
#pragma once

#include <string>
#include <string_view>

#include "activity/activity.h"

namespace kolvio::activity {

// `file` names the file in messages. XML that is neither TCX nor GPX is
// refused; a document that breaks off after some samples gives them with a
// warning and `damaged` set.
ActivityResult ReadXmlActivity(std::string_view bytes, const std::string& file);

}  // namespace kolvio::activity
