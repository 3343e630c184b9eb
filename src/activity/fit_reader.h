// An activity from the bytes of a FIT file (our own decoder, fit_decoder.h).
//
// Read: record messages (time, position, altitude, distance, speed, heart
// rate, cadence, power; the enhanced speed and altitude win over the short
// ones), event messages of the timer (start; stop, stop all, stop disable),
// and the totals of the session messages, or of the laps when the file has
// no session. Everything else, developer fields included, is skipped.
#pragma once

#include <string>
#include <string_view>

#include "activity/activity.h"

namespace kolvio::activity {

// `file` names the file in messages. A damaged file whose first records are
// readable gives them with a warning and `damaged` set; one with nothing
// readable gives an error.
ActivityResult ReadFit(std::string_view bytes, const std::string& file);

}  // namespace kolvio::activity
