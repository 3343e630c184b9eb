// The fast reading of numeric fields must agree with DecodeNumber exactly.
#include "data/sql/execution/number_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace kolvio::sql {
namespace {

void ExpectSame(const std::string& text, int width = 20, int decimals = 4) {
    FieldLayout f;
    f.name = "X";
    f.type = FieldType::kFloat;
    f.length = width;
    f.decimals = decimals;
    f.offset = 1;
    std::string record(1 + static_cast<size_t>(width), ' ');
    std::memcpy(record.data() + 1, text.data(), std::min(text.size(), static_cast<size_t>(width)));
    const auto slow = DecodeNumber(f, record.data());
    const auto fast = DecodeNumberFast(f, record.data());
    ASSERT_EQ(slow.has_value(), fast.has_value()) << "[" << text << "]";
    if (slow) {
        EXPECT_EQ(std::signbit(*slow), std::signbit(*fast)) << text;
        EXPECT_EQ(*slow, *fast) << "[" << text << "]";
    }
}

TEST(DecodeNumberFast, AgreesOnUnusualSpellings) {
    for (const char* t : {"",
                          "   ",
                          "12",
                          "-0.0000",
                          "0",
                          "-",
                          ".",
                          "1.",
                          ".5",
                          "  +3.25",
                          "1,5",
                          "1e3",
                          "***",
                          "12.34.5",
                          "0000000000000012.5",
                          "-9999999999999.9999",
                          "123456789012345678",
                          "0.00000000000000000000001",
                          "nan",
                          "inf",
                          "1 2",
                          "\0\0\0",
                          "7\0\0"}) {
        ExpectSame(std::string(t, std::strlen(t) ? std::strlen(t) : 0));
    }
}

TEST(DecodeNumberFast, AgreesOnRandomFormattedNumbers) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 200000; ++i) {
        const int decimals = static_cast<int>(rng() % 7);
        const double magnitude = std::pow(10.0, static_cast<double>(rng() % 12));
        const double v = (static_cast<double>(rng() % 2000001) - 1000000.0) / 1000000.0 * magnitude;
        const auto text = FormatNumberField(v, 20, decimals);
        ASSERT_TRUE(text);
        ExpectSame(*text, 20, decimals);
    }
}

}  // namespace
}  // namespace kolvio::sql
