#include "../viewer/hand_map.h"
#include "tools/coastal_castle_fix.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace trelvik {
namespace {

using Point = std::pair<int, int>;

std::set<Point> Marked(const MapDocument &doc)
{
    std::set<Point> points;
    for (int y = 0; y < doc.Header.Height; ++y) {
        for (int x = 0; x < doc.Header.Width; ++x) {
            if (doc.Layer(2)[test::PointIndex(doc, x, y)] & kHarbourBit)
                points.insert({x, y});
        }
    }
    return points;
}

void SetByte(MapDocument &doc, int layer, int x, int y, uint8_t value)
{
    doc.Layer(layer)[test::PointIndex(doc, x, y)] = value;
}

TEST(CoastalCastleFix, SecondTriangleInAnEvenRow)
{
    MapDocument doc = test::MakeFlatMap(12, 12);
    SetByte(doc, 3, 5, 5, 5);
    EXPECT_EQ(CoastalCastleFix(doc), 9);
    // Worked out from the neighbourhood by hand: row 7 looks two rows up at columns x - 1 and x,
    // row 6 one row up at x - 2 and x, row 5 at x - 2 and x + 1, row 4 below at x - 2 .. x.
    const std::set<Point> expected = {{5, 7}, {6, 7}, {5, 6}, {7, 6}, {4, 5},
                                      {7, 5}, {5, 4}, {6, 4}, {7, 4}};
    EXPECT_EQ(Marked(doc), expected);
    // Only the harbour bit changes.
    EXPECT_EQ(doc.Layer(2)[test::PointIndex(doc, 5, 7)], 8 | kHarbourBit);
}

TEST(CoastalCastleFix, FirstTriangleSeesNeighboursButNotItself)
{
    MapDocument doc = test::MakeFlatMap(12, 12);
    SetByte(doc, 2, 5, 5, 5); // the point's own first triangle is water
    EXPECT_EQ(CoastalCastleFix(doc), 9);
    const std::set<Point> expected = {{4, 7}, {5, 7}, {6, 7}, {4, 6}, {7, 6},
                                      {4, 5}, {6, 5}, {5, 4}, {6, 4}};
    EXPECT_EQ(Marked(doc), expected);
    EXPECT_EQ(doc.Layer(2)[test::PointIndex(doc, 5, 5)], 5);
}

TEST(CoastalCastleFix, OddRowsAreShifted)
{
    MapDocument doc = test::MakeFlatMap(12, 12);
    SetByte(doc, 3, 5, 6, 19);
    EXPECT_EQ(CoastalCastleFix(doc), 9);
    // Rows 5 and 7 are odd: their neighbours in row 6 move one column right.
    const std::set<Point> expected = {{5, 8}, {6, 8}, {4, 7}, {6, 7}, {4, 6},
                                      {7, 6}, {4, 5}, {5, 5}, {6, 5}};
    EXPECT_EQ(Marked(doc), expected);
}

TEST(CoastalCastleFix, WaterCodesAreWholeBytes)
{
    for (const uint8_t code : {uint8_t{5}, uint8_t{6}, uint8_t{19}}) {
        MapDocument doc = test::MakeFlatMap(12, 12);
        SetByte(doc, 3, 5, 5, code);
        EXPECT_EQ(CoastalCastleFix(doc), 9) << int{code};
    }
    for (const uint8_t code : {uint8_t{0x45}, uint8_t{0x85}, uint8_t{0x46}, uint8_t{4}, uint8_t{7},
                               uint8_t{21}, uint8_t{0x53}}) {
        MapDocument doc = test::MakeFlatMap(12, 12);
        SetByte(doc, 3, 5, 5, code);
        SetByte(doc, 2, 6, 6, code);
        const MapDocument before = doc;
        EXPECT_EQ(CoastalCastleFix(doc), 0) << int{code};
        EXPECT_EQ(doc, before) << int{code};
    }
}

TEST(CoastalCastleFix, OnlyUnmarkedCastleSitesAreMarked)
{
    MapDocument doc = test::MakeFlatMap(12, 12);
    SetByte(doc, 3, 5, 5, 5);
    SetByte(doc, 2, 5, 7, 8 | kHarbourBit); // already a harbour
    SetByte(doc, 9, 6, 7, 3);               // not a castle site
    SetByte(doc, 9, 7, 6, 0);
    EXPECT_EQ(CoastalCastleFix(doc), 6);
    const std::set<Point> expected = {{5, 7}, {5, 6}, {4, 5}, {7, 5}, {5, 4}, {6, 4}, {7, 4}};
    EXPECT_EQ(Marked(doc), expected);
    EXPECT_EQ(doc.Layer(2)[test::PointIndex(doc, 5, 7)], 8 | kHarbourBit);
    EXPECT_EQ(doc.Layer(2)[test::PointIndex(doc, 6, 7)], 8);
}

TEST(CoastalCastleFix, QualityOtherThanFourIsNeverMarked)
{
    for (const uint8_t quality : {0, 1, 2, 3, 5, 0x84}) {
        MapDocument doc = test::MakeFlatMap(16, 16);
        doc.Layer(2).assign(doc.Layer(2).size(), 5);
        doc.Layer(3).assign(doc.Layer(3).size(), 5);
        doc.Layer(9).assign(doc.Layer(9).size(), quality);
        EXPECT_EQ(CoastalCastleFix(doc), 0) << int{quality};
    }
}

TEST(CoastalCastleFix, OuterRowsAndColumnsStayAndSecondRunFindsNothing)
{
    for (const auto &[w, h] : {std::pair<int16_t, int16_t>{16, 16}, {21, 9}, {5, 5}, {4, 30}}) {
        MapDocument doc = test::MakeFlatMap(w, h);
        doc.Layer(3).assign(doc.Layer(3).size(), 6);
        const int expected = std::max(w - 4, 0) * std::max(h - 4, 0);
        EXPECT_EQ(CoastalCastleFix(doc), expected) << w << " x " << h;
        for (const auto &[x, y] : Marked(doc)) {
            EXPECT_TRUE(x >= 2 && x <= w - 3 && y >= 2 && y <= h - 3) << x << ", " << y;
        }
        EXPECT_EQ(static_cast<int>(Marked(doc).size()), expected);
        const MapDocument after = doc;
        EXPECT_EQ(CoastalCastleFix(doc), 0);
        EXPECT_EQ(doc, after);
    }
}

TEST(CoastalCastleFix, CountsPastSixteenBits)
{
    MapDocument doc = test::MakeFlatMap(256, 256);
    doc.Layer(3).assign(doc.Layer(3).size(), 5);
    EXPECT_EQ(CoastalCastleFix(doc), 252 * 252); // 63504
}

TEST(CoastalCastleFix, NoMapMeansNothingToFix)
{
    MapDocument empty;
    EXPECT_EQ(CoastalCastleFix(empty), 0);

    MapDocument negative = test::MakeFlatMap(16, 16);
    negative.Layer(3).assign(negative.Layer(3).size(), 5);
    negative.Header.Width = -16;
    EXPECT_EQ(CoastalCastleFix(negative), 0);
}

TEST(CoastalCastleFix, ShortLayersAreReadSafely)
{
    // Water in every second triangle, but layer 3 holds only rows 0 to 5: rows 2 to 7 reach
    // them (two rows up at most), row 8 and below do not.
    MapDocument doc = test::MakeFlatMap(16, 16);
    doc.Layer(3).assign(16 * 6, 5);
    EXPECT_EQ(CoastalCastleFix(doc), 6 * 12);

    // Points past the end of layer 9 are passed over: rows 2 to 4 remain.
    doc = test::MakeFlatMap(16, 16);
    doc.Layer(3).assign(16 * 6, 5);
    doc.Layer(9).resize(16 * 5);
    EXPECT_EQ(CoastalCastleFix(doc), 3 * 12);

    // Points past the end of layer 2 likewise: rows 2 and 3 and the point (2, 4).
    doc = test::MakeFlatMap(16, 16);
    doc.Layer(3).assign(16 * 6, 5);
    doc.Layer(2).resize(16 * 4 + 3);
    EXPECT_EQ(CoastalCastleFix(doc), 2 * 12 + 1);

    // A map whose header claims far more than its layers hold.
    doc = test::MakeFlatMap(16, 16);
    doc.Layer(3).assign(doc.Layer(3).size(), 5);
    doc.Header.Width = 30000;
    doc.Header.Height = 30000;
    EXPECT_EQ(CoastalCastleFix(doc), 0);
}

} // namespace
} // namespace trelvik
