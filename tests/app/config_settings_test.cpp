// The settings table of the configuration page: read once with its defaults
// and ranges, written in one piece, and the same defaults as the display.
#include "app/config_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "scratch_dir.h"

namespace kolvio {
namespace {

int IndexOf(const char* key) {
    for (size_t i = 0; i < std::size(kConfigSettings); ++i) {
        if (std::string(kConfigSettings[i].key) == key) return static_cast<int>(i);
    }
    return -1;
}

// A display shown before the settings file was read uses the same counts as
// a missing file gives.
TEST(ConfigSettings, TableDefaultsAreTheDisplayDefaults) {
    testing::ScratchDir dir;
    const SettingsFile none(dir.file("kolvio.ini"));
    const std::vector<int> values = ReadConfigSettings(none);
    const DisplaySettings builtIn;
    for (size_t i = 0; i < std::size(kConfigSettings); ++i) {
        const ConfigSetting& s = kConfigSettings[i];
        SCOPED_TRACE(s.key);
        EXPECT_EQ(values[i], s.defaultValue);
        EXPECT_LE(s.defaultValue, s.maxValue);
        if (s.decimals) {
            EXPECT_EQ(builtIn.*s.decimals, s.defaultValue);
        }
    }
    EXPECT_EQ(builtIn.zamenTeckaCarka, values[IndexOf(kCommaKey)] != 0);
}

TEST(ConfigSettings, ValuesAreBroughtWithinRangeAndCheckBoxesReadAnyNumberButZeroAsOn) {
    testing::ScratchDir dir;
    testing::WriteBytes(dir.file("kolvio.ini"),
                        "[Des_mista]\nsr_tep_des_m=7\nsr_kcal_des_m=-1\ndelka_des_m=x\n"
                        "[Setup]\nzamenteckacarka=-1\n[Zobr_dotaz1]\nindex_soubory=ano\n");
    const std::vector<int> values = ReadConfigSettings(SettingsFile(dir.file("kolvio.ini")));
    EXPECT_EQ(values[IndexOf("sr_tep_des_m")], 2);
    EXPECT_EQ(values[IndexOf("sr_kcal_des_m")], 0);
    EXPECT_EQ(values[IndexOf("delka_des_m")], 2);
    EXPECT_EQ(values[IndexOf(kCommaKey)], 1);
    EXPECT_EQ(values[IndexOf("index_soubory")], 0);
}

TEST(ConfigSettings, WrittenValuesReadBackAndOtherKeysStay) {
    testing::ScratchDir dir;
    SettingsFile ini(dir.file("kolvio.ini"));
    ASSERT_TRUE(ini.writeString("Predchozi", "1", "/data/kolo").ok());
    std::vector<int> values;
    for (const ConfigSetting& s : kConfigSettings)
        values.push_back(s.maxValue - s.defaultValue);  // differs from the default
    ASSERT_TRUE(WriteConfigSettings(ini, values).ok());
    EXPECT_EQ(ReadConfigSettings(ini), values);
    EXPECT_EQ(ini.readString("Predchozi", "1", ""), "/data/kolo");
    const DisplaySettings display = DisplaySettingsFrom(values);
    EXPECT_EQ(display.srTepDesM, 2);
    EXPECT_FALSE(display.zamenTeckaCarka);
}

}  // namespace
}  // namespace kolvio
