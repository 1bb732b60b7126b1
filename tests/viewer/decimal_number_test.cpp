#include "viewer/decimal_number.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

int64_t Rounded(const char *text)
{
    const auto number = ParseDecimal(text);
    EXPECT_TRUE(number.has_value()) << text;
    return number ? RoundHalfEven(*number) : -999;
}

TEST(DecimalNumber, AcceptsOnlySignDigitsAndOneFraction)
{
    for (const char *good : {"0", "255", "+7", "-3", "1.5", "007", "-0.0", "12.000000000001"})
        EXPECT_TRUE(ParseDecimal(good).has_value()) << good;
    for (const char *bad : {"", " 1", "1 ", "+", "-", ".5", "5.", "1e3", "0x10", "1,5", "1.2.3",
                            "++1", "1-", "\t1", "inf", "nan", "1\n"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << '"' << bad << '"';
}

TEST(DecimalNumber, RoundsHalfToEvenWithFractionsOfAnyLength)
{
    EXPECT_EQ(Rounded("2.5"), 2);
    EXPECT_EQ(Rounded("3.5"), 4);
    EXPECT_EQ(Rounded("2.50000000000000000001"), 3);
    EXPECT_EQ(Rounded("2.49999999999999999999"), 2);
    EXPECT_EQ(Rounded("255.4"), 255);
    EXPECT_EQ(Rounded("255.5"), 256);
    EXPECT_EQ(Rounded("-0.5"), 0);
    EXPECT_EQ(Rounded("-1.5"), -2);
    EXPECT_EQ(Rounded("-0.6"), -1);
    EXPECT_EQ(Rounded("0.0500"), 0);
}

TEST(DecimalNumber, HugeWholePartsSaturate)
{
    EXPECT_EQ(Rounded("99999999999999999999999999999999"),
              static_cast<int64_t>(kDecimalWholeLimit));
    EXPECT_EQ(Rounded("-99999999999999999999999999999999"),
              -static_cast<int64_t>(kDecimalWholeLimit));
}

TEST(DecimalNumber, MinusOneIsExactAroundZero)
{
    // round(n - 1) for counts that straddle zero, worked out by hand.
    const struct
    {
        const char *Text;
        int64_t Expected;
    } cases[] = {
        {"256", 255}, {"3", 2},     {"1", 0},    {"0", -1},    {"0.4", -1},
        {"0.5", 0},   {"0.6", 0},   {"1.5", 0},  {"2.5", 2},   {"-0.5", -2},
        {"-1", -2},   {"0.01", -1}, {"0.99", 0}, {"-0.4", -1}, {"1.4999", 0},
    };
    for (const auto &c : cases) {
        const auto number = ParseDecimal(c.Text);
        ASSERT_TRUE(number.has_value()) << c.Text;
        EXPECT_EQ(RoundHalfEven(MinusOne(*number)), c.Expected) << c.Text;
    }
}

} // namespace
} // namespace trelvik
