#include "rides/figure_input.h"

#include <gtest/gtest.h>

#include "app/display_format.h"

namespace kolvio {
namespace {

TEST(ParseDuration, TypedTimeGivesExactHours) {
    EXPECT_EQ(ParseDuration("1:30:00"), 1.5);
    EXPECT_EQ(ParseDuration("0:00:01"), 1.0 / 3600);
    EXPECT_EQ(ParseDuration("0:18:00"), 0.3);
    EXPECT_EQ(ParseDuration(" 9:59:59 "), (9 * 3600 + 59 * 60 + 59) / 3600.0);
    EXPECT_EQ(ParseDuration("1:5:3"), (3600 + 5 * 60 + 3) / 3600.0);
}

TEST(ParseDuration, OutOfRangeBlankOrIncompleteTimeIsInvalid) {
    for (const char* text :
         {"0:60:00",        "0:00:60",        "1: 5:00",       "1:30",         "",
          " :  :  ",        "-1:00:00",       "1:00:00:00",    "a:00:00",      "1:000:00",
          "10000:00:00",    "12345:00:00",    "1den 24:00:00", "1den1:00:00",  "den 1:00:00",
          "1 den 1:00:00",  "1den",           "1den 1:15",     "1Den 1:00:00", "417den 0:00:00",
          "1den 100:00:00", "1000den 0:00:00"}) {
        EXPECT_EQ(ParseDuration(text), std::nullopt) << text;
    }
    EXPECT_EQ(InvalidTimeMessage("0:60:00"), "'0:60:00' is not a valid time");
}

TEST(ParseDuration, LongRidesAndTheDaysFormAreTimes) {
    EXPECT_EQ(ParseDuration("10:00:00"), 10);
    EXPECT_EQ(ParseDuration("24:00:00"), 24);
    EXPECT_EQ(ParseDuration("89:30:00"), 89.5);
    EXPECT_EQ(ParseDuration("9999:59:59"), (9999 * 3600 + 59 * 60 + 59) / 3600.0);
    EXPECT_EQ(ParseDuration("1den 1:15:00"), 25.25);
    EXPECT_EQ(ParseDuration(" 2den   0:00:00 "), 48);
    EXPECT_EQ(ParseDuration("416den 15:59:59"), ParseDuration("9999:59:59"));
}

// Whatever time the program shows is read back as the time it stands for,
// to the second, so a box left unchanged is never refused.
TEST(ParseDuration, EveryShownTimeReadsBack) {
    for (const double hours : {0.0, 1.0 / 3600, 0.5 / 3600, 0.999999, 9.99, 10.0, 23.99999, 24.0,
                               25.25, 47.999, 89.5, 100.123456, 1234.5678, 9999.99}) {
        const std::string shown = FormatDuration(hours);
        const auto read = ParseDuration(shown);
        ASSERT_TRUE(read.has_value()) << hours << " shown as " << shown;
        EXPECT_NEAR(*read, hours, 0.5 / 3600 + 1e-9) << shown;
        EXPECT_EQ(FormatDuration(*read), shown);
    }
}

TEST(CouldBeTimeText, EveryStepOfTypingATimeIsAllowed) {
    for (const std::string full : {"12:30:00", "1den 1:15:00", "  9:59:59", "1234:00:00"}) {
        for (size_t n = 0; n <= full.size(); ++n)
            EXPECT_TRUE(CouldBeTimeText(full.substr(0, n))) << full.substr(0, n);
    }
    EXPECT_TRUE(CouldBeTimeText("0:60:00"));  // refused when the box is left, with its message
}

TEST(CouldBeTimeText, KeysAMaskWouldRefuseAreRefused) {
    for (const char* text : {"a", "1:2:3:", "1x", "d", "1dex", "1de5", "1:00den", "-1", "1.5",
                             "1den 1den", "1:00:00 den", "12345678901234567"}) {
        EXPECT_FALSE(CouldBeTimeText(text)) << text;
    }
}

TEST(ParseDecimal, OnlyOneCompleteNumberWithAPointIsANumber) {
    EXPECT_EQ(ParseDecimal("25.4"), 25.4);
    EXPECT_EQ(ParseDecimal("  7"), 7);
    EXPECT_EQ(ParseDecimal("+2"), 2);
    EXPECT_EQ(ParseDecimal("-.5"), -0.5);
    EXPECT_EQ(ParseDecimal("5."), 5);
    EXPECT_EQ(ParseDecimal("1E-2"), 0.01);
    EXPECT_EQ(ParseDecimal("1e+3"), 1000);
    for (const char* text : {"25,4", "", " ", "7 ", "1e", "e5", ".", "-", "1.2.3", "--1", "+-1",
                             "1e999", "nan", "inf", "0x10", "1e5x"}) {
        EXPECT_EQ(ParseDecimal(text), std::nullopt) << text;
    }
}

TEST(ParseWholeNumber, FractionsSignsAndOverflowAreRefused) {
    EXPECT_EQ(ParseWholeNumber(" 3"), 3);
    EXPECT_EQ(ParseWholeNumber("+3"), 3);
    EXPECT_EQ(ParseWholeNumber("-3"), -3);
    for (const char* text : {"3.0", "+-3", "-+3", "", "+", "3 ", "99999999999999999999"}) {
        EXPECT_EQ(ParseWholeNumber(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace kolvio
