// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator/erode_and_smooth_coast.h"
#include "generator/grow_land.h"
#include "generator/grow_mountains.h"
#include "generator/paint_bands_and_variants.h"
#include "generator/paint_water_and_shore.h"
#include "generator/terrain_codes.h"
#include "generator/write_layers.h"
#include "test_maps.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace trelvik {
namespace {

TriangleGrid RandomLandGrid(int32_t width, int32_t height, int32_t percent, RandomSource &random)
{
    TriangleGrid grid(width, height);
    for (uint8_t &cell : grid.Land)
        cell = random.RandomBelow(100) < percent ? 1 : 0;
    return grid;
}

// Base land, water and shore as the mountain stage receives them.
TriangleGrid RealTerrain(uint64_t seed, int32_t width, int32_t height)
{
    TriangleGrid grid(width, height);
    RandomSource random;
    random.Seed(seed);
    GrowLand(grid, seed % 2 == 0, random);
    ErodeAndSmoothCoast(grid, random);
    PaintWaterAndShore(grid);
    return grid;
}

uint8_t Code(const std::string &field)
{
    return static_cast<uint8_t>(std::stoi(field));
}

template <typename T> void Append(std::vector<uint8_t> &log, const std::vector<T> &values)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(values.data());
    log.insert(log.end(), bytes, bytes + values.size() * sizeof(T));
}

// The stages on grids that generated maps seldom hold (almost empty to mostly land, mountains
// and high levels on the grid's edges), pinned by a digest per stage. The digests were taken
// when the stages agreed cell for cell and draw for draw with a plain cell-by-cell reading of
// the rules.
TEST(Stages, GoldenDigestsOnUnusualGrids)
{
    RandomSource maker, random;
    maker.Seed(2024);
    std::vector<uint8_t> land, smoothing, mountains, bands, heights;
    uint64_t seed = 0;
    const std::vector<test::TableRow> bandTable = test::ReadTable("generator/bands.tsv");
    for (const auto &[w, h] : {std::pair{64, 64}, {80, 128}, {256, 64}}) {
        for (const int32_t percent : {1, 10, 40, 75}) {
            for (const bool quick : {true, false}) {
                for (const LandSweep sweep : {LandSweep::DownRight, LandSweep::DownLeft,
                                              LandSweep::UpLeft, LandSweep::UpRight}) {
                    TriangleGrid grid = RandomLandGrid(w, h, percent, maker);
                    random.Seed(++seed);
                    land.push_back(static_cast<uint8_t>(SweepLand(grid, sweep, quick, random)));
                    Append(land, grid.Land);
                    land.push_back(static_cast<uint8_t>(random.Next32()));
                }
            }
            TriangleGrid once = RandomLandGrid(w, h, percent, maker);
            TriangleGrid skipping = once;
            for (int32_t pass = 0; pass < kSmoothingPasses; ++pass) {
                SmoothCoastOnce(once);
                Append(smoothing, once.Land);
            }
            SmoothCoast(skipping, kSmoothingPasses); // skips rows that have settled
            ASSERT_EQ(skipping.Land, once.Land) << w << "x" << h << " " << percent;
        }
    }
    for (uint64_t round = 0; round < 30; ++round) {
        // Real land with mountain seeds, or random codes with high levels everywhere.
        TriangleGrid grid = RealTerrain(round, 64 + 32 * (round % 3), 64 + 16 * (round % 4));
        random.Seed(round * 7 + 1);
        if (round % 2 == 0) {
            ASSERT_GT(PlaceMountainSeeds(grid, random), 0);
        } else {
            const uint8_t codes[] = {8, 8, 8, 1, 11, 12, 13, kTerrainWater, kTerrainShore};
            for (std::size_t g = 0; g < grid.Terrain.size(); ++g) {
                grid.Terrain[g] = codes[maker.RandomBelow(9)];
                if (IsMountainCode(grid.Terrain[g]))
                    grid.MountainLevel[g] = static_cast<int16_t>(1 + maker.RandomBelow(700));
            }
        }
        for (int cycle = 0; cycle < 6; ++cycle)
            mountains.push_back(static_cast<uint8_t>(RunMountainCycle(grid, random)));
        Append(mountains, grid.Terrain);
        Append(mountains, grid.MountainLevel);
        mountains.push_back(static_cast<uint8_t>(random.Drawn()));
        TriangleGrid whole = grid;
        for (const test::TableRow &row : bandTable) { // the band scans in their order
            const auto code = [&row](std::size_t i) { return Code(row.Fields.at(i)); };
            if (row.Fields[0] != "variant")
                ScanBand(grid, code(1), code(2), row.Fields.at(3) == "m" ? code(1) : code(3));
        }
        PaintBands(whole);
        ASSERT_EQ(whole.Terrain, grid.Terrain) << round;
        Append(bands, grid.Terrain);
        grid.Land = RandomLandGrid(grid.W, grid.H, 60, maker).Land;
        MapDocument document;
        random.Seed(round);
        WriteLayers(grid, document, random);
        Append(heights, document.Layer(1));
        heights.push_back(static_cast<uint8_t>(random.Drawn()));
    }
    std::string table;
    for (const auto &[name, log] : {std::pair{"land sweeps", &land},
                                    {"smoothing", &smoothing},
                                    {"mountain cycles", &mountains},
                                    {"band scans", &bands},
                                    {"heights", &heights}})
        table += std::string(name) + "\t" + test::Sha256Hex(*log) + "\n";
    const std::string failure = test::CompareGolden(
        "generator/stages.tsv", std::vector<uint8_t>(table.begin(), table.end()));
    EXPECT_TRUE(failure.empty()) << failure;
}

