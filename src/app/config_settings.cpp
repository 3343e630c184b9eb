#include "app/config_settings.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace kolvio {

std::vector<int> ReadConfigSettings(const SettingsFile& ini) {
    std::vector<int> values;
    for (const ConfigSetting& s : kConfigSettings) {
        if (s.control == ConfigControl::kCheckBox) {
            values.push_back(ini.readBool(s.section, s.key, s.defaultValue != 0) ? 1 : 0);
        } else {
            values.push_back(
                std::clamp(ini.readInteger(s.section, s.key, s.defaultValue), 0, s.maxValue));
        }
    }
    return values;
}

Status WriteConfigSettings(SettingsFile& ini, const std::vector<int>& values) {
    return ini.update([&](IniDocument& doc) {
        for (size_t i = 0; i < std::size(kConfigSettings) && i < values.size(); ++i) {
            const ConfigSetting& s = kConfigSettings[i];
            if (!doc.setValue(s.section, s.key, std::to_string(values[i]))) return false;
        }
        return true;
    });
}

DisplaySettings DisplaySettingsFrom(const std::vector<int>& values) {
    DisplaySettings display;
    for (size_t i = 0; i < std::size(kConfigSettings) && i < values.size(); ++i) {
        const ConfigSetting& s = kConfigSettings[i];
        if (s.decimals) display.*s.decimals = values[i];
        if (std::string_view(s.key) == kCommaKey) display.zamenTeckaCarka = values[i] != 0;
    }
    return display;
}

}  // namespace kolvio
