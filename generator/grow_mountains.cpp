// SPDX-License-Identifier: GPL-3.0-or-later
#include "grow_mountains.h"

#include "acceptance.h"
#include "byte_lanes.h"
#include "deferred_draws.h"
#include "terrain_codes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace trelvik {

namespace {

constexpr uint32_t kNever = RandomSource::kUnitSteps;
constexpr int32_t kCodeCount = 4;

constexpr std::array<uint32_t, 11> MakeWeightThresholds()
{
    std::array<uint32_t, 11> table{};
    for (std::size_t weight = 0; weight < table.size(); ++weight)
        table[weight] = FourDecimalThreshold(static_cast<int32_t>(weight));
    return table;
}
constexpr std::array<uint32_t, 11> kWeightThresholds = MakeWeightThresholds();

// Which neighbours a cell has; only cells on the grid's edges lack some.
struct Sides
{
    bool Above;
    bool Left;
    bool Right;
    bool Below;
};

constexpr Sides kAllSides{true, true, true, true};

struct Neighbourhood
{
    int32_t LevelSum = 0;
    bool HasMountain = false;
};

inline Neighbourhood Look(const TriangleGrid &grid, int32_t g, Sides sides)
{
    const uint8_t *terrain = grid.Terrain.data();
    const int16_t *level = grid.MountainLevel.data();
    const int32_t gw = grid.GW;
    Neighbourhood around;
    if (sides.Above) {
        around.LevelSum += level[g - gw];
        around.HasMountain = around.HasMountain || IsMountainCode(terrain[g - gw]);
    }
    if (sides.Left) {
        around.LevelSum += level[g - 1];
        around.HasMountain = around.HasMountain || IsMountainCode(terrain[g - 1]);
    }
    if (sides.Right) {
        around.LevelSum += level[g + 1];
        around.HasMountain = around.HasMountain || IsMountainCode(terrain[g + 1]);
    }
    if (sides.Below) {
        around.LevelSum += level[g + gw];
        around.HasMountain = around.HasMountain || IsMountainCode(terrain[g + gw]);
    }
    return around;
}

// One mountain cycle over the grid. Besides Terrain it keeps a flag per cell, 1 for a mountain
// cell, so that eight cells can be tested for mountain neighbours at once.
class MountainSweep
{
public:
    MountainSweep(TriangleGrid &grid, RandomSource &random)
        : mGrid(grid)
        , mMountain(grid.Terrain.size(), 0)
        , mRandom(random)
    {
        for (std::size_t g = 0; g < mMountain.size(); ++g)
            mMountain[g] = IsMountainCode(grid.Terrain[g]) ? 1 : 0;
    }

    // One cycle; returns the number of cells turned to mountain.
    int32_t RunCycle()
    {
        DeferredDraws draws(mRandom);
        switch (mRandom.RandomBelow(4)) {
        case 0:
            return Sweep<false, false>(draws);
        case 1:
            return Sweep<false, true>(draws);
        case 2:
            return Sweep<true, false>(draws);
        default:
            return Sweep<true, true>(draws);
        }
    }

private:
    // The cell rule for one base cell; returns 1 when it turned to mountain.
    int32_t TryCell(int32_t g, Sides sides, DeferredDraws &draws)
    {
        const Neighbourhood around = Look(mGrid, g, sides);
        // Without a mountain neighbour every code has weight 1, and at the limit none may be
        // taken: the four draws cannot accept.
        if (!around.HasMountain || around.LevelSum >= kMountainLevelLimit) {
            draws.Skip(kCodeCount);
            return 0;
        }
        uint8_t *terrain = mGrid.Terrain.data();
        const int32_t gw = mGrid.GW;
        for (const uint8_t code : kMountainCodes) {
            const int32_t weight = MountainWeight(
                sides.Above && terrain[g - gw] == code, sides.Left && terrain[g - 1] == code,
                sides.Right && terrain[g + 1] == code, sides.Below && terrain[g + gw] == code);
            const uint32_t threshold = kWeightThresholds[static_cast<std::size_t>(weight)];
            if (threshold == kNever) {
                draws.Skip(1);
                continue;
            }
            if (draws.NextUnit() >= threshold) {
                const auto index = static_cast<std::size_t>(g);
                terrain[index] = code;
                mGrid.MountainLevel[index] = static_cast<int16_t>((around.LevelSum + 1) / 2);
                mMountain[index] = 1;
                return 1;
            }
        }
        return 0;
    }

    int32_t TryEdgeCell(int32_t r, int32_t c, DeferredDraws &draws)
    {
        const int32_t g = r * mGrid.GW + c;
        if (mGrid.Terrain[static_cast<std::size_t>(g)] != kTerrainBaseLand)
            return 0;
        return TryCell(g, Sides{r > 0, c > 0, c < mGrid.GW - 1, r < mGrid.H - 1}, draws);
    }

