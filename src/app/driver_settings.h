// The table engine's driver settings and their record in section "DBF".
//
// The program needs the language driver "DB852CZ0" and table level "5". The
// settings it found before changing them are kept in "DBFDriver" and
// "DBFLevel" so that they can be put back; "vraceno" (default true) says
// whether the settings are currently as found, so a second apply never
// overwrites the kept values with the program's own. "vracet" (default
// false, set only by hand) asks for the restore at shutdown.
#pragma once

#include "app/settings_file.h"
#include "data/engine_settings.h"
#include "data/status.h"

namespace kolvio {

inline constexpr char kDriverSection[] = "DBF";
inline constexpr char kRequiredLanguageDriver[] = "DB852CZ0";
inline constexpr char kRequiredTableLevel[] = "5";

// Puts the required driver and level into `engine` and, when "vraceno" is
// true, records the previous ones and sets "vraceno" to false (one write).
// The engine is changed even when the write fails.
Status ApplyDriverSettings(SettingsFile& ini, DriverSettings& engine = EngineDriverSettings());

// When "vraceno" is false: puts the recorded driver and level (defaults
// "DB852CZ0" and "5") back into `engine` and sets "vraceno" to true.
Status RestoreDriverSettings(SettingsFile& ini, DriverSettings& engine = EngineDriverSettings());

// "vracet": whether the main window restores the settings when it closes.
bool RestoreDriverSettingsAtShutdown(const SettingsFile& ini);

}  // namespace kolvio
