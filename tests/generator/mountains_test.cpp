#include "generator/erode_and_smooth_coast.h"
#include "generator/grow_land.h"
#include "generator/grow_mountains.h"
#include "generator/paint_water_and_shore.h"
#include "generator/terrain_codes.h"
#include "reference_model.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <gtest/gtest.h>

namespace trelvik {
namespace {

std::size_t Cell(const TriangleGrid &grid, int32_t r, int32_t c)
{
    return static_cast<std::size_t>(r * grid.GW + c);
}

int32_t CountMountains(const TriangleGrid &grid)
{
    return static_cast<int32_t>(
        std::count_if(grid.Terrain.begin(), grid.Terrain.end(), IsMountainCode));
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

TEST(MountainWeight, MatchesTheNeighbourTable)
{
    // above, left, right, below -> weight.
    EXPECT_EQ(MountainWeight(false, false, false, false), 1);
    EXPECT_EQ(MountainWeight(true, false, false, false), 2);
    EXPECT_EQ(MountainWeight(false, false, false, true), 2);
    EXPECT_EQ(MountainWeight(true, false, false, true), 4);
    EXPECT_EQ(MountainWeight(false, true, false, false), 4);
    EXPECT_EQ(MountainWeight(false, false, true, false), 4);
    EXPECT_EQ(MountainWeight(true, true, false, false), 5);
    EXPECT_EQ(MountainWeight(false, true, false, true), 6);
    EXPECT_EQ(MountainWeight(true, false, true, true), 6);
    EXPECT_EQ(MountainWeight(false, true, true, false), 7);
    EXPECT_EQ(MountainWeight(true, true, true, false), 8);
    EXPECT_EQ(MountainWeight(false, true, true, true), 8);
    EXPECT_EQ(MountainWeight(true, true, true, true), 10);
}

TEST(PlaceMountainSeeds, PlacesMPlusOneSeedsOnBaseLandOnly)
{
    for (uint64_t seed = 0; seed < 20; ++seed) {
        TriangleGrid grid = RealTerrain(seed, 64 + 16 * static_cast<int32_t>(seed % 4), 64);
        const TriangleGrid before = grid;
        RandomSource random;
        random.Seed(seed + 100);
        const int32_t m = PlaceMountainSeeds(grid, random);
        ASSERT_GE(m, 5);
        ASSERT_LE(m, 25);
        ASSERT_EQ(CountMountains(grid), m + 1);
        for (std::size_t g = 0; g < grid.Terrain.size(); ++g) {
            if (IsMountainCode(grid.Terrain[g])) {
                EXPECT_EQ(before.Terrain[g], kTerrainBaseLand);
                EXPECT_EQ(grid.MountainLevel[g], 1);
            } else {
                EXPECT_EQ(grid.Terrain[g], before.Terrain[g]);
                EXPECT_EQ(grid.MountainLevel[g], 0);
            }
        }
    }
}

TEST(PlaceMountainSeeds, TooFewBaseCellsPlaceNothing)
{
    TriangleGrid grid(64, 64);
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
    grid.Terrain[Cell(grid, 10, 10)] = kTerrainBaseLand;
    grid.Terrain[Cell(grid, 10, 11)] = kTerrainBaseLand;
    const TriangleGrid before = grid;
    RandomSource random;
    random.Seed(1);
    EXPECT_EQ(PlaceMountainSeeds(grid, random), 0);
    EXPECT_EQ(grid.Terrain, before.Terrain);
    EXPECT_EQ(random.Drawn(), 1u);

    EXPECT_EQ(GrowMountains(grid, random), 0);
    EXPECT_EQ(grid.Terrain, before.Terrain);
}

// One base cell between a 12 on its left and a 1 on its right, everything else water: each
// cycle draws the direction, then one value per code in the order 1, 11, 12, 13, stopping at
// the first that accepts. 11 and 13 have weight 1 and never accept.
TEST(RunMountainCycle, TriesTheCodesInOrderOneDrawEach)
{
    int tookOne = 0;
    int tookTwelve = 0;
    int stayed = 0;
    for (uint64_t seed = 0; seed < 300; ++seed) {
        TriangleGrid grid(64, 64);
        std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
        const std::size_t cell = Cell(grid, 30, 40);
        grid.Terrain[cell] = kTerrainBaseLand;
        grid.Terrain[cell - 1] = 12;
        grid.Terrain[cell + 1] = 1;
        grid.MountainLevel[cell - 1] = 3;
        grid.MountainLevel[cell + 1] = 1;
        RandomSource random;
        random.Seed(seed);
        RandomSource replay = random;
        replay.NextRandom(); // direction
        const float forOne = replay.NextRandom();
        replay.NextRandom(); // 11
        const float forTwelve = replay.NextRandom();

        const int32_t grown = RunMountainCycle(grid, random);
        uint8_t expected = kTerrainBaseLand;
        uint64_t draws = 5;
        if (test::ReferenceAcceptsFourDecimals(4, forOne)) {
            expected = 1;
            draws = 2;
        } else if (test::ReferenceAcceptsFourDecimals(4, forTwelve)) {
            expected = 12;
            draws = 4;
        }
        ASSERT_EQ(grid.Terrain[cell], expected) << "seed " << seed;
        ASSERT_EQ(random.Drawn(), draws) << "seed " << seed;
        ASSERT_EQ(grown, expected == kTerrainBaseLand ? 0 : 1);
        ASSERT_EQ(grid.MountainLevel[cell], expected == kTerrainBaseLand ? 0 : (4 + 1) / 2);
        tookOne += expected == 1 ? 1 : 0;
        tookTwelve += expected == 12 ? 1 : 0;
        stayed += expected == kTerrainBaseLand ? 1 : 0;
    }
    EXPECT_GT(tookOne, 0);
    EXPECT_GT(tookTwelve, 0);
    EXPECT_GT(stayed, 0);
}

TEST(RunMountainCycle, NeighbourLevelsOf2000BlockGrowth)
{
    for (const int16_t level : {int16_t{500}, int16_t{499}}) {
        int grownTimes = 0;
        for (uint64_t seed = 0; seed < 100; ++seed) {
            TriangleGrid grid(64, 64);
            std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainWater);
            const std::size_t cell = Cell(grid, 30, 40);
            grid.Terrain[cell] = kTerrainBaseLand;
            // All four neighbours mountain 13: weight 10, chance about 0.86 when allowed.
            for (const std::size_t g : {cell - 1, cell + 1, cell - 128, cell + 128}) {
                grid.Terrain[g] = 13;
                grid.MountainLevel[g] = level;
            }
            RandomSource random;
            random.Seed(seed);
            grownTimes += RunMountainCycle(grid, random);
            // Codes 1, 11 and 12 have weight 1 here; 13 is tried last, so five draws either way.
            EXPECT_EQ(random.Drawn(), 5u);
            if (grid.Terrain[cell] == 13) {
                EXPECT_EQ(grid.MountainLevel[cell], (4 * level + 1) / 2);
            }
        }
        if (level == 500)
            EXPECT_EQ(grownTimes, 0);
        else
            EXPECT_GT(grownTimes, 50);
    }
}

// Real terrains with seeds, several cycles each, against the plain reading of the rules.
TEST(RunMountainCycle, AgreesWithTheRulesCellForCellAndDrawForDraw)
{
    for (uint64_t seed = 0; seed < 12; ++seed) {
        const int32_t width = 64 + 32 * static_cast<int32_t>(seed % 3);
        const int32_t height = 64 + 16 * static_cast<int32_t>(seed % 4);
        TriangleGrid fast = RealTerrain(seed, width, height);
        RandomSource random;
        random.Seed(seed * 7 + 1);
        ASSERT_GT(PlaceMountainSeeds(fast, random), 0);
        TriangleGrid plain = fast;
        RandomSource plainRandom = random;
        for (int cycle = 0; cycle < 12; ++cycle) {
            const int32_t grownFast = RunMountainCycle(fast, random);
            const int32_t grownPlain = test::ReferenceMountainCycle(plain, plainRandom);
            ASSERT_EQ(fast.Terrain, plain.Terrain) << "seed " << seed << " cycle " << cycle;
            ASSERT_EQ(fast.MountainLevel, plain.MountainLevel);
            ASSERT_EQ(grownFast, grownPlain);
            ASSERT_EQ(random.Drawn(), plainRandom.Drawn());
        }
    }
}

// Mountains on every edge of the grid, where cells lack neighbours, and high levels near the
// limit.
TEST(RunMountainCycle, AgreesWithTheRulesOnEdgesAndHighLevels)
{
    RandomSource maker;
    maker.Seed(8);
    const uint8_t codes[] = {kTerrainBaseLand, kTerrainBaseLand, kTerrainBaseLand, 1, 11, 12, 13,
                             kTerrainWater,    kTerrainShore};
    for (int round = 0; round < 30; ++round) {
        TriangleGrid fast(64, 80);
        for (std::size_t g = 0; g < fast.Terrain.size(); ++g) {
            fast.Terrain[g] = codes[maker.RandomBelow(9)];
            if (IsMountainCode(fast.Terrain[g]))
                fast.MountainLevel[g] = static_cast<int16_t>(1 + maker.RandomBelow(700));
        }
        TriangleGrid plain = fast;
        RandomSource random;
        random.Seed(static_cast<uint64_t>(round));
        RandomSource plainRandom = random;
        for (int cycle = 0; cycle < 4; ++cycle) {
            ASSERT_EQ(RunMountainCycle(fast, random),
                      test::ReferenceMountainCycle(plain, plainRandom));
            ASSERT_EQ(fast.Terrain, plain.Terrain) << "round " << round << " cycle " << cycle;
            ASSERT_EQ(fast.MountainLevel, plain.MountainLevel);
            ASSERT_EQ(random.Drawn(), plainRandom.Drawn());
        }
    }
}

// The whole stage: seeds, target, then cycles until the count (which starts at m, one less
// than the seeds) passes the target.
TEST(GrowMountains, StopsAtTheFirstCyclePastTheTarget)
{
    for (uint64_t seed = 0; seed < 10; ++seed) {
        TriangleGrid fast = RealTerrain(seed, 80, 64);
        TriangleGrid plain = fast;
        const auto baseCount = static_cast<int32_t>(
            std::count(plain.Terrain.begin(), plain.Terrain.end(), kTerrainBaseLand));
        RandomSource random;
        random.Seed(seed + 40);
        RandomSource plainRandom = random;
        const int32_t cycles = GrowMountains(fast, random);

        const int32_t m = PlaceMountainSeeds(plain, plainRandom);
        const double fraction = static_cast<double>(plainRandom.NextRandom());
        const auto target =
            static_cast<int32_t>(std::floor(fraction * baseCount * 0.1)) + baseCount / 50;
        int32_t count = m;
        int32_t plainCycles = 0;
        do {
            count += test::ReferenceMountainCycle(plain, plainRandom);
            ++plainCycles;
        } while (count <= target);

        EXPECT_EQ(cycles, plainCycles);
        EXPECT_EQ(fast.Terrain, plain.Terrain);
        EXPECT_EQ(random.Drawn(), plainRandom.Drawn());
        EXPECT_EQ(CountMountains(fast), count + 1);
    }
}

// Base cells laid out so that no two touch: seeds have nowhere to grow, and the target (a
// share of thousands of base cells) could never be passed.
TEST(GrowMountains, EndsWhenNothingCanGrow)
{
    TriangleGrid grid(64, 64);
    for (int32_t r = 0; r < grid.H; ++r)
        for (int32_t c = 0; c < grid.GW; ++c)
            grid.Terrain[Cell(grid, r, c)] = (r + c) % 2 == 0 ? kTerrainBaseLand : kTerrainWater;
    RandomSource random;
    random.Seed(5);
    EXPECT_EQ(GrowMountains(grid, random), 1);
    EXPECT_FALSE(MountainCanGrow(grid));
    EXPECT_GE(CountMountains(grid), 6);
    EXPECT_LE(CountMountains(grid), 26);
}

TEST(MountainCanGrow, NeedsAMountainNeighbourBelowTheLimit)
{
    TriangleGrid grid(64, 64);
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand);
    EXPECT_FALSE(MountainCanGrow(grid));
    const std::size_t cell = Cell(grid, 0, 0); // a corner: two neighbours only
    grid.Terrain[cell] = 11;
    grid.MountainLevel[cell] = 1999;
    EXPECT_TRUE(MountainCanGrow(grid));
    grid.MountainLevel[cell] = 2000;
    EXPECT_FALSE(MountainCanGrow(grid));
}

} // namespace
} // namespace trelvik