// Seeds as the land growth draws them; a round none of whose seeds can start growth is drawn
// again (about one round in several hundred at 64 x 64).
TEST(Stages, LandSeedsAreDrawnAgainWhenNoneCanGrow)
{
    int redrawn = 0;
    for (uint64_t seed = 0; seed < 3000; ++seed) {
        TriangleGrid grid(64, 64);
        RandomSource random;
        random.Seed(seed);
        RandomSource replay = random;
        const int32_t placed = PlaceLandSeeds(grid, random);
        std::set<int32_t> expected;
        for (bool canGrow = false; !canGrow;) {
            redrawn += expected.empty() ? 0 : 1;
            expected.clear();
            const int32_t count = replay.RandomBelow(49) + 2;
            while (static_cast<int32_t>(expected.size()) < count) {
                const int32_t c = replay.RandomBelow(grid.GW);
                const int32_t r = replay.RandomBelow(grid.H);
                expected.insert(r * grid.GW + c);
                for (const auto &[dc, dr] : {std::pair{0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}})
                    canGrow = canGrow
                              || (c + dc >= 0 && c + dc < grid.GW && r + dr >= 0 && r + dr < grid.H
                                  && !IsLandBorder(c + dc, r + dr, grid.GW, grid.H));
            }
        }
        std::set<int32_t> land;
        for (int32_t g = 0; g < grid.N; ++g)
            if (grid.Land[static_cast<std::size_t>(g)] == 1)
                land.insert(g);
        ASSERT_EQ(land, expected) << "seed " << seed;
        ASSERT_EQ(placed, static_cast<int32_t>(expected.size()));
        ASSERT_EQ(random.Drawn(), replay.Drawn());
    }
    EXPECT_GT(redrawn, 0);
    // The border where land never grows: ten columns and five rows on each side.
    using Row = std::tuple<int, int, bool>;
    for (const auto &[c, r, border] :
         {Row{9, 30, true}, Row{10, 30, false}, Row{117, 30, false}, Row{118, 30, true},
          Row{50, 4, true}, Row{50, 5, false}, Row{50, 58, false}, Row{50, 59, true}})
        EXPECT_EQ(IsLandBorder(c, r, 128, 64), border) << c << "," << r;
    // Progress after a cycle, rounded half to even and never past 10000.
    for (const auto &[land, target, value] : {std::tuple{0, 5000, 0},
                                              {1, 3, 3333},
                                              {2, 3, 6667},
                                              {1, 20000, 0},
                                              {3, 20000, 2},
                                              {5, 20000, 2},
                                              {5000, 5000, 10000},
                                              {6000, 5000, 10000}})
        EXPECT_EQ(LandProgress(land, target), value) << land << "/" << target;
}

