#include "app/display_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/config_settings.h"
#include "app/decimal_text.h"

namespace kolvio {

namespace {

std::string FixedText(const Value& v, int decimals, size_t width, const char* suffix = "") {
    if (v.isNull()) return {};
    return PadLeft(FormatFixed(v.asDouble(), decimals), width) + suffix;
}

}  // namespace

DisplaySettings LoadDisplaySettings(const SettingsFile& ini) {
    return DisplaySettingsFrom(ReadConfigSettings(ini));
}

std::string DELKAGetText(const Value& v, const DisplaySettings& s) {
    return FixedText(v, s.delkaDesM, 10);
}

std::string PRUMERGetText(const Value& v, const DisplaySettings& s) {
    return FixedText(v, s.prumerDesM, 10);
}

std::string RYCHL_MAXGetText(const Value& v, const DisplaySettings& s) {
    return FixedText(v, s.rychlMaxDesM, 10);
}

std::string SR_TEPGetText(const Value& v, const DisplaySettings& s) {
    if (v.isBool()) return FixedText(Value(v.asBool() ? -1 : 0), s.srTepDesM, 10);
    return FixedText(v, s.srTepDesM, 10);
}

std::string SR_KCALGetText(const Value& v, const DisplaySettings& s) {
    return FixedText(v, s.srKcalDesM, 10);
}

std::string SR_PLPGetText(const Value& v, const DisplaySettings& s) {
    return FixedText(v, s.srPrPrekrDesM, 5, "%");
}

std::string SR_ProcentGetText(const Value& v, const DisplaySettings& s) {
    return FixedText(v, s.srPrPomDesM, 6, "%");
}

std::string CASGetText(const Value& v) {
    return FormatDuration(v.asDouble());
}

std::string CASGetTextNull(const Value& v) {
    return v.isNull() ? std::string() : FormatDuration(v.asDouble());
}

std::string MESICGetText(const Value& v) {
    return FormatMonthCode(v.asInt());
}

std::string SMERGetText(const Value& v) {
    if (!v.isNull()) {
        const int64_t direction = v.asInt();
        if (direction == 1) return "===>>";
        if (direction == 2) return "<<===";
    }
    return "=====";
}

std::string TTRNZZADNE_TRSGetText(const Value& v) {
    return v.asBool() ? "ANO" : "NE";
}

std::string FormatDuration(double hours) {
    if (!std::isfinite(hours)) return {};
    if (hours < 0) return "-" + FormatDuration(-hours);
    // Whole units are kept as doubles so that no value can overflow them.
    double h = std::trunc(hours);
    const double minutesExact = (hours - h) * 60;
    double m = std::trunc(minutesExact);
    double s = std::nearbyint((minutesExact - m) * 60);  // a half to the even neighbour
    if (s == 60) {
        s = 0;
        m += 1;
    }
    if (m == 60) {
        m = 0;
        h += 1;
    }
    std::string prefix;
    if (h > 23) {
        const double dayHours = std::fmod(h, 24);
        prefix = FormatFixed((h - dayHours) / 24, 0) + "den ";
        h = dayHours;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", static_cast<int>(h), static_cast<int>(m),
                  static_cast<int>(s));
    return prefix + buf;
}

std::string FormatMonthCode(int64_t code) {
    const int64_t year = code / 1000;  // truncates toward zero
    return std::to_string(code - year * 1000) + "." + std::to_string(year);
}

int32_t MonthCode(const Date& date) {
    return date.year() * 1000 + date.month();
}

char32_t DecimalKeyFilter(char32_t key, const DisplaySettings& s) {
    return (s.zamenTeckaCarka && key == U',') ? U'.' : key;
}

}  // namespace kolvio
