// The settings the configuration page edits, as one table: where each lives
// in the settings file, its default and range, and the control that shows it.
// The page is built from this table, and these keys are read and brought
// within their range here only, by the page and by LoadDisplaySettings alike.
//
//   std::vector<int> values = ReadConfigSettings(ini);   // in table order
//   values[i] ...                                        // kConfigSettings[i]
//   Status st = WriteConfigSettings(ini, values);        // one atomic write
#pragma once

#include <vector>

#include "app/display_format.h"
#include "app/settings_file.h"
#include "data/status.h"

namespace kolvio {

enum class ConfigControl { kCheckBox, kSpinBox };
// Where the page shows a setting.
enum class ConfigGroup { kQueryResults, kDecimals, kNumericInput };

struct ConfigSetting {
    const char* section;
    const char* key;
    int defaultValue;
    int maxValue;  // values from 0 to maxValue; a check box is 0 or 1
    ConfigControl control;
    ConfigGroup group;
    const char* name;     // object name of the control
    const char* caption;  // label of a spin box, text of a check box
    const char* hint;     // status-bar text, or empty
    // The display setting it gives (decimal places), or null.
    int DisplaySettings::*decimals = nullptr;
};

inline constexpr char kCommaKey[] = "zamenteckacarka";

// In the order of the page.
inline constexpr ConfigSetting kConfigSettings[] = {
    {"Zobr_dotaz1", "index_soubory", 0, 1, ConfigControl::kCheckBox, ConfigGroup::kQueryResults,
     "Check1", "připravit indexové soubory předem",
     "Indexy pro seřezování dat budou vytvářeny před zobrazením dat - doporučeno"},
    {"Des_mista", "prumer_des_m", 2, 3, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_prumer_des_m", "Jízda průměr:", "", &DisplaySettings::prumerDesM},
    {"Des_mista", "delka_des_m", 2, 3, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_delka_des_m", "Jízda délka:", "", &DisplaySettings::delkaDesM},
    {"Des_mista", "rychl_max_des_m", 1, 3, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_rychl_max_des_m", "Maximální rychlost:", "", &DisplaySettings::rychlMaxDesM},
    {"Des_mista", "sr_tep_des_m", 0, 2, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_sr_tep_des_m", "Tep. frekvence (průměr, max, ..):", "", &DisplaySettings::srTepDesM},
    {"Des_mista", "sr_pr_prekr_des_m", 0, 3, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_sr_pr_prekr_des_m", "Překročení limitu tep. frekvence v %:", "",
     &DisplaySettings::srPrPrekrDesM},
    {"Des_mista", "sr_pr_pom_des_m", 1, 3, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_sr_pr_pom_des_m", "Poměrné hodnoty tep. frekvence:", "", &DisplaySettings::srPrPomDesM},
    {"Des_mista", "sr_kcal_des_m", 0, 1, ConfigControl::kSpinBox, ConfigGroup::kDecimals,
     "RSE_sr_kcal_des_m", "Energie v kcal:", "", &DisplaySettings::srKcalDesM},
    {"Setup", kCommaKey, 1, 1, ConfigControl::kCheckBox, ConfigGroup::kNumericInput, "CVCh",
     "zaměňovat čárku za tečku", "ne/zaměňovat čárku za tečku u vstupů s reálným číslem"},
};

// Every setting of the table, in its order. A missing key or one that does
// not read as a number gives the default; a check box is on for any number
// but 0; a count outside its range (a hand-edited file) is brought within it.
std::vector<int> ReadConfigSettings(const SettingsFile& ini);
// Writes every setting (values in table order) in one atomic write.
Status WriteConfigSettings(SettingsFile& ini, const std::vector<int>& values);
// The display settings the values give.
DisplaySettings DisplaySettingsFrom(const std::vector<int>& values);

}  // namespace kolvio
