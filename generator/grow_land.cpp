// SPDX-License-Identifier: GPL-3.0-or-later
#include "grow_land.h"

#include "acceptance.h"
#include "byte_lanes.h"
#include "deferred_draws.h"

#include <array>
#include <cstddef>
#include <vector>

namespace trelvik {

namespace {

constexpr int32_t kBorderColumns = 10;
constexpr int32_t kBorderRows = 5;

// Neighbour pattern of an interior cell: bit 0 above, 1 left, 2 right, 3 below.
using ThresholdTable = std::array<uint32_t, 16>;

constexpr ThresholdTable MakeThresholds(bool quickMode)
{
    ThresholdTable table{};
    for (std::size_t pattern = 0; pattern < table.size(); ++pattern) {
        const int32_t score = LandScore((pattern & 1u) != 0, (pattern & 2u) != 0,
                                        (pattern & 4u) != 0, (pattern & 8u) != 0);
        table[pattern] = quickMode ? NonZeroBelowThreshold(score) : FourDecimalThreshold(score);
    }
    return table;
}

constexpr ThresholdTable kQuickThresholds = MakeThresholds(true);
constexpr ThresholdTable kNormalThresholds = MakeThresholds(false);

// Water cells of the border never change during growth (only seeds can be land there), so
// they are counted once per row.
struct BorderWater
{
    std::vector<int32_t> Row;   // whole row, for the border rows
    std::vector<int32_t> Left;  // columns 0..9
    std::vector<int32_t> Right; // columns GW-10..GW-1
};

int32_t CountWater(const uint8_t *cells, int32_t count)
{
    int32_t water = 0;
    for (int32_t i = 0; i < count; ++i)
        water += cells[i] == 0 ? 1 : 0;
    return water;
}

BorderWater CountBorderWater(const TriangleGrid &grid)
{
    const auto rows = static_cast<std::size_t>(grid.H);
    BorderWater water{std::vector<int32_t>(rows), std::vector<int32_t>(rows),
                      std::vector<int32_t>(rows)};
    for (int32_t r = 0; r < grid.H; ++r) {
        const uint8_t *row = grid.Land.data() + r * grid.GW;
        const auto index = static_cast<std::size_t>(r);
        water.Row[index] = CountWater(row, grid.GW);
        water.Left[index] = CountWater(row, kBorderColumns);
        water.Right[index] = CountWater(row + grid.GW - kBorderColumns, kBorderColumns);
    }
    return water;
}

// The cell rule for one water cell that has a land neighbour; returns 1 when it turns to land.
inline int32_t
GrowCell(uint8_t *cell, int32_t gw, const ThresholdTable &thresholds, DeferredDraws &draws)
{
    const unsigned pattern = static_cast<unsigned>(cell[-gw]) | static_cast<unsigned>(cell[-1] << 1)
                             | static_cast<unsigned>(cell[1] << 2)
                             | static_cast<unsigned>(cell[gw] << 3);
    if (draws.NextUnit() < thresholds[pattern])
        return 0;
    *cell = 1;
    return 1;
}

// The interior cells of one row, in sweep order. Eight cells are looked at together: water
// cells without a land neighbour cannot grow and only use up their draws, so a group without a
// cell that can grow is passed at once, and otherwise the sweep moves on to its first such cell.
// Words are loaded again after every change, so each cell sees the cells changed before it.
template <bool LeftToRight>
int32_t SweepRow(uint8_t *row, int32_t gw, const ThresholdTable &thresholds, DeferredDraws &draws)
{
    const int32_t first = kBorderColumns;
    const int32_t last = gw - kBorderColumns - 1;
    int32_t grown = 0;
    int32_t done = 0;
    const int32_t count = last - first + 1;
    while (done < count) {
        const int32_t remaining = count - done;
        const int32_t span = remaining < lanes::kWidth ? remaining : lanes::kWidth;
        // The group of `span` cells next in sweep order, lowest index first.
        const int32_t low = LeftToRight ? first + done : last - done - span + 1;
        const uint8_t *cells = row + low;
        uint64_t water = 0;
        uint64_t nearLand = 0;
        if (span == lanes::kWidth) {
            water = ~lanes::Load(cells) & lanes::kOnes;
            nearLand = lanes::Load(cells - gw) | lanes::Load(cells + gw) | lanes::Load(cells - 1)
                       | lanes::Load(cells + 1);
        } else {
            for (int32_t i = 0; i < span; ++i) {
                const uint64_t shift = static_cast<uint64_t>(8 * i);
                water |= static_cast<uint64_t>(cells[i] == 0 ? 1 : 0) << shift;
                nearLand |= static_cast<uint64_t>(cells[i - gw] | cells[i + gw] | cells[i - 1]
                                                  | cells[i + 1])
                            << shift;
            }
        }
        const uint64_t live = water & nearLand;
        if (live == 0) {
            draws.Skip(lanes::Count(water));
            done += span;
            continue;
        }
        if (LeftToRight) {
            const int32_t index = lanes::First(live);
            draws.Skip(lanes::Count(lanes::Below(water, index)));
            grown += GrowCell(row + low + index, gw, thresholds, draws);
            done += index + 1;
        } else {
            const int32_t index = lanes::Last(live);
            draws.Skip(lanes::Count(lanes::Above(water, index)));
            grown += GrowCell(row + low + index, gw, thresholds, draws);
            done += span - index;
        }
    }
    return grown;
}

// One sweep in the given direction; returns the number of cells turned to land.
template <bool TopDown, bool LeftToRight>
int32_t Sweep(TriangleGrid &grid,
              const BorderWater &border,
              const ThresholdTable &thresholds,
              DeferredDraws &draws)
{
    const int32_t gw = grid.GW;
    int32_t grown = 0;
    for (int32_t step = 0; step < grid.H; ++step) {
        const int32_t r = TopDown ? step : grid.H - 1 - step;
        const auto rowIndex = static_cast<std::size_t>(r);
        if (r < kBorderRows || r >= grid.H - kBorderRows) {
            draws.Skip(border.Row[rowIndex]);
            continue;
        }
        draws.Skip(LeftToRight ? border.Left[rowIndex] : border.Right[rowIndex]);
        grown += SweepRow<LeftToRight>(grid.Land.data() + r * gw, gw, thresholds, draws);
        draws.Skip(LeftToRight ? border.Right[rowIndex] : border.Left[rowIndex]);
    }
    draws.Flush();
    return grown;
}

// A seed lets growth start when it, or a cell beside it, lies outside the border.
bool SeedCanGrow(const TriangleGrid &grid, int32_t c, int32_t r)
{
    const auto growable = [&grid](int32_t cc, int32_t rr) {
        return cc >= 0 && cc < grid.GW && rr >= 0 && rr < grid.H
               && !IsLandBorder(cc, rr, grid.GW, grid.H);
    };
    return growable(c, r) || growable(c, r - 1) || growable(c, r + 1) || growable(c - 1, r)
           || growable(c + 1, r);
}

} // namespace

int32_t PlaceLandSeeds(TriangleGrid &grid, RandomSource &random)
{
    std::vector<int32_t> seeds;
    for (;;) {
        const int32_t seedCount = random.RandomBelow(49) + 1;
        seeds.clear();
        bool canGrow = false;
        while (static_cast<int32_t>(seeds.size()) < seedCount + 1) {
            const int32_t c = random.RandomBelow(grid.GW);
            const int32_t r = random.RandomBelow(grid.H);
            const auto g = static_cast<std::size_t>(r * grid.GW + c);
            if (grid.Land[g] != 0)
                continue;
            grid.Land[g] = 1;
            seeds.push_back(r * grid.GW + c);
            canGrow = canGrow || SeedCanGrow(grid, c, r);
        }
        if (canGrow)
            return static_cast<int32_t>(seeds.size());
        for (const int32_t g : seeds)
            grid.Land[static_cast<std::size_t>(g)] = 0;
    }
}

int32_t SweepLand(TriangleGrid &grid, LandSweep sweep, bool quickMode, RandomSource &random)
{
    const ThresholdTable &thresholds = quickMode ? kQuickThresholds : kNormalThresholds;
    const BorderWater border = CountBorderWater(grid);
    DeferredDraws draws(random);
    switch (sweep) {
    case LandSweep::DownRight:
        return Sweep<true, true>(grid, border, thresholds, draws);
    case LandSweep::DownLeft:
        return Sweep<true, false>(grid, border, thresholds, draws);
    case LandSweep::UpLeft:
        return Sweep<false, false>(grid, border, thresholds, draws);
    case LandSweep::UpRight:
        return Sweep<false, true>(grid, border, thresholds, draws);
    }
    return 0;
}

int32_t LandProgress(int32_t landCount, int32_t growthTarget)
{
    if (growthTarget <= 0)
        return kProgressMax;
    const int64_t scaled = static_cast<int64_t>(landCount) * kProgressMax;
    int64_t value = scaled / growthTarget;
    const int64_t twiceRest = 2 * (scaled % growthTarget);
    if (twiceRest > growthTarget || (twiceRest == growthTarget && value % 2 != 0))
        ++value;
    return value > kProgressMax ? kProgressMax : static_cast<int32_t>(value);
}

int32_t
GrowLand(TriangleGrid &grid, bool quickMode, RandomSource &random, const ProgressCallback &progress)
{
    int32_t landCount = PlaceLandSeeds(grid, random);

    const double fraction = static_cast<double>(random.NextRandom());
    const int32_t area = grid.W * grid.H;
    const auto growthTarget = static_cast<int32_t>(fraction * 0.8 * grid.W * grid.H) + area / 2;

    const ThresholdTable &thresholds = quickMode ? kQuickThresholds : kNormalThresholds;
    const BorderWater border = CountBorderWater(grid);
    DeferredDraws draws(random);
    int32_t sweeps = 0;
    const auto sweepIfDrawn = [&](auto sweep) {
        if (random.RandomBelow(3) == 0) {
            landCount += sweep(grid, border, thresholds, draws);
            ++sweeps;
        }
    };
    do {
        sweepIfDrawn(Sweep<true, true>);
        sweepIfDrawn(Sweep<true, false>);
        sweepIfDrawn(Sweep<false, false>);
        sweepIfDrawn(Sweep<false, true>);
        if (progress)
            progress(LandProgress(landCount, growthTarget));
    } while (landCount <= growthTarget);
    return sweeps;
}

} // namespace trelvik
