// Writes an Activity as a FIT activity file, for tests and benchmarks:
// file_id, a timer start event, one record per sample, the timer events of
// the activity, a timer stop, one lap and one session with the activity's
// totals. Records use compressed timestamps when asked and the gap to the
// previous record is under 32 seconds.
#pragma once

#include <string>

#include "activity/activity.h"

namespace kolvio::activity::testing {

struct FitWriteOptions {
    bool compressedTimestamps = false;
    bool bigEndian = false;
};

std::string WriteFitActivity(const Activity& activity, const FitWriteOptions& options = {});

}  // namespace kolvio::activity::testing
