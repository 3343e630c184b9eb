// Display texts of the stored values of rides and query results.
//
// Every formatter is a pure function of a field value and the display
// settings; a null value gives the empty text unless stated otherwise. The
// decimal separator is always a point, whatever the system's locale.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings_file.h"
#include "data/status.h"
#include "data/value.h"

namespace kolvio {

// Decimal places of each kind of value and the comma option, as the
// configuration dialog keeps them in sections "Des_mista" and "Setup".
struct DisplaySettings {
    int prumerDesM = 2;           // average speed
    int delkaDesM = 2;            // distance
    int rychlMaxDesM = 1;         // maximum speed
    int srTepDesM = 0;            // heart rates
    int srPrPrekrDesM = 0;        // percent of time over the limit
    int srPrPomDesM = 1;          // heart-rate ratios in percent
    int srKcalDesM = 0;           // energy
    bool zamenTeckaCarka = true;  // a typed comma becomes a point
};

// The counts and the option as the settings file holds them (the keys are
// those of the configuration page, config_settings.h).
DisplaySettings LoadDisplaySettings(const SettingsFile& ini);

// Fixed-decimal formatters: the value rounded to the setting's decimals,
// right-aligned to a minimum width (10, or 5 and 6 before the "%").
std::string DELKAGetText(const Value& v, const DisplaySettings& s);
std::string PRUMERGetText(const Value& v, const DisplaySettings& s);
std::string RYCHL_MAXGetText(const Value& v, const DisplaySettings& s);
// Heart rates; the logical SR_MER shows true as -1 and false as 0.
std::string SR_TEPGetText(const Value& v, const DisplaySettings& s);
std::string SR_KCALGetText(const Value& v, const DisplaySettings& s);
std::string SR_PLPGetText(const Value& v, const DisplaySettings& s);
std::string SR_ProcentGetText(const Value& v, const DisplaySettings& s);

// Riding time: a null value shows as 0 hours.
std::string CASGetText(const Value& v);
// Over-limit time: a null value shows as nothing.
std::string CASGetTextNull(const Value& v);
// Month code (null reads as 0 and shows "0.0").
std::string MESICGetText(const Value& v);
// Direction: 1 "===>>", 2 "<<===", anything else "=====".
std::string SMERGetText(const Value& v);
// "ANO" for true, "NE" otherwise.
std::string TTRNZZADNE_TRSGetText(const Value& v);

// Hours as "h:mm:ss", seconds rounded with a half to the even neighbour and
// carried into minutes and hours; from 24 hours on, whole days lead as
// "<days>den " ("1den 1:15:00"). A negative time gets a leading "-";
// infinities and NaN give the empty text.
std::string FormatDuration(double hours);
// "month.year": 2003005 gives "5.2003".
std::string FormatMonthCode(int64_t code);
// Year × 1000 + month.
int32_t MonthCode(const Date& date);

// The character a numeric entry box receives for a typed key: with the
// comma option on, a comma becomes a point; every other key passes as it is.
char32_t DecimalKeyFilter(char32_t key, const DisplaySettings& s);

}  // namespace kolvio
