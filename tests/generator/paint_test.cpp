#include "generator/erode_and_smooth_coast.h"
#include "generator/grow_land.h"
#include "generator/grow_mountains.h"
#include "generator/paint_bands_and_variants.h"
#include "generator/paint_water_and_shore.h"
#include "generator/terrain_codes.h"
#include "reference_model.h"

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

namespace trelvik {
namespace {

using Cells = std::set<std::pair<int32_t, int32_t>>; // (row, column)

std::size_t Cell(const TriangleGrid &grid, int32_t r, int32_t c)
{
    return static_cast<std::size_t>(r * grid.GW + c);
}

Cells CellsHolding(const TriangleGrid &grid, uint8_t code)
{
    Cells cells;
    for (int32_t r = 0; r < grid.H; ++r)
        for (int32_t c = 0; c < grid.GW; ++c)
            if (grid.Terrain[Cell(grid, r, c)] == code)
                cells.insert({r, c});
    return cells;
}

Cells PaintedBy(int32_t r, int32_t c, int32_t width = 64, int32_t height = 64)
{
    TriangleGrid grid(width, height);
    PaintBlock(grid, r * grid.GW + c, r, 9);
    return CellsHolding(grid, 9);
}

TEST(PaintBlock, OddRowCoversTheColumnsAroundTheCell)
{
    EXPECT_EQ(PaintedBy(3, 5), (Cells{{2, 4}, {2, 5}, {2, 6}, {3, 4}, {3, 5}, {3, 6}}));
}

TEST(PaintBlock, EvenRowCoversTheCellAndTwoToItsRight)
{
    EXPECT_EQ(PaintedBy(4, 5), (Cells{{3, 5}, {3, 6}, {3, 7}, {4, 5}, {4, 6}, {4, 7}}));
}

TEST(PaintBlock, ContinuesInTheNextRowPastARowEnd)
{
    // GW = 128: an even-row block at the last column runs on into the start of the next row.
    EXPECT_EQ(PaintedBy(4, 127), (Cells{{3, 127}, {4, 0}, {4, 1}, {4, 127}, {5, 0}, {5, 1}}));
    // An odd-row block at column 0 reaches back to the end of the row before.
    EXPECT_EQ(PaintedBy(5, 0), (Cells{{3, 127}, {4, 0}, {4, 1}, {4, 127}, {5, 0}, {5, 1}}));
}

TEST(PaintBlock, WrapsPastTheEndAndTheStartOfTheGrid)
{
    // Last cell of an odd last row: its right neighbour is cell 0.
    EXPECT_EQ(PaintedBy(63, 127),
              (Cells{{62, 126}, {62, 127}, {63, 0}, {63, 126}, {63, 127}, {0, 0}}));
    // Row 0 reaches up into the last row.
    EXPECT_EQ(PaintedBy(0, 0, 80, 64), (Cells{{63, 0}, {63, 1}, {63, 2}, {0, 0}, {0, 1}, {0, 2}}));
}

TEST(PaintWaterAndShore, AllWaterIsWaterEverywhere)
{
    for (const auto &[w, h] : {std::pair{64, 64}, std::pair{96, 144}}) {
        TriangleGrid grid(w, h);
        PaintWaterAndShore(grid);
        EXPECT_EQ(std::count(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater), grid.N);
    }
}

TEST(PaintWaterAndShore, AllLandIsBaseLandEverywhere)
{
    TriangleGrid grid(64, 80);
    std::fill(grid.Land.begin(), grid.Land.end(), uint8_t{1});
    PaintWaterAndShore(grid);
    EXPECT_EQ(std::count(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand), grid.N);
}

TEST(PaintWaterAndShore, LoneWaterSampleBecomesAShoreBlock)
{
    TriangleGrid grid(64, 64);
    std::fill(grid.Land.begin(), grid.Land.end(), uint8_t{1});
    grid.Land[Cell(grid, 21, 41)] = 0;
    PaintWaterAndShore(grid);
    EXPECT_TRUE(CellsHolding(grid, kTerrainWater).empty());
    // Three coast samples: the water sample itself (odd-row block), and the samples above and
    // below it, whose lower and upper neighbours are water (even-row blocks).
    const Cells shore = CellsHolding(grid, kTerrainShore);
    const Cells expected{{19, 41}, {19, 42}, {19, 43}, {20, 40}, {20, 41}, {20, 42}, {20, 43},
                         {21, 40}, {21, 41}, {21, 42}, {21, 43}, {22, 41}, {22, 42}, {22, 43}};
    EXPECT_EQ(shore, expected);
}

TEST(PaintWaterAndShore, CoastSampleAtTheRowEndPaintsTheNextRowStart)
{
    // Land everywhere except the cell right of the last sample of row 10 (cell 0 of row 11):
    // sample (10, 127) differs from its right neighbour and paints its even-row block, which
    // runs into cells 0 and 1 of row 11.
    TriangleGrid grid(64, 64);
    std::fill(grid.Land.begin(), grid.Land.end(), uint8_t{1});
    grid.Land[Cell(grid, 11, 0)] = 0;
    PaintWaterAndShore(grid);
    const Cells shore = CellsHolding(grid, kTerrainShore);
    for (const auto &cell : Cells{{9, 127}, {10, 0}, {10, 1}, {10, 127}, {11, 0}, {11, 1}})
        EXPECT_EQ(shore.count(cell), 1u) << cell.first << "," << cell.second;
    // The same at the last row wraps into row 0.
    TriangleGrid last(64, 64);
    std::fill(last.Land.begin(), last.Land.end(), uint8_t{1});
    last.Land[0] = 0;
    PaintWaterAndShore(last);
    const Cells lastShore = CellsHolding(last, kTerrainShore);
    for (const auto &cell : Cells{{62, 126}, {62, 127}, {63, 0}, {63, 126}, {63, 127}, {0, 0}})
        EXPECT_EQ(lastShore.count(cell), 1u) << cell.first << "," << cell.second;
}

// A terrain with base land, water, shore and mountain patches, as the band passes meet it.
TriangleGrid PatchworkTerrain(uint64_t seed)
{
    TriangleGrid grid(64, 64);
    RandomSource random;
    random.Seed(seed);
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand);
    const uint8_t codes[] = {1, 11, 12, 13, kTerrainWater, kTerrainShore};
    for (int patch = 0; patch < 40; ++patch) {
        const uint8_t code = codes[random.RandomBelow(6)];
        const int32_t r0 = random.RandomBelow(grid.H - 6);
        const int32_t c0 = random.RandomBelow(grid.GW - 10);
        const int32_t rows = 1 + random.RandomBelow(6);
        const int32_t cols = 1 + random.RandomBelow(10);
        for (int32_t r = r0; r < r0 + rows; ++r)
            for (int32_t c = c0; c < c0 + cols; ++c)
                grid.Terrain[Cell(grid, r, c)] = code;
    }
    return grid;
}

// Right after the 18 band of step 1, no visited base cell has a mountain to its left or above
// it, and no visited mountain cell has base land there.
TEST(ScanBand, MountainBandSeparatesMountainFromBaseLand)
{
    for (uint64_t seed = 0; seed < 50; ++seed) {
        TriangleGrid grid = PatchworkTerrain(seed);
        for (const uint8_t mountain : kMountainCodes)
            ScanBand(grid, mountain, kTerrainBaseLand, kTerrainMountainBand);
        for (int32_t r = 1; r < grid.H; ++r) {
            for (int32_t c = 1; c < grid.GW; ++c) {
                const uint8_t self = grid.Terrain[Cell(grid, r, c)];
                for (const uint8_t other :
                     {grid.Terrain[Cell(grid, r, c - 1)], grid.Terrain[Cell(grid, r - 1, c)]}) {
                    ASSERT_FALSE(self == kTerrainBaseLand && IsMountainCode(other))
                        << seed << ": " << r << "," << c;
                    ASSERT_FALSE(IsMountainCode(self) && other == kTerrainBaseLand)
                        << seed << ": " << r << "," << c;
                }
            }
        }
    }
}

// All eighteen scans on terrains as the mountain stage leaves them, against the rules.
TEST(PaintBands, AgreesWithTheRulesScanForScan)
{
    struct Scan
    {
        uint8_t A, B, Paint;
    };
    std::vector<Scan> scans;
    for (const uint8_t m : kMountainCodes)
        scans.push_back({m, kTerrainBaseLand, kTerrainMountainBand});
    for (const uint8_t m : kMountainCodes)
        scans.push_back({m, kTerrainMountainBand, m});
    for (const uint8_t m : kMountainCodes)
        scans.push_back({m, kTerrainBaseLand, kTerrainMountainBand});
    scans.push_back({kTerrainBaseLand, kTerrainShore, kTerrainShoreBand});
    for (const uint8_t m : kMountainCodes)
        scans.push_back({m, kTerrainShore, kTerrainShoreBand});
    scans.push_back({kTerrainShoreBand, kTerrainBaseLand, kTerrainOuterShoreBand});
    ASSERT_EQ(scans.size(), static_cast<std::size_t>(kBandScanCount));

    for (uint64_t seed = 0; seed < 12; ++seed) {
        TriangleGrid grid(64 + 32 * static_cast<int32_t>(seed % 3),
                          64 + 16 * static_cast<int32_t>(seed % 4));
        RandomSource random;
        random.Seed(seed);
        GrowLand(grid, true, random);
        ErodeAndSmoothCoast(grid, random);
        PaintWaterAndShore(grid);
        GrowMountains(grid, random);
        TriangleGrid plain = grid;
        TriangleGrid whole = grid;
        for (const Scan &scan : scans) {
            ScanBand(grid, scan.A, scan.B, scan.Paint);
            test::ReferenceScanBand(plain, scan.A, scan.B, scan.Paint);
            ASSERT_EQ(grid.Terrain, plain.Terrain)
                << "seed " << seed << " scan " << int{scan.A} << "/" << int{scan.B};
        }
        PaintBands(whole);
        EXPECT_EQ(whole.Terrain, plain.Terrain);
    }
}

TEST(ScanBand, RunOfBandNextToAMountainIsSwallowedInOneScan)
{
    TriangleGrid grid(64, 64);
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
    const int32_t r = 20;
    grid.Terrain[Cell(grid, r, 30)] = 12;
    for (int32_t c = 31; c <= 50; ++c)
        grid.Terrain[Cell(grid, r, c)] = kTerrainMountainBand;
    ScanBand(grid, 12, kTerrainMountainBand, 12);
    for (int32_t c = 30; c <= 50; ++c)
        EXPECT_EQ(grid.Terrain[Cell(grid, r, c)], 12) << c;
}

TEST(ScanBand, NothingMatchesWithoutTheOtherCode)
{
    TriangleGrid grid = PatchworkTerrain(3);
    std::replace(grid.Terrain.begin(), grid.Terrain.end(), kTerrainShore, kTerrainWater);
    const TriangleGrid before = grid;
    ScanBand(grid, kTerrainShore, kTerrainBaseLand, kTerrainShoreBand);
    EXPECT_EQ(grid.Terrain, before.Terrain);
}

TEST(PaintVariants, DrawsOnlyOnShoreAndBaseLandWithTheirOwnRanges)
{
    TriangleGrid grid = PatchworkTerrain(9);
    const uint8_t bands[] = {kTerrainOuterShoreBand, kTerrainShoreBand, kTerrainMountainBand};
    for (std::size_t g = 0; g < grid.Terrain.size(); g += 7)
        grid.Terrain[g] = bands[g % 3];
    const TriangleGrid before = grid;
    RandomSource random;
    random.Seed(4);
    RandomSource replay = random;
    PaintVariants(grid, random);

    uint64_t draws = 0;
    for (std::size_t g = 0; g < grid.Terrain.size(); ++g) {
        const uint8_t was = before.Terrain[g];
        const uint8_t now = grid.Terrain[g];
        if (was == kTerrainShore) {
            ++draws;
            EXPECT_EQ(now, replay.RandomBelow(2) == 1 ? 7 : 4);
        } else if (was == kTerrainBaseLand) {
            ++draws;
            const int32_t v = replay.RandomBelow(50);
            const uint8_t expected = v >= 9 && v <= 20    ? 9
                                     : v >= 21 && v <= 30 ? 10
                                     : v >= 31 && v <= 35 ? 15
                                                          : 8;
            EXPECT_EQ(now, expected) << "v " << v;
        } else {
            EXPECT_EQ(now, was);
        }
    }
    EXPECT_EQ(random.Drawn(), draws);
    EXPECT_GT(draws, 1000u);
}

} // namespace
} // namespace trelvik
