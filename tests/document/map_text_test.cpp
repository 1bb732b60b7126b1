#include "document/map_text.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(MapText, HexPadPadsButNeverCuts)
{
    EXPECT_EQ(HexPad(10, 2), "0A");
    EXPECT_EQ(HexPad(255, 2), "FF");
    EXPECT_EQ(HexPad(0, 2), "00");
    EXPECT_EQ(HexPad(0x1234, 2), "1234");
    EXPECT_EQ(HexPad(0x10, 0), "10");
}

TEST(MapText, UnknownBytes)
{
    MapHeader header;
    EXPECT_EQ(UnknownBytesText(header), "Unknown bytes: 00 00 00 00 00 00 00 00");
    header.UnknownBytes = {0x01, 0xAB};
    EXPECT_EQ(UnknownBytesText(header), "Unknown bytes: 01 AB 00 00 00 00 00 00");
}

TEST(MapText, SevenHeadquartersLinesWhateverThePlayerCount)
{
    MapHeader header;
    header.PlayerCount = 2;
    header.HeadquartersX[0] = 10;
    header.HeadquartersY[0] = 20;
    header.HeadquartersX[6] = -1; // stored as 65535
    const std::string text = HeadquartersText(header);
    EXPECT_EQ(text.substr(0, 20), "Player 1: 10 x 20\r\nP");
    EXPECT_NE(text.find("Player 7: -1 x 0\r\n"), std::string::npos);
    EXPECT_EQ(text.size() - text.rfind("\r\n"), 2u); // ends with a line break
    int lines = 0;
    for (std::size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2)
        ++lines;
    EXPECT_EQ(lines, 7);
}

TEST(MapText, Rows)
{
    EXPECT_EQ(AnimalRow(AnimalEntry{2, 10, 20}), "Fox\t10 x 20");
    EXPECT_EQ(AnimalRow(AnimalEntry{7, -3, 0}), "Deer\t-3 x 0");
    EXPECT_EQ(AreaRow(AreaEntry{1, 12, 34, 567}), "Land\t12 x 34\t567 bytes");
    EXPECT_EQ(AreaRow(AreaEntry{3, 0, 0, -5}), "Unknown (3)\t0 x 0\t-5 bytes");
}

TEST(MapText, AreaRowsStopAtTheFirstEmptyEntry)
{
    MapHeader header;
    header.Areas[1] = AreaEntry{1, 1, 1, 1};
    EXPECT_TRUE(AreaRows(header).empty());
    header.Areas[0] = AreaEntry{2, 5, 6, 7};
    ASSERT_EQ(AreaRows(header).size(), 2u);
    header.Areas[249] = AreaEntry{1, 9, 9, 9};
    header.Areas[2] = AreaEntry{};
    header.Areas[3] = AreaEntry{1, 2, 2, 2};
    EXPECT_EQ(AreaRows(header).size(), 2u);
}

} // namespace
} // namespace trelvik
