#include "viewer/colour_table.h"
#include "viewer/decimal_number.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

uint8_t GreyAt(const ColourTable &table, std::size_t i)
{
    const ColourEntry &e = table.Entries[i];
    EXPECT_EQ(e.Blue, e.Green) << "entry " << i;
    EXPECT_EQ(e.Green, e.Red) << "entry " << i;
    return e.Red;
}

TEST(GreyRamp, FactorFourWrapsAfterSixtyThree)
{
    ColourTable table;
    FillGreyRamp(table, kHeightRampFactor);
    EXPECT_EQ(GreyAt(table, 0), 0);
    EXPECT_EQ(GreyAt(table, 1), 4);
    EXPECT_EQ(GreyAt(table, 63), 252);
    EXPECT_EQ(GreyAt(table, 64), 0); // 256 wraps
    EXPECT_EQ(GreyAt(table, 65), 4);
    EXPECT_EQ(GreyAt(table, 255), 252); // 1020 mod 256
}

TEST(GreyRamp, FactorOnePointFiveRoundsHalvesToEvenAndWrapsAfter170)
{
    ColourTable table;
    FillGreyRamp(table, kLayer12RampFactor);
    EXPECT_EQ(GreyAt(table, 1), 2);  // 1.5
    EXPECT_EQ(GreyAt(table, 3), 4);  // 4.5
    EXPECT_EQ(GreyAt(table, 5), 8);  // 7.5
    EXPECT_EQ(GreyAt(table, 7), 10); // 10.5
    EXPECT_EQ(GreyAt(table, 170), 255);
    EXPECT_EQ(GreyAt(table, 171), 0); // 256.5 rounds to 256
    EXPECT_EQ(GreyAt(table, 172), 2);
}

TEST(GreyRamp, ShadingFactorAroundItsWrapPoint)
{
    ColourTable table;
    FillGreyRamp(table, kShadingRampFactor);
    EXPECT_EQ(GreyAt(table, 64), 128);  // 127.744: flat shading shows mid grey
    EXPECT_EQ(GreyAt(table, 125), 250); // 249.5 goes to the even 250
    EXPECT_EQ(GreyAt(table, 127), 253); // 253.492
    EXPECT_EQ(GreyAt(table, 128), 255); // 255.488
    EXPECT_EQ(GreyAt(table, 129), 1);   // 257.484 wraps
}

TEST(GreyRamp, LeavesReservedBytesAlone)
{
    ColourTable table;
    for (std::size_t i = 0; i < kColourCount; ++i)
        table.Entries[i].Reserved = static_cast<uint8_t>(255 - i);
    FillGreyRamp(table, kLayer12RampFactor);
    for (std::size_t i = 0; i < kColourCount; ++i)
        EXPECT_EQ(table.Entries[i].Reserved, 255 - i);
}

TEST(GreyRamp, MatchesExactRationalRoundingForEveryEntryAndFactor)
{
    // Independent of the integer routine: i * f / 10000 compared with its neighbours in
    // doubles far from any tie, ties detected exactly in integers.
    for (const int32_t factor : {1, 4999, 5000, 15000, 19960, 25000, 40000, 123457}) {
        ColourTable table;
        FillGreyRamp(table, factor);
        for (int i = 0; i < 256; ++i) {
            const int64_t scaled = int64_t{i} * factor;
            int64_t expected = scaled / 10000;
            const int64_t rest = scaled % 10000;
            if (rest > 5000 || (rest == 5000 && expected % 2 == 1))
                ++expected;
            EXPECT_EQ(GreyAt(table, static_cast<std::size_t>(i)), expected % 256)
                << "factor " << factor << " entry " << i;
        }
    }
}

TEST(DivideRoundHalfEven, TiesGoToEvenOnBothSides)
{
    EXPECT_EQ(DivideRoundHalfEven(5, 2), 2);
    EXPECT_EQ(DivideRoundHalfEven(7, 2), 4);
    EXPECT_EQ(DivideRoundHalfEven(-5, 2), -2);
    EXPECT_EQ(DivideRoundHalfEven(-7, 2), -4);
    EXPECT_EQ(DivideRoundHalfEven(-5, 3), -2);
    EXPECT_EQ(DivideRoundHalfEven(-4, 3), -1);
    EXPECT_EQ(DivideRoundHalfEven(0, 7), 0);
}

} // namespace
} // namespace trelvik
