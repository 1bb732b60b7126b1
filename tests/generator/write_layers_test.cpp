#include "generator/generate_map.h"
#include "generator/terrain_codes.h"
#include "generator/write_layers.h"
#include "reference_model.h"

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>

namespace trelvik {
namespace {

std::size_t Point(int32_t width, int32_t x, int32_t y)
{
    return static_cast<std::size_t>(y * width + x);
}

MapDocument Written(const TriangleGrid &grid, RandomSource &random)
{
    MapDocument document;
    ResetDocumentForNewMap(document, static_cast<int16_t>(grid.W), static_cast<int16_t>(grid.H));
    WriteLayers(grid, document, random);
    return document;
}

// Every cell holds its own code (cell index mod 251), so each texture byte names the cell it
// came from.
TEST(WriteLayers, TexturesComeFromTheShiftedSampleCells)
{
    TriangleGrid grid(64, 96);
    for (int32_t g = 0; g < grid.N; ++g)
        grid.Terrain[static_cast<std::size_t>(g)] = static_cast<uint8_t>(g % 251);
    RandomSource random;
    const MapDocument document = Written(grid, random);
    const auto code = [&](int32_t r, int32_t c) {
        return static_cast<uint8_t>((r * 128 + c) % 251);
    };
    // Even row 10: cells 2x and 2x + 1 of the same row.
    EXPECT_EQ(document.Layer(2)[Point(64, 7, 10)], code(10, 14));
    EXPECT_EQ(document.Layer(3)[Point(64, 7, 10)], code(10, 15));
    // Odd row 11: cells 2x + 1 and 2x + 2.
    EXPECT_EQ(document.Layer(2)[Point(64, 7, 11)], code(11, 15));
    EXPECT_EQ(document.Layer(3)[Point(64, 7, 11)], code(11, 16));
    // Last point of an odd row: its second cell is the first cell of the next row.
    EXPECT_EQ(document.Layer(2)[Point(64, 63, 11)], code(11, 127));
    EXPECT_EQ(document.Layer(3)[Point(64, 63, 11)], code(12, 0));
    // The last row (odd) is not shifted, so nothing reads past the grid.
    EXPECT_EQ(document.Layer(2)[Point(64, 63, 95)], code(95, 126));
    EXPECT_EQ(document.Layer(3)[Point(64, 63, 95)], code(95, 127));
}

TEST(WriteLayers, AllWaterHasWaterHeightNoQualityAndNoDraws)
{
    TriangleGrid grid(80, 64);
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
    RandomSource random;
    random.Seed(1);
    const MapDocument document = Written(grid, random);
    EXPECT_EQ(random.Drawn(), 0u);
    for (std::size_t i = 0; i < document.Layer(1).size(); ++i) {
        ASSERT_EQ(document.Layer(1)[i], kWaterHeight);
        ASSERT_EQ(document.Layer(9)[i], 0);
    }
}

// One land point inside water: its height draw (11 to 14), then its smoothing draw, which
// with four water neighbours gives RandomBelow(2) + (2s - 20) div 6 + 10.
TEST(WriteLayers, LoneLandPointIsSmoothedTowardsTheWater)
{
    int sawFourteen = 0;
    for (uint64_t seed = 0; seed < 200; ++seed) {
        TriangleGrid grid(64, 80);
        std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
        const int32_t x = 20;
        const int32_t y = 30; // even row: sample cell 2x
        grid.Land[static_cast<std::size_t>(y * grid.GW + 2 * x)] = 1;
        grid.Terrain[static_cast<std::size_t>(y * grid.GW + 2 * x)] = kTerrainBaseLand;
        RandomSource random;
        random.Seed(seed);
        RandomSource replay = random;
        const MapDocument document = Written(grid, random);
        const int32_t raw = replay.RandomBelow(4) + 11;
        const int32_t smoothed = replay.RandomBelow(2) + (40 + 2 * raw - 60) / 6 + 10;
        ASSERT_EQ(document.Layer(1)[Point(64, x, y)], smoothed);
        ASSERT_EQ(document.Layer(9)[Point(64, x, y)], kCastleQuality);
        ASSERT_EQ(random.Drawn(), 2u);
        if (raw == 14) {
            ++sawFourteen;
            ASSERT_TRUE(smoothed == 11 || smoothed == 12);
        }
    }
    EXPECT_GT(sawFourteen, 0);
}

// A row of mountain points: each height is RandomBelow(6) + 12 + (previous - 10) div 2,
// starting from water height; the first row is not smoothed.
TEST(WriteLayers, MountainHeightsClimbAlongARun)
{
    TriangleGrid grid(64, 64);
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
    for (int32_t c = 0; c < 2 * 40; ++c) {
        grid.Land[static_cast<std::size_t>(c)] = 1;
        grid.Terrain[static_cast<std::size_t>(c)] = 12;
    }
    RandomSource random;
    random.Seed(17);
    RandomSource replay = random;
    const MapDocument document = Written(grid, random);
    int32_t previous = 10; // point 0 has no point before it
    for (int32_t x = 0; x < 40; ++x) {
        const int32_t expected = replay.RandomBelow(6) + 12 + (previous - 10) / 2;
        ASSERT_EQ(document.Layer(1)[Point(64, x, 0)], expected) << x;
        ASSERT_LE(expected, 23);
        previous = expected;
    }
    EXPECT_EQ(document.Layer(1)[Point(64, 40, 0)], kWaterHeight);
}

TEST(WriteLayers, HeightsAgreeWithTheRulesWhenWidthAndHeightDiffer)
{
    RandomSource maker;
    maker.Seed(123);
    const int32_t sizes[][2] = {{64, 128}, {128, 64}, {96, 80}, {256, 64}};
    for (const auto &size : sizes) {
        TriangleGrid grid = test::RandomLandGrid(size[0], size[1], 60, maker);
        for (std::size_t g = 0; g < grid.Terrain.size(); ++g)
            grid.Terrain[g] =
                maker.RandomBelow(3) == 0 ? kMountainCodes[maker.RandomBelow(4)] : kTerrainBaseLand;
        RandomSource random;
        random.Seed(static_cast<uint64_t>(size[0] * 1000 + size[1]));
        RandomSource replay = random;
        const MapDocument document = Written(grid, random);
        EXPECT_EQ(document.Layer(1), test::ReferenceHeights(grid, replay))
            << size[0] << "x" << size[1];
        EXPECT_EQ(random.Drawn(), replay.Drawn());
    }
}

TEST(WriteLayers, FixedLayersAndTheMarkerByte)
{
    TriangleGrid grid(64, 80);
    RandomSource maker;
    maker.Seed(3);
    grid = test::RandomLandGrid(64, 80, 50, maker);
    MapDocument document;
    // Leftovers of a larger map must not survive.
    for (MapLayer &layer : document.Layers)
        layer.assign(256 * 256, 0xAB);
    RandomSource random;
    WriteLayers(grid, document, random);
    for (int k = 1; k <= kLayerCount; ++k)
        ASSERT_EQ(document.Layer(k).size(), 64u * 80u) << k;
    for (const int k : {4, 5, 6, 7, 8, 12, 14})
        EXPECT_EQ(std::count(document.Layer(k).begin(), document.Layer(k).end(), 0), 64 * 80) << k;
    EXPECT_EQ(std::count(document.Layer(10).begin(), document.Layer(10).end(), 7), 64 * 80);
    EXPECT_EQ(std::count(document.Layer(13).begin(), document.Layer(13).end(), 64), 64 * 80);
    EXPECT_EQ(document.Layer(11)[0], 1);
    EXPECT_EQ(std::count(document.Layer(11).begin(), document.Layer(11).end(), 0), 64 * 80 - 1);
}

} // namespace
} // namespace trelvik
