#include "app/display_format.h"

#include <gtest/gtest.h>

#include <string_view>

#include "app/config_settings.h"
#include "app/decimal_text.h"
#include "scratch_dir.h"

namespace kolvio {
namespace {

const DisplaySettings kDefaults;

TEST(FormatFixed, HalvesOfTheTypedDecimalRoundAwayFromZero) {
    EXPECT_EQ(FormatFixed(2.675, 2), "2.68");  // the double lies just below 2.675
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13");  // exactly a half in binary
    EXPECT_EQ(FormatFixed(-0.125, 2), "-0.13");
    EXPECT_EQ(FormatFixed(12.345, 0), "12");
    EXPECT_EQ(FormatFixed(0.05, 1), "0.1");
    EXPECT_EQ(FormatFixed(0.04, 0), "0");
}

TEST(FormatFixed, RoundingCarriesAndZeroHasNoSign) {
    EXPECT_EQ(FormatFixed(9.995, 2), "10.00");
    EXPECT_EQ(FormatFixed(99.96, 1), "100.0");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatFixed(0.000123, 5), "0.00012");
}

TEST(DisplayFormat, FixedDecimalFieldsPadToTheirWidthAndNullIsEmpty) {
    EXPECT_EQ(DELKAGetText(42.5, kDefaults), "     42.50");
    EXPECT_EQ(DELKAGetText(0.0, kDefaults), "      0.00");
    EXPECT_EQ(DELKAGetText(Value(), kDefaults), "");
    EXPECT_EQ(DELKAGetText(12345678.9, kDefaults), "12345678.90");  // never cut
    EXPECT_EQ(RYCHL_MAXGetText(55.55, kDefaults), "      55.6");
    EXPECT_EQ(SR_PLPGetText(12.345, kDefaults), "   12%");
    EXPECT_EQ(SR_ProcentGetText(78.947, kDefaults), "  78.9%");
    EXPECT_EQ(SR_ProcentGetText(Value(), kDefaults), "");
    EXPECT_EQ(SR_TEPGetText(true, kDefaults), "        -1");
    EXPECT_EQ(SR_TEPGetText(false, kDefaults), "         0");
    EXPECT_EQ(SR_KCALGetText(1234.5, kDefaults), "      1235");
}

TEST(DisplayFormat, DurationSecondsCarryIntoMinutesHoursAndDays) {
    EXPECT_EQ(FormatDuration(1.5), "1:30:00");
    EXPECT_EQ(FormatDuration(0.99999), "1:00:00");
    EXPECT_EQ(FormatDuration(0.999999), "1:00:00");
    EXPECT_EQ(FormatDuration(23.99999999), "1den 0:00:00");  // carry reaches the day
    EXPECT_EQ(FormatDuration(24), "1den 0:00:00");
    EXPECT_EQ(FormatDuration(25.25), "1den 1:15:00");
    EXPECT_EQ(FormatDuration(49.5), "2den 1:30:00");
    EXPECT_EQ(FormatDuration(1.0 / 3600), "0:00:01");
    EXPECT_EQ(FormatDuration(-1.5), "-1:30:00");
}

TEST(DisplayFormat, DurationHalfSecondGoesToTheEvenNeighbour) {
    EXPECT_EQ(FormatDuration(0.03125), "0:01:52");  // 1 min 52.5 s, exact in binary
    EXPECT_EQ(FormatDuration(0.09375), "0:05:38");  // 5 min 37.5 s
}

TEST(DisplayFormat, NullTimesMonthCodesDirectionsAndYesNo) {
    EXPECT_EQ(CASGetText(Value()), "0:00:00");
    EXPECT_EQ(CASGetTextNull(Value()), "");
    EXPECT_EQ(CASGetTextNull(0.3), "0:18:00");
    EXPECT_EQ(MESICGetText(2003005), "5.2003");
    EXPECT_EQ(MESICGetText(2001012.0), "12.2001");
    EXPECT_EQ(MESICGetText(Value()), "0.0");
    EXPECT_EQ(MonthCode(*Date::FromYmd(2001, 12, 31)), 2001012);
    EXPECT_EQ(MonthCode(*Date::FromYmd(2002, 1, 1)), 2002001);
    EXPECT_EQ(SMERGetText(1), "===>>");
    EXPECT_EQ(SMERGetText(2.0), "<<===");
    EXPECT_EQ(SMERGetText(0), "=====");
    EXPECT_EQ(SMERGetText(Value()), "=====");
    EXPECT_EQ(TTRNZZADNE_TRSGetText(true), "ANO");
    EXPECT_EQ(TTRNZZADNE_TRSGetText(Value()), "NE");
}

TEST(DisplayFormat, CommaBecomesPointOnlyWithTheOptionOn) {
    DisplaySettings s;
    EXPECT_EQ(DecimalKeyFilter(U',', s), U'.');
    EXPECT_EQ(DecimalKeyFilter(U'7', s), U'7');
    s.zamenTeckaCarka = false;
    EXPECT_EQ(DecimalKeyFilter(U',', s), U',');
}

TEST(DisplaySettingsFile, MissingDamagedAndOutOfRangeCountsAreMended) {
    testing::ScratchDir dir;
    SettingsFile ini(dir.file("kolvio.ini"));
    const DisplaySettings none = LoadDisplaySettings(ini);
    EXPECT_EQ(none.prumerDesM, 2);
    EXPECT_EQ(none.rychlMaxDesM, 1);
    EXPECT_EQ(none.srPrPomDesM, 1);
    EXPECT_TRUE(none.zamenTeckaCarka);

    testing::WriteBytes(ini.path(),
                        "[des_mista]\ndelka_des_m=-4\nprumer_des_m=9\nsr_kcal_des_m=x\n"
                        "[SETUP]\nzamenteckacarka=0\n");
    const DisplaySettings s = LoadDisplaySettings(ini);
    EXPECT_EQ(s.delkaDesM, 0);
    EXPECT_EQ(s.prumerDesM, 3);
    EXPECT_EQ(s.srKcalDesM, 0);
    EXPECT_FALSE(s.zamenTeckaCarka);
}

TEST(DisplaySettingsFile, SavedCountsApplyToTheNextDisplay) {
    testing::ScratchDir dir;
    SettingsFile ini(dir.file("kolvio.ini"));
    ASSERT_TRUE(ini.writeInteger("Zobr_dotaz1", "index_soubory", 1).ok());
    std::vector<int> values = ReadConfigSettings(ini);
    for (size_t i = 0; i < values.size(); ++i) {
        if (std::string_view(kConfigSettings[i].key) == "delka_des_m") values[i] = 3;
        if (std::string_view(kConfigSettings[i].key) == kCommaKey) values[i] = 0;
    }
    ASSERT_TRUE(WriteConfigSettings(ini, values).ok());
    const DisplaySettings back = LoadDisplaySettings(ini);
    EXPECT_EQ(DELKAGetText(42.5, back), "    42.500");
    EXPECT_FALSE(back.zamenTeckaCarka);
    EXPECT_TRUE(ini.readBool("Zobr_dotaz1", "index_soubory", false));
}

}  // namespace
}  // namespace kolvio
