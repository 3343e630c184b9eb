// Reading a ride from a device's file: the one entry point for the screens
// and the command line.
//
//   LoadRideFigures(path, limit)   -> the ride's figures in the diary's units,
//                                     or a Czech message naming the file
//   ReadActivityFile(path)         -> the activity itself (samples, totals)
//
// The format is recognised by the content, not the file name: a FIT header,
// or an XML document whose root is a TCX or GPX root. A screen on which the
// rider may change the heart-rate limit after loading keeps the activity of
// ReadActivityFile and calls WorkOutRideFigures (activity_figures.h) again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "activity/activity.h"
#include "activity/activity_figures.h"

namespace kolvio::activity {

// The activity in `bytes`; `file` names it in messages.
ActivityResult ReadActivityBytes(std::string_view bytes, const std::string& file);

// The activity in the file at `path` (at most kMaxFileBytes; only a regular
// file is opened, so a pipe or a device never blocks the caller).
ActivityResult ReadActivityFile(const std::string& path);

struct LoadedRide {
    RideFigures figures;
    std::string error;                  // Czech, names the file; empty on success
    std::vector<std::string> warnings;  // to be shown before the figures are used
    bool damaged = false;               // part of the file was unreadable

    bool ok() const { return error.empty(); }
};

// The figures of the ride in the file at `path`, with the heart-rate limit
// SR_LIM of the ride (0 when none is set).
LoadedRide LoadRideFigures(const std::string& path, double heartRateLimit);

}  // namespace kolvio::activity
