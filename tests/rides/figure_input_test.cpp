#include "rides/figure_input.h"

#include <gtest/gtest.h>

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
    for (const char* text : {"0:60:00", "0:00:60", "24:00:00", "1: 5:00", "1:30", "", " :  :  ",
                             "-1:00:00", "1:00:00:00", "a:00:00", "100:00:00", "1:000:00"}) {
        EXPECT_EQ(ParseDuration(text), std::nullopt) << text;
    }
    EXPECT_EQ(InvalidTimeMessage("0:60:00"), "'0:60:00' is not a valid time");
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
