#include "document/fixed_text_field.h"

#include <array>
#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(FixedTextField, ShortTextIsFilledWithZeros)
{
    std::array<uint8_t, 20> field;
    field.fill(0xEE);
    FixedTextField::Store(field, "New Map");
    const std::array<uint8_t, 20> expected{'N', 'e', 'w', ' ', 'M', 'a', 'p'};
    EXPECT_EQ(field, expected);
}

TEST(FixedTextField, LongTextIsCutWithoutAZeroByte)
{
    std::array<uint8_t, 20> field{};
    FixedTextField::Store(field, "ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(FixedTextField::Read(field), "ABCDEFGHIJKLMNOPQRST");
}

TEST(FixedTextField, CutCountsStoredBytesNotUtf8Bytes)
{
    // Twenty umlauts are forty UTF-8 bytes but twenty code page bytes: all of them fit.
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "\u00fc";
    std::array<uint8_t, 20> field{};
    FixedTextField::Store(field, text);
    for (uint8_t b : field)
        EXPECT_EQ(b, 0x81);
}

TEST(FixedTextField, EmptyTextGivesZeros)
{
    std::array<uint8_t, 10> field;
    field.fill('x');
    FixedTextField::Store(field, "");
    EXPECT_EQ(field, (std::array<uint8_t, 10>{}));
}

TEST(FixedTextField, DisplayTurnsZerosIntoSpacesAndTrims)
{
    std::array<uint8_t, 20> field{'M', 'a', 'p'};
    EXPECT_EQ(FixedTextField::Display(field), "Map");
    EXPECT_EQ(FixedTextField::Display(std::array<uint8_t, 20>{}), "");
    const std::array<uint8_t, 20> inner{'A', 'B', 0, 'C', 'D'};
    EXPECT_EQ(FixedTextField::Display(inner), "AB CD");
    const std::array<uint8_t, 8> padded{' ', 0, 'x', ' ', 'y', 0, ' ', 0};
    EXPECT_EQ(FixedTextField::Display(padded), "x y");
}

TEST(FixedTextField, ReadKeepsZerosForTheSignatureTest)
{
    const std::array<uint8_t, 10> field{'W', 'O', 'R', 'L', 'D', 0};
    EXPECT_EQ(FixedTextField::Read(field), std::string("WORLD\0\0\0\0\0", 10));
}

} // namespace
} // namespace trelvik
