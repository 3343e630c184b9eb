#include "data/engine_settings.h"

namespace kolvio {

DriverSettings& EngineDriverSettings() {
    static DriverSettings settings;
    return settings;
}

CodePage CodePageOfDriver(const std::string& languageDriver) {
    return languageDriver.rfind("DBWIN", 0) == 0 ? CodePage::kCp1250 : CodePage::kCp852;
}

}  // namespace kolvio
