// Values in and out of record bytes, and text in and out of code pages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "data/codepage.h"
#include "data/dbf/record_codec.h"
#include "data/index/collation.h"

namespace kolvio {
namespace {

FieldLayout Layout(FieldDef def) {
    FieldLayout f;
    static_cast<FieldDef&>(f) = def;
    f.offset = 1;
    return f;
}

Value RoundTrip(const FieldLayout& f, const Value& v, Status* st = nullptr) {
    std::string rec(1 + f.length, ' ');
    const Status s = EncodeField(f, v, rec.data(), CodePage::kCp852, nullptr);
    if (st) *st = s;
    return DecodeField(f, rec.data(), CodePage::kCp852, nullptr);
}

TEST(CodePageTest, CzechLettersSurviveBothPages) {
    const std::string text = "Příliš žluťoučký kůň úpěl ďábelské ódy ŘŠČŽÝÁÍÉŮÚĎŤŇĚ";
    for (CodePage page : {CodePage::kCp852, CodePage::kCp1250}) {
        const std::string bytes = EncodeFromUtf8(text, page);
        EXPECT_EQ(bytes.size(), 53u);  // one byte per letter
        EXPECT_EQ(DecodeToUtf8(bytes, page), text);
    }
}

TEST(CodePageTest, SameLetterHasDifferentBytesInEachPage) {
    EXPECT_EQ(EncodeFromUtf8("č", CodePage::kCp852), "\x9F");
    EXPECT_EQ(EncodeFromUtf8("č", CodePage::kCp1250), "\xE8");
}

TEST(CodePageTest, CharactersThePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(EncodeFromUtf8("€ 5", CodePage::kCp852), "? 5");
    EXPECT_EQ(EncodeFromUtf8("a\xFF"
                             "b",
                             CodePage::kCp852),
              "a?b");  // invalid UTF-8
}

TEST(CodePageTest, UndefinedWindowsBytesDecodeWithoutLoss) {
    const std::string raw("\x81\x98", 2);
    EXPECT_EQ(EncodeFromUtf8(DecodeToUtf8(raw, CodePage::kCp1250), CodePage::kCp1250), raw);
    EXPECT_TRUE(IsValidUtf8(DecodeToUtf8(raw, CodePage::kCp1250)));
    EXPECT_FALSE(IsValidUtf8("\xC3"));
    EXPECT_FALSE(IsValidUtf8("\xE8 ano"));  // Windows-1250 text is not UTF-8
}

TEST(RecordCodecTest, NumbersRoundToTheFieldDecimals) {
    const FieldLayout f = Layout(FieldDef::Float("KM", 20, 4));
    EXPECT_EQ(RoundTrip(f, 42.123456).asDouble(), 42.1235);
    EXPECT_EQ(RoundTrip(f, -0.0).asDouble(), 0.0);
    EXPECT_TRUE(RoundTrip(f, Value()).isNull());
}

TEST(RecordCodecTest, WideNumberDropsDecimalsBeforeItFails) {
    const FieldLayout f = Layout(FieldDef::Numeric("N", 6, 2));
    EXPECT_EQ(RoundTrip(f, 1234.5).asDouble(), 1234.5);  // "1234.5" fits with one decimal
    EXPECT_EQ(RoundTrip(f, 123456.0).asDouble(), 123456.0);
    Status st;
    RoundTrip(f, 1234567.0, &st);
    EXPECT_FALSE(st.ok());
}

TEST(RecordCodecTest, NumbersAreWrittenAsPrintfWritesThem) {
    // Halfway cases, exact binary values just off them, huge and tiny values:
    // the field must hold the same digits as "%.*f" gives.
    std::mt19937_64 rng(7);
    std::vector<double> values = {0.125, 0.375, 2.5, -2.5, 1e15 + 0.5, 1e-7, 123456.785, -0.0049};
    for (int i = 0; i < 100000; ++i) {
        const double magnitude = std::pow(10.0, static_cast<double>(rng() % 17) - 6);
        values.push_back((static_cast<double>(rng() % 2000001) - 1000000.0) / 1e6 * magnitude);
        // Next to a halfway case of some number of decimals, where rounding
        // the scaled number instead of the exact one would go wrong.
        const double scale = std::pow(10.0, static_cast<double>(rng() % 7));
        const double halfway = (static_cast<double>(rng() % 100000000) + 0.5) / scale;
        values.push_back(halfway);
        values.push_back(std::nextafter(halfway, 0.0));
        values.push_back(-std::nextafter(halfway, 1e300));
    }
    char expected[400];
    for (double v : values) {
        for (int decimals = 0; decimals <= 6; ++decimals) {
            const int n =
                std::snprintf(expected, sizeof expected, "%*.*f", 20, decimals, v == 0 ? 0.0 : v);
            if (n > 20) continue;  // too wide: fewer decimals, tested above
            const auto text = FormatNumberField(v, 20, decimals);
            ASSERT_TRUE(text) << v;
            ASSERT_EQ(*text, expected) << v << " with " << decimals << " decimals";
        }
    }
}

TEST(RecordCodecTest, BlankAndStarFilledNumbersReadAsNull) {
    const FieldLayout f = Layout(FieldDef::Numeric("N", 5, 0));
    EXPECT_FALSE(DecodeNumber(f, "      ").has_value());
    EXPECT_FALSE(DecodeNumber(f, " *****").has_value());
    EXPECT_EQ(*DecodeNumber(f, "  1,5"), 1.5);
    EXPECT_FALSE(DecodeNumber(f, "  1x5").has_value());
}

TEST(RecordCodecTest, DatesAndLogicals) {
    const FieldLayout d = Layout(FieldDef::DateField("D"));
    EXPECT_EQ(RoundTrip(d, *Date::FromYmd(1999, 12, 31)).asDate().toIso(), "1999-12-31");
    EXPECT_TRUE(DecodeField(d, " 20230230", CodePage::kCp852, nullptr).isNull());  // 30 Feb
    EXPECT_TRUE(DecodeField(d, " 00000000", CodePage::kCp852, nullptr).isNull());
    const FieldLayout l = Layout(FieldDef::Logical("L"));
    EXPECT_EQ(RoundTrip(l, true), Value(true));
    EXPECT_EQ(RoundTrip(l, false), Value(false));
    EXPECT_TRUE(RoundTrip(l, Value()).isNull());
    EXPECT_EQ(DecodeField(l, " y", CodePage::kCp852, nullptr), Value(true));
    EXPECT_TRUE(DecodeField(l, " ?", CodePage::kCp852, nullptr).isNull());
}

TEST(RecordCodecTest, TextLongerThanTheFieldIsRefusedNotCut) {
    const FieldLayout f = Layout(FieldDef::Char("T", 4));
    Status st;
    EXPECT_EQ(RoundTrip(f, "čtyř").asText(), "čtyř");  // four bytes in code page 852
    RoundTrip(f, "pětka", &st);
    EXPECT_FALSE(st.ok());
    EXPECT_EQ(RoundTrip(f, "  a").asText(), "  a");  // leading blanks are kept
}

TEST(RecordCodecTest, WrongKindOfValueIsRefused) {
    Status st;
    RoundTrip(Layout(FieldDef::DateField("D")), 5.0, &st);
    EXPECT_FALSE(st.ok());
    RoundTrip(Layout(FieldDef::Char("C", 5)), 5.0, &st);
    EXPECT_FALSE(st.ok());
}

TEST(CollationTest, CzechAlphabeticalOrder) {
    const std::vector<std::string> ordered = {"a",    "Á",    "b",     "cibule", "čaj", "dům",
                                              "dýně", "hrad", "chata", "ibis",   "rak", "řeka",
                                              "sad",  "šál",  "zub",   "žito"};
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        EXPECT_LT(CompareCzech(ordered[i], ordered[i + 1]), 0)
            << ordered[i] << " " << ordered[i + 1];
    }
}

TEST(CollationTest, CaseAndAccentsOnlyBreakTies) {
    EXPECT_LT(CompareCzech("brno", "Brno"), 0);
    EXPECT_LT(CompareCzech("Brno", "brnoa"), 0);
    EXPECT_LT(CompareCzech("Tábor", "tabory"), 0);
    EXPECT_LT(CompareCzech("a", "ab"), 0);
    EXPECT_EQ(CompareCzech("Žďár", "Žďár"), 0);
}

}  // namespace
}  // namespace kolvio
