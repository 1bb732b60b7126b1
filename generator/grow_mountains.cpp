#include "grow_mountains.h"

#include "acceptance.h"
#include "terrain_codes.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace trelvik {

namespace {

constexpr uint32_t kNever = RandomSource::kUnitSteps;
constexpr int32_t kCodeCount = 4;
constexpr RandomSource::Leap kSkipAllCodes = RandomSource::LeapOf(kCodeCount);

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

// The cell rule for one base cell; returns 1 when it turned to mountain.
inline int32_t TryCell(TriangleGrid &grid, RandomSource &random, int32_t g, Sides sides)
{
    uint8_t *terrain = grid.Terrain.data();
    const Neighbourhood around = Look(grid, g, sides);
    // Without a mountain neighbour every code has weight 1, and at the limit none may be
    // taken: the four draws cannot accept, so they are skipped in one step.
    if (!around.HasMountain || around.LevelSum >= kMountainLevelLimit) {
        random.Jump(kSkipAllCodes);
        return 0;
    }
    const int32_t gw = grid.GW;
    for (const uint8_t code : kMountainCodes) {
        const int32_t weight = MountainWeight(
            sides.Above && terrain[g - gw] == code, sides.Left && terrain[g - 1] == code,
            sides.Right && terrain[g + 1] == code, sides.Below && terrain[g + gw] == code);
        const uint32_t threshold = kWeightThresholds[static_cast<std::size_t>(weight)];
        const uint32_t unit = random.NextUnit();
        if (threshold != kNever && unit >= threshold) {
            terrain[g] = code;
            grid.MountainLevel[static_cast<std::size_t>(g)] =
                static_cast<int16_t>((around.LevelSum + 1) / 2);
            return 1;
        }
    }
    return 0;
}

template <bool TopDown, bool LeftToRight> int32_t Sweep(TriangleGrid &grid, RandomSource &random)
{
    const int32_t gw = grid.GW;
    const uint8_t *terrain = grid.Terrain.data();
    int32_t grown = 0;
    for (int32_t step = 0; step < grid.H; ++step) {
        const int32_t r = TopDown ? step : grid.H - 1 - step;
        const int32_t rowStart = r * gw;
        const bool above = r > 0;
        const bool below = r < grid.H - 1;
        for (int32_t i = 0; i < gw; ++i) {
            const int32_t c = LeftToRight ? i : gw - 1 - i;
            const int32_t g = rowStart + c;
            if (terrain[g] != kTerrainBaseLand)
                continue;
            grown += TryCell(grid, random, g, Sides{above, c > 0, c < gw - 1, below});
        }
    }
    return grown;
}

int32_t RunCycle(TriangleGrid &grid, RandomSource &random)
{
    switch (random.RandomBelow(4)) {
    case 0:
        return Sweep<false, false>(grid, random);
    case 1:
        return Sweep<false, true>(grid, random);
    case 2:
        return Sweep<true, false>(grid, random);
    default:
        return Sweep<true, true>(grid, random);
    }
}

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

void GrowMountains(TriangleGrid &grid, RandomSource &random)
{
    const auto baseCount = static_cast<int32_t>(
        std::count(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand));

    const int32_t m = random.RandomBelow(21) + 5;
    if (baseCount < m + 1)
        return;
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

    const double fraction = static_cast<double>(random.NextRandom());
    const int32_t mountainTarget =
        static_cast<int32_t>(fraction * baseCount * 0.1) + baseCount / 50;

    int32_t mountainCount = m;
    int32_t hint = 0;
    for (;;) {
        mountainCount += RunCycle(grid, random);
        if (mountainCount > mountainTarget)
            return;
        if (!FindGrowableCell(grid, hint))
            return;
    }
}

} // namespace trelvik
