// Quoted literals read as numbers, dates and logical values.
#include "data/sql/binder/literals.h"

#include <gtest/gtest.h>

namespace kolvio::sql {
namespace {

TEST(DateLiteral, CzechShortFormsAndIso) {
    const Date expected = *Date::FromYmd(2024, 1, 5);
    EXPECT_EQ(ParseDateLiteral("5.1.2024"), expected);
    EXPECT_EQ(ParseDateLiteral("05.01.2024"), expected);
    EXPECT_EQ(ParseDateLiteral("5. 1. 2024"), expected);
    EXPECT_EQ(ParseDateLiteral(" 5.1.2024 "), expected);
    EXPECT_EQ(ParseDateLiteral("2024-01-05"), expected);
}

TEST(DateLiteral, DayThatDoesNotExistIsRefused) {
    EXPECT_FALSE(ParseDateLiteral("31.2.2024"));
    EXPECT_FALSE(ParseDateLiteral("29.2.2023"));
    EXPECT_TRUE(ParseDateLiteral("29.2.2024"));
    EXPECT_FALSE(ParseDateLiteral("0.1.2024"));
    EXPECT_FALSE(ParseDateLiteral("1.13.2024"));
}

TEST(DateLiteral, TwoDigitYearsAndOtherShapesAreRefused) {
    EXPECT_FALSE(ParseDateLiteral("1.1.24"));
    EXPECT_FALSE(ParseDateLiteral("1/1/2024"));
    EXPECT_FALSE(ParseDateLiteral("1.1.2024x"));
    EXPECT_FALSE(ParseDateLiteral(""));
    EXPECT_FALSE(ParseDateLiteral("111.1.2024"));
}

TEST(NumberLiteral, DecimalPointCommaSignAndBlanks) {
    EXPECT_EQ(ParseNumberLiteral("12"), 12.0);
    EXPECT_EQ(ParseNumberLiteral(" -3.5 "), -3.5);
    EXPECT_EQ(ParseNumberLiteral("2,25"), 2.25);
    EXPECT_EQ(ParseNumberLiteral("+7"), 7.0);
    EXPECT_EQ(ParseNumberLiteral(".5"), 0.5);
    EXPECT_EQ(ParseNumberLiteral("1e3"), 1000.0);
}

TEST(NumberLiteral, WordsThatStrtodWouldTakeAreRefused) {
    EXPECT_FALSE(ParseNumberLiteral("inf"));
    EXPECT_FALSE(ParseNumberLiteral("nan"));
    EXPECT_FALSE(ParseNumberLiteral("0x10"));
    EXPECT_FALSE(ParseNumberLiteral("1.1.2024"));
    EXPECT_FALSE(ParseNumberLiteral(""));
    EXPECT_FALSE(ParseNumberLiteral("-"));
    EXPECT_FALSE(ParseNumberLiteral("1e999"));
}

TEST(BoolLiteral, CzechAndDbaseSpellings) {
    EXPECT_EQ(ParseBoolLiteral("T"), true);
    EXPECT_EQ(ParseBoolLiteral("ano"), true);
    EXPECT_EQ(ParseBoolLiteral("f"), false);
    EXPECT_EQ(ParseBoolLiteral("NE"), false);
    EXPECT_FALSE(ParseBoolLiteral("maybe"));
}

}  // namespace
}  // namespace kolvio::sql
