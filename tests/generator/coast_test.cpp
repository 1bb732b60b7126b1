#include "generator/erode_and_smooth_coast.h"
#include "generator/grow_land.h"
#include "reference_model.h"

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>

namespace trelvik {
namespace {

std::size_t Cell(const TriangleGrid &grid, int32_t r, int32_t c)
{
    return static_cast<std::size_t>(r * grid.GW + c);
}

int32_t RowLand(const TriangleGrid &grid, int32_t r)
{
    return static_cast<int32_t>(
        std::count(grid.Land.begin() + r * grid.GW, grid.Land.begin() + (r + 1) * grid.GW, 1));
}

int32_t ColumnLand(const TriangleGrid &grid, int32_t c)
{
    int32_t land = 0;
    for (int32_t r = 0; r < grid.H; ++r)
        land += grid.Land[Cell(grid, r, c)];
    return land;
}

// H = 64 gives a band of 64 div 20 + 4 = 7, so rows 0 to 7 and 56 to 63; W = 256 gives
// 512 div 40 + 8 = 20, so columns 0 to 20 and 491 to 511.
TEST(ErodeCoastBands, ThinsOnlyTheBandsAlongTheEdges)
{
    TriangleGrid grid(256, 64);
    std::fill(grid.Land.begin(), grid.Land.end(), uint8_t{1});
    RandomSource random;
    random.Seed(11);
    ErodeCoastBands(grid, random);

    for (const int32_t r : {0, 3, 7, 56, 60, 63})
        EXPECT_LT(RowLand(grid, r), grid.GW * 3 / 4) << "row " << r;
    for (const int32_t c : {0, 10, 20, 491, 500, 511})
        EXPECT_LT(ColumnLand(grid, c), grid.H * 3 / 4) << "column " << c;
    for (int32_t r = 8; r <= 55; ++r)
        for (int32_t c = 21; c <= 490; ++c)
            ASSERT_EQ(grid.Land[Cell(grid, r, c)], 1) << r << ", " << c;
}

TEST(ErodeCoastBands, DrawsOnlyForLandCells)
{
    TriangleGrid water(64, 64);
    RandomSource random;
    random.Seed(2);
    ErodeCoastBands(water, random);
    EXPECT_EQ(random.Drawn(), 0u);

    TriangleGrid one(64, 64);
    one.Land[Cell(one, 3, 50)] = 1; // inside the top band only
    ErodeCoastBands(one, random);
    EXPECT_EQ(random.Drawn(), 1u);
}

TEST(SmoothCoast, LoneCellsVanishAndGapsFill)
{
    TriangleGrid lone(64, 64);
    lone.Land[Cell(lone, 20, 20)] = 1;
    SmoothCoastOnce(lone);
    EXPECT_EQ(std::count(lone.Land.begin(), lone.Land.end(), 1), 0);

    // A water cell with land above, left and below (sum 3) turns to land; its land neighbours
    // are held by their own neighbours.
    TriangleGrid gap(64, 64);
    for (int32_t r = 10; r <= 30; ++r)
        for (int32_t c = 10; c <= 30; ++c)
            gap.Land[Cell(gap, r, c)] = 1;
    gap.Land[Cell(gap, 20, 30)] = 0;
    SmoothCoastOnce(gap);
    EXPECT_EQ(gap.Land[Cell(gap, 20, 30)], 1);
}

TEST(SmoothCoast, TwoAdjacentCellsHoldEachOtherThroughAllPasses)
{
    TriangleGrid pair(64, 64);
    pair.Land[Cell(pair, 20, 20)] = 1;
    pair.Land[Cell(pair, 20, 21)] = 1;
    const TriangleGrid before = pair;
    for (int32_t pass = 0; pass < kSmoothingPasses; ++pass)
        SmoothCoastOnce(pair);
    EXPECT_EQ(pair.Land, before.Land);
}

// With the first and last row land, each cell of the top row sees land above (the last row)
// and below, so the row fills; without the wrap it would see at most two land cells.
TEST(SmoothCoast, TopRowTakesItsUpperNeighbourFromTheLastRow)
{
    TriangleGrid grid(64, 80);
    for (int32_t c = 0; c < grid.GW; ++c) {
        grid.Land[Cell(grid, 1, c)] = 1;
        grid.Land[Cell(grid, grid.H - 1, c)] = 1;
    }
    SmoothCoastOnce(grid);
    EXPECT_EQ(RowLand(grid, 0), grid.GW);
}

// The last cell's right neighbour is cell 0 and its lower neighbour cell GW - 1: with both
// land (held by the full first row) and the cell above it land (held by a block), the last
// cell has three land neighbours and fills.
TEST(SmoothCoast, LastCellTakesItsRightNeighbourFromCellZero)
{
    TriangleGrid grid(64, 64);
    for (int32_t c = 0; c < grid.GW; ++c)
        grid.Land[Cell(grid, 0, c)] = 1;
    for (int32_t r = grid.H - 6; r <= grid.H - 2; ++r)
        for (int32_t c = grid.GW - 4; c < grid.GW; ++c)
            grid.Land[Cell(grid, r, c)] = 1;
    TriangleGrid withoutWrap = grid;
    SmoothCoastOnce(grid);
    EXPECT_EQ(grid.Land[static_cast<std::size_t>(grid.N - 1)], 1);
    // The same layout without cell 0 gives the last cell only two land neighbours.
    withoutWrap.Land[0] = 0;
    withoutWrap.Land[1] = 0;
    SmoothCoastOnce(withoutWrap);
    EXPECT_EQ(withoutWrap.Land[static_cast<std::size_t>(withoutWrap.N - 1)], 0);
}

TEST(SmoothCoast, AgreesWithTheRulesOnRandomGrids)
{
    RandomSource maker;
    maker.Seed(77);
    for (int round = 0; round < 60; ++round) {
        const int32_t width = 64 + 16 * maker.RandomBelow(4);
        const int32_t height = 64 + 16 * maker.RandomBelow(4);
        const int32_t percent = 5 + maker.RandomBelow(90);
        TriangleGrid fast = test::RandomLandGrid(width, height, percent, maker);
        TriangleGrid plain = fast;
        for (int32_t pass = 0; pass < kSmoothingPasses; ++pass) {
            SmoothCoastOnce(fast);
            test::ReferenceSmoothOnce(plain);
            ASSERT_EQ(fast.Land, plain.Land) << width << "x" << height << " pass " << pass;
        }
    }
}

// Realistic land (grown, then thinned) settles after a few passes, so most rows are passed
// over in the later ones; the result must still be that of ten full passes.
TEST(SmoothCoast, SkippingSettledRowsGivesTheSameAsFullPasses)
{
    for (uint64_t seed = 0; seed < 16; ++seed) {
        const int32_t width = 64 + 48 * static_cast<int32_t>(seed % 4);
        const int32_t height = 64 + 32 * static_cast<int32_t>(seed % 3);
        TriangleGrid fast(width, height);
        RandomSource random;
        random.Seed(seed);
        GrowLand(fast, seed % 2 == 0, random);
        ErodeCoastBands(fast, random);
        TriangleGrid plain = fast;
        SmoothCoast(fast, kSmoothingPasses);
        for (int32_t pass = 0; pass < kSmoothingPasses; ++pass)
            test::ReferenceSmoothOnce(plain);
        ASSERT_EQ(fast.Land, plain.Land) << "seed " << seed;
    }
    RandomSource maker;
    maker.Seed(5);
    for (int round = 0; round < 20; ++round) {
        TriangleGrid fast = test::RandomLandGrid(64, 64 + 16 * (round % 3), 5 + round * 4, maker);
        TriangleGrid plain = fast;
        SmoothCoast(fast, kSmoothingPasses);
        for (int32_t pass = 0; pass < kSmoothingPasses; ++pass)
            test::ReferenceSmoothOnce(plain);
        ASSERT_EQ(fast.Land, plain.Land) << "round " << round;
    }
}

// Changes that travel through the wrap: a lone cell in the last row and a gap in row 0 are
// settled only through their wrapped neighbours.
TEST(SmoothCoast, SkippingFollowsChangesAcrossTheWrap)
{
    TriangleGrid fast(64, 64);
    for (int32_t c = 0; c < fast.GW; ++c) {
        fast.Land[Cell(fast, 1, c)] = 1;
        fast.Land[Cell(fast, fast.H - 1, c)] = c % 3 == 0 ? 1 : 0;
        fast.Land[Cell(fast, fast.H - 2, c)] = c % 5 == 0 ? 1 : 0;
    }
    TriangleGrid plain = fast;
    SmoothCoast(fast, kSmoothingPasses);
    for (int32_t pass = 0; pass < kSmoothingPasses; ++pass)
        test::ReferenceSmoothOnce(plain);
    EXPECT_EQ(fast.Land, plain.Land);
}

} // namespace
} // namespace trelvik