    // Columns 1 to GW - 2 of an inner row, eight at a time: base cells without a mountain
    // neighbour only use up their four draws, so a group without a cell that can grow is
    // passed at once. Words are loaded again after every change.
    template <bool LeftToRight> int32_t SweepInnerRow(int32_t r, DeferredDraws &draws)
    {
        const int32_t gw = mGrid.GW;
        const int32_t rowStart = r * gw;
        const uint8_t *terrain = mGrid.Terrain.data() + rowStart;
        const uint8_t *mountain = mMountain.data() + rowStart;
        const int32_t first = 1;
        const int32_t count = gw - 2;
        int32_t grown = 0;
        int32_t done = 0;
        while (done < count) {
            const int32_t remaining = count - done;
            const int32_t span = remaining < lanes::kWidth ? remaining : lanes::kWidth;
            const int32_t low = LeftToRight ? first + done : first + count - done - span;
            uint64_t base = 0;
            uint64_t nearMountain = 0;
            if (span == lanes::kWidth) {
                base = lanes::Equal(lanes::Load(terrain + low), kTerrainBaseLand);
                nearMountain = lanes::Load(mountain + low - gw) | lanes::Load(mountain + low + gw)
                               | lanes::Load(mountain + low - 1) | lanes::Load(mountain + low + 1);
            } else {
                for (int32_t i = 0; i < span; ++i) {
                    const int32_t c = low + i;
                    const uint64_t shift = static_cast<uint64_t>(8 * i);
                    base |= static_cast<uint64_t>(terrain[c] == kTerrainBaseLand ? 1 : 0) << shift;
                    nearMountain |= static_cast<uint64_t>(mountain[c - gw] | mountain[c + gw]
                                                          | mountain[c - 1] | mountain[c + 1])
                                    << shift;
                }
            }
            const uint64_t live = base & nearMountain;
            if (live == 0) {
                draws.Skip(kCodeCount * lanes::Count(base));
                done += span;
                continue;
            }
            if (LeftToRight) {
                const int32_t index = lanes::First(live);
                draws.Skip(kCodeCount * lanes::Count(lanes::Below(base, index)));
                grown += TryCell(rowStart + low + index, kAllSides, draws);
                done += index + 1;
            } else {
                const int32_t index = lanes::Last(live);
                draws.Skip(kCodeCount * lanes::Count(lanes::Above(base, index)));
                grown += TryCell(rowStart + low + index, kAllSides, draws);
                done += span - index;
            }
        }
        return grown;
    }

    template <bool TopDown, bool LeftToRight> int32_t Sweep(DeferredDraws &draws)
    {
        const int32_t gw = mGrid.GW;
        int32_t grown = 0;
        for (int32_t step = 0; step < mGrid.H; ++step) {
            const int32_t r = TopDown ? step : mGrid.H - 1 - step;
            if (r == 0 || r == mGrid.H - 1) {
                for (int32_t i = 0; i < gw; ++i)
                    grown += TryEdgeCell(r, LeftToRight ? i : gw - 1 - i, draws);
                continue;
            }
            grown += TryEdgeCell(r, LeftToRight ? 0 : gw - 1, draws);
            grown += SweepInnerRow<LeftToRight>(r, draws);
            grown += TryEdgeCell(r, LeftToRight ? gw - 1 : 0, draws);
        }
        return grown;
    }

    TriangleGrid &mGrid;
    std::vector<uint8_t> mMountain;
    RandomSource &mRandom;
};

bool CellCanGrow(const TriangleGrid &grid, int32_t g)
{
    if (grid.Terrain[static_cast<std::size_t>(g)] != kTerrainBaseLand)
        return false;
    const int32_t r = g / grid.GW;
    const int32_t c = g % grid.GW;
    const Neighbourhood around =
        Look(grid, g, Sides{r > 0, c > 0, c < grid.GW - 1, r < grid.H - 1});
    return around.HasMountain && around.LevelSum < kMountainLevelLimit;
}

// Finds a cell that can still grow, starting at the one found last time: a cell stays able to
// grow until it grows or its neighbours reach the limit, so the search rarely goes far.
bool FindGrowableCell(const TriangleGrid &grid, int32_t &hint)
{
    for (int32_t i = 0; i < grid.N; ++i) {
        const int32_t g = (hint + i) % grid.N;
        if (CellCanGrow(grid, g)) {
            hint = g;
            return true;
        }
    }
    return false;
}

} // namespace

bool MountainCanGrow(const TriangleGrid &grid)
{
    int32_t hint = 0;
    return FindGrowableCell(grid, hint);
}

int32_t PlaceMountainSeeds(TriangleGrid &grid, RandomSource &random)
{
    const auto baseCount = std::count(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand);
    const int32_t m = random.RandomBelow(21) + 5;
    if (baseCount < m + 1)
        return 0;
    for (int32_t placed = 0; placed < m + 1;) {
        const int32_t c = random.RandomBelow(grid.GW);
        const int32_t r = random.RandomBelow(grid.H);
        const auto g = static_cast<std::size_t>(r * grid.GW + c);
        if (grid.Terrain[g] != kTerrainBaseLand)
            continue;
        grid.Terrain[g] = kMountainCodes[random.RandomBelow(kCodeCount)];
        grid.MountainLevel[g] = 1;
        ++placed;
    }
    return m;
}

int32_t RunMountainCycle(TriangleGrid &grid, RandomSource &random)
{
    MountainSweep sweep(grid, random);
    return sweep.RunCycle();
}

int32_t GrowMountains(TriangleGrid &grid, RandomSource &random)
{
    const auto baseCount = static_cast<int32_t>(
        std::count(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand));
    const int32_t m = PlaceMountainSeeds(grid, random);
    if (m == 0)
        return 0;

    const double fraction = static_cast<double>(random.NextRandom());
    const int32_t mountainTarget =
        static_cast<int32_t>(fraction * baseCount * 0.1) + baseCount / 50;

    // The count starts at m, one less than the seeds placed.
    int32_t mountainCount = m;
    int32_t hint = 0;
    MountainSweep sweep(grid, random);
    for (int32_t cycles = 1;; ++cycles) {
        mountainCount += sweep.RunCycle();
        if (mountainCount > mountainTarget || !FindGrowableCell(grid, hint))
            return cycles;
    }
}

} // namespace trelvik
