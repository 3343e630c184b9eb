// Window placement of the main window, kept in section "Okno":
//   "State"  1 maximised, 2 normal (not written while minimised)
//   "Left", "Top"       outer position in pixels
//   "Width", "Height"   client size in pixels
// Position and size are written only for a normal window, so they always
// describe the window as it is when not maximised.
#pragma once

#include <QSize>

#include "app/settings_file.h"
#include "data/status.h"

class QWidget;

namespace kolvio {

inline constexpr char kWindowSection[] = "Okno";

// One write.
Status SaveWindowPlacement(SettingsFile& ini, const QWidget& window);

// Applies the kept placement before the window is shown: without "State"
// only `defaultClient`; otherwise the position (negative values raised to 0,
// and a position on no screen moved to 0,0), the client size and the
// maximised state.
void RestoreWindowPlacement(const SettingsFile& ini, QWidget& window, QSize defaultClient);

}  // namespace kolvio
