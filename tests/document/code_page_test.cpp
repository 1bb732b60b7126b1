#include "document/code_page.h"

#include <gtest/gtest.h>
#include <vector>

namespace trelvik {
namespace {

TEST(CodePage, EveryByteSurvivesARoundTripThroughText)
{
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
    EXPECT_EQ(Utf8ToCp437(Cp437ToUtf8(all)), all);
}

TEST(CodePage, GermanLettersUseTheDosCodes)
{
    // Real maps store these names with the IBM PC codes, and other map tools read them so.
    EXPECT_EQ(Utf8ToCp437("T\u00fcr"), (std::vector<uint8_t>{0x54, 0x81, 0x72}));
    EXPECT_EQ(Utf8ToCp437("\u00e4\u00f6\u00df"), (std::vector<uint8_t>{0x84, 0x94, 0xE1}));
    const std::vector<uint8_t> bytes{0x54, 0x81, 0x72};
    EXPECT_EQ(Cp437ToUtf8(bytes), "T\u00fcr");
}

TEST(CodePage, LowerHalfIsPlainAscii)
{
    const std::vector<uint8_t> bytes{0x00, 0x01, 0x0D, 0x41, 0x7F};
    EXPECT_EQ(Cp437ToUtf8(bytes), std::string("\0\x01\r"
                                              "A\x7F",
                                              5));
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    // Euro sign, a CJK character, an emoji (4-byte UTF-8) and a Cyrillic letter.
    EXPECT_EQ(Utf8ToCp437("\u20ac\u4e2d\U0001F600\u0416a"),
              (std::vector<uint8_t>{'?', '?', '?', '?', 'a'}));
}

TEST(CodePage, MalformedUtf8BecomesOneQuestionMarkPerByte)
{
    // A stray continuation byte, a truncated sequence and an overlong encoding of '/'.
    EXPECT_EQ(Utf8ToCp437("\x80x\xC3"), (std::vector<uint8_t>{'?', 'x', '?'}));
    EXPECT_EQ(Utf8ToCp437("\xC0\xAF"), (std::vector<uint8_t>{'?', '?'}));
    // An encoded surrogate half is not a character.
    EXPECT_EQ(Utf8ToCp437("\xED\xA0\x80"), (std::vector<uint8_t>{'?', '?', '?'}));
}

} // namespace
} // namespace trelvik
