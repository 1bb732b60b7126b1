// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_maps.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"

#include <gtest/gtest.h>
#include <random>

namespace trelvik {
namespace {

// The 18 triangles around a point, (layer, row offset, column offset in even rows, in odd rows):
// the rows above and below an odd row lie one column further right.
constexpr int kAround[18][4] = {{2, -2, -1, -1}, {2, -2, 0, 0},   {2, -2, 1, 1}, {3, -2, -1, -1},
                                {3, -2, 0, 0},   {2, -1, -2, -1}, {2, -1, 1, 2}, {3, -1, -2, -1},
                                {3, -1, 0, 1},   {2, 0, -1, -1},  {2, 0, 1, 1},  {3, 0, -2, -2},
                                {3, 0, 1, 1},    {2, 1, -1, 0},   {2, 1, 0, 1},  {3, 1, -2, -1},
                                {3, 1, -1, 0},   {3, 1, 0, 1}};

// The fix written out point by point, in scan order and in place like the tool.
int32_t ExpectedFix(MapDocument &doc, std::vector<std::size_t> &marks)
{
    const int w = doc.Header.Width;
    int32_t count = 0;
    for (int y = 2; y < doc.Header.Height - 2; ++y) {
        for (int x = 2; x < w - 2; ++x) {
            uint8_t &own = doc.Layer(2)[test::PointIndex(doc, x, y)];
            if (doc.Layer(9)[test::PointIndex(doc, x, y)] != 4 || (own & 0x40) != 0)
                continue;
            bool water = false;
            for (const auto &[layer, dy, dxEven, dxOdd] : kAround) {
                const uint8_t code = doc.Layer(layer).at(
                    test::PointIndex(doc, x + (y % 2 == 0 ? dxEven : dxOdd), y + dy));
                water = water || code == 5 || code == 6 || code == 19;
            }
            if (water) {
                own = static_cast<uint8_t>(own | 0x40);
                marks.push_back(test::PointIndex(doc, x, y));
                ++count;
            }
        }
    }
    return count;
}

TEST(CoastalCastleFix, MarksExactlyTheCastleSitesBesideWater)
{
    std::mt19937 random(7);
    const uint8_t codes[] = {5, 6, 19, 8, 8, 8, 8, 8, 0x45, 0x85, 0x46, 4, 7, 21, 0x53, 0};
    const uint8_t qualities[] = {4, 4, 4, 4, 3, 0, 5, 0x84};
    int32_t total = 0;
    for (int round = 0; round < 300; ++round) {
        MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(4 + random() % 30),
                                            static_cast<int16_t>(4 + random() % 30));
        for (const int k : {2, 3, 9})
            for (uint8_t &b : doc.Layer(k))
                b = k == 9 ? qualities[random() % 8]
                           : (random() % 4   ? 8
                              : random() % 2 ? codes[random() % 16]
                                             : static_cast<uint8_t>(random()));
        MapDocument expected = doc;
        std::vector<std::size_t> marks, changed = {7}; // the list is replaced, not added to
        const int32_t count = ExpectedFix(expected, marks);
        total += count;
        ASSERT_EQ(CoastalCastleFix(doc, round % 2 ? &changed : nullptr), count) << round;
        ASSERT_EQ(doc, expected) << "round " << round;
        ASSERT_EQ(round % 2 ? changed : marks, marks) << "round " << round;
        ASSERT_EQ(CoastalCastleFix(doc, &changed), 0) << "round " << round;
        ASSERT_EQ(doc, expected) << "round " << round;
        ASSERT_TRUE(changed.empty()) << "round " << round;
    }
    EXPECT_GT(total, 3000); // the maps have coasts
    MapDocument big = test::MakeFlatMap(256, 256);
    big.Layer(3).assign(big.Layer(3).size(), 5);
    EXPECT_EQ(CoastalCastleFix(big), 252 * 252); // past 16 bits
}

// Maps whose layers are shorter than the header claims are read within their bounds.
TEST(CoastalCastleFix, ShortLayersAndImpossibleSizes)
{
    // (layer 2 length, layer 3 length, layer 9 length, width, height) -> marked points. Layer 3
    // holds water in rows 0 to 5, which rows 2 to 7 reach.
    for (const auto &[l2, l3, l9, w, h, marked] : {std::tuple{256, 96, 256, 16, 16, 6 * 12},
                                                   {256, 96, 80, 16, 16, 3 * 12},
                                                   {67, 96, 256, 16, 16, 2 * 12 + 1},
                                                   {256, 256, 256, 30000, 30000, 0},
                                                   {256, 256, 256, -16, 16, 0},
                                                   {0, 0, 0, 0, 0, 0}}) {
        MapDocument doc = test::MakeFlatMap(16, 16);
        doc.Layer(3).assign(static_cast<std::size_t>(l3), 5);
        doc.Layer(2).resize(static_cast<std::size_t>(l2));
        doc.Layer(9).resize(static_cast<std::size_t>(l9));
        doc.Header.Width = static_cast<int16_t>(w);
        doc.Header.Height = static_cast<int16_t>(h);
        EXPECT_EQ(CoastalCastleFix(doc), marked) << l2 << " " << l3 << " " << l9 << " " << w;
    }
}

TEST(AnimalRemoval, EmptiesTheFooterAndKeepsEverythingElse)
{
    MapDocument doc = test::MakeDocument(32, 32, 3);
    MapDocument expected = doc;
    expected.Animals.clear();
    RemoveAnimals(doc);
    EXPECT_EQ(doc, expected);
    RemoveAnimals(doc);
    EXPECT_EQ(doc, expected);
}

} // namespace
} // namespace trelvik