// The mountains stop when nothing can grow any more, and place nothing without room for
// their seeds.
TEST(Stages, MountainsStopWhenNothingCanGrow)
{
    // Base cells that touch no other: the seeds cannot grow, and the target is out of reach.
    TriangleGrid grid(64, 64);
    for (int32_t g = 0; g < grid.N; ++g)
        grid.Terrain[static_cast<std::size_t>(g)] =
            (g / grid.GW + g % grid.GW) % 2 == 0 ? 8 : kTerrainWater;
    RandomSource random;
    random.Seed(5);
    EXPECT_EQ(GrowMountains(grid, random), 1);
    EXPECT_FALSE(MountainCanGrow(grid));
    // Fewer base cells than seeds: nothing placed, one draw.
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
    grid.Terrain[700] = grid.Terrain[701] = 8;
    const TriangleGrid before = grid;
    random.Seed(1);
    EXPECT_EQ(GrowMountains(grid, random), 0);
    EXPECT_EQ(grid.Terrain, before.Terrain);
    EXPECT_EQ(random.Drawn(), 1u);
    // A corner cell with one mountain neighbour grows only below the level limit of 2000.
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), 8);
    grid.Terrain[1] = 11;
    grid.MountainLevel[1] = 1999;
    EXPECT_TRUE(MountainCanGrow(grid));
    grid.MountainLevel[1] = 2000;
    EXPECT_FALSE(MountainCanGrow(grid));
}

// Cells of 4, 8 and every other code draw and change in index order as the variant rows of the
// band table say: one draw for a code with rows, none for any other.
TEST(Stages, VariantsFollowTheirTable)
{
    TriangleGrid grid(64, 64);
    for (std::size_t g = 0; g < grid.Terrain.size(); ++g)
        grid.Terrain[g] = static_cast<uint8_t>(g % 3 ? 4 * (g % 3) : g % 64);
    std::vector<uint8_t> expected = grid.Terrain;
    RandomSource random, replay;
    PaintVariants(grid, random);
    const std::vector<test::TableRow> rows = test::ReadTable("generator/bands.tsv");
    for (uint8_t &cell : expected) {
        for (int32_t v = -1, was = cell; const test::TableRow &row : rows) {
            const auto field = [&row](std::size_t i) { return Code(row.Fields.at(i)); };
            if (row.Fields[0] == "variant" && field(1) == was) {
                v = v < 0 ? replay.RandomBelow(field(2)) : v;
                cell = v >= field(3) && v <= field(4) ? field(5) : cell;
            }
        }
    }
    EXPECT_EQ(grid.Terrain, expected);
    EXPECT_EQ(random.Drawn(), replay.Drawn());
}

TEST(Stages, PaintBlockCoversSixCellsAndWrapsAtRowAndGridEnds)
{
    // (row, column, grid height) -> the six cells painted, as (row, column).
    using Cells = std::set<std::pair<int32_t, int32_t>>;
    const std::tuple<int32_t, int32_t, int32_t, Cells> cases[] = {
        {3, 5, 64, {{2, 4}, {2, 5}, {2, 6}, {3, 4}, {3, 5}, {3, 6}}},
        {4, 5, 64, {{3, 5}, {3, 6}, {3, 7}, {4, 5}, {4, 6}, {4, 7}}},
        {4, 127, 64, {{3, 127}, {4, 0}, {4, 1}, {4, 127}, {5, 0}, {5, 1}}},
        {5, 0, 64, {{3, 127}, {4, 0}, {4, 1}, {4, 127}, {5, 0}, {5, 1}}},
        {63, 127, 64, {{62, 126}, {62, 127}, {63, 0}, {63, 126}, {63, 127}, {0, 0}}},
        {0, 0, 80, {{79, 0}, {79, 1}, {79, 2}, {0, 0}, {0, 1}, {0, 2}}},
    };
    for (const auto &[r, c, height, expected] : cases) {
        TriangleGrid grid(64, height);
        PaintBlock(grid, r * grid.GW + c, r, 9);
        Cells painted;
        for (int32_t g = 0; g < grid.N; ++g)
            if (grid.Terrain[static_cast<std::size_t>(g)] == 9)
                painted.insert({g / grid.GW, g % grid.GW});
        EXPECT_EQ(painted, expected) << r << ", " << c;
    }
}

} // namespace
} // namespace trelvik
