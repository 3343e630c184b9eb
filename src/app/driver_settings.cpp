#include "app/driver_settings.h"

namespace kolvio {

namespace {

constexpr char kDriverKey[] = "DBFDriver";
constexpr char kLevelKey[] = "DBFLevel";
constexpr char kReturnedKey[] = "vraceno";
constexpr char kRestoreKey[] = "vracet";

}  // namespace

Status ApplyDriverSettings(SettingsFile& ini, DriverSettings& engine) {
    const DriverSettings previous = engine;
    engine.languageDriver = kRequiredLanguageDriver;
    engine.level = kRequiredTableLevel;
    if (!ini.readBool(kDriverSection, kReturnedKey, true)) return Status::Ok();
    return ini.update([&](IniDocument& doc) {
        return doc.setValue(kDriverSection, kDriverKey, previous.languageDriver) &&
               doc.setValue(kDriverSection, kLevelKey, previous.level) &&
               doc.setValue(kDriverSection, kReturnedKey, "0");
    });
}

Status RestoreDriverSettings(SettingsFile& ini, DriverSettings& engine) {
    if (ini.readBool(kDriverSection, kReturnedKey, true)) return Status::Ok();
    engine.languageDriver = ini.readString(kDriverSection, kDriverKey, kRequiredLanguageDriver);
    engine.level = ini.readString(kDriverSection, kLevelKey, kRequiredTableLevel);
    return ini.writeBool(kDriverSection, kReturnedKey, true);
}

bool RestoreDriverSettingsAtShutdown(const SettingsFile& ini) {
    return ini.readBool(kDriverSection, kRestoreKey, false);
}

}  // namespace kolvio
