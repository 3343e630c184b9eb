// Process-wide settings of the table engine.
//
// The settings file keeps the driver and level that were in force before the
// program changed them ("DBF" section), so these are plain strings with the
// names dBase tools use: language driver "DB852CZ0" (Czech, code page 852)
// and table level "5".
#pragma once

#include <string>

#include "data/codepage.h"

namespace kolvio {

struct DriverSettings {
    std::string languageDriver = "DB852CZ0";
    std::string level = "5";
};

// The settings every table and query of this process uses.
DriverSettings& EngineDriverSettings();

// Code page in which text of tables is read and written under a driver:
// the Windows drivers ("DBWIN...") mean Windows-1250, everything else 852.
CodePage CodePageOfDriver(const std::string& languageDriver);

}  // namespace kolvio
