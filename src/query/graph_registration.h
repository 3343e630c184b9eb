// RegisterGraphControl: the registration of the chart, kept to what its
// callers rely on.
//
// The chart of the result viewer is part of the program, so there is
// nothing to register with the operating system: each of the three methods
// reports success at once. What stays is the walk over the methods and its
// record in section "Graf-registrace" of the settings:
//   "cesta"  the program folder (AppDir) at the last run;
//   "cislo"  the number of the last method tried, 0 to 3 (0: start with 1).
// A run starts after the last method tried; after the third it asks whether
// to start over, and a program moved to another folder starts over. The
// result viewer sets "cislo" to 0 when it closes, so after a chart has been
// shown the next run starts with method 1 again. "-setup" runs it.
#pragma once

#include <QString>
#include <functional>

namespace kolvio {

class SettingsFile;

inline constexpr char kGraphRegistrationSection[] = "Graf-registrace";
inline constexpr char kGraphPathKey[] = "cesta";
inline constexpr char kGraphMethodKey[] = "cislo";

// Tries method 1, 2 or 3; true when it succeeded.
using GraphRegistrationMethod = std::function<bool(int method)>;

// The walk over the methods for the program in `appDir`.
void RegisterGraphControl(SettingsFile& settings, const QString& appDir,
                          const GraphRegistrationMethod& tryMethod);

// The program's own: its settings file and folder, the built-in chart.
void RegisterGraphControl();

}  // namespace kolvio
