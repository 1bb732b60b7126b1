// SPDX-License-Identifier: GPL-3.0-or-later
#include "erode_and_smooth_coast.h"

#include "byte_lanes.h"

#include <cstddef>
#include <vector>

namespace trelvik {

namespace {

// Clears a land cell with chance (span - d - 1) / span: the draw is RandomBelow(span) > d.
void ErodeCell(TriangleGrid &grid, RandomSource &random, int32_t g, int32_t span, int32_t d)
{
    uint8_t &cell = grid.Land[static_cast<std::size_t>(g)];
    if (cell == 1 && random.RandomBelow(span) > d)
        cell = 0;
}

// Coasts make the outcome unpredictable, so it is computed without branches: land above 2,
// water below 2, unchanged at 2.
inline uint8_t Majority(int32_t sum, uint8_t self)
{
    return static_cast<uint8_t>((sum > 2 ? 1 : 0) | (sum == 2 ? self : 0));
}

// Smooths one row in place; returns true when a cell changed.
bool SmoothRow(TriangleGrid &grid, int32_t r)
{
    const int32_t gw = grid.GW;
    uint8_t *land = grid.Land.data();
    const int32_t rowStart = r * gw;
    uint8_t changed = 0;
    if (r == 0 || r == grid.H - 1) {
        // Only these rows have neighbours that wrap.
        for (int32_t g = rowStart; g < rowStart + gw; ++g) {
            const int32_t sum = land[grid.wrap(g - gw)] + land[grid.wrap(g - 1)]
                                + land[grid.wrap(g + gw)] + land[grid.wrap(g + 1)] + land[g];
            const uint8_t value = Majority(sum, land[g]);
            changed |= value ^ land[g];
            land[g] = value;
        }
        return changed != 0;
    }
    // A cell whose four neighbours match it keeps its value; a group of eight such cells (all
    // land or all water together with their neighbours) is passed at once, any other group is
    // smoothed cell by cell. Rows hold a multiple of eight cells.
    for (int32_t g = rowStart; g < rowStart + gw; g += lanes::kWidth) {
        const uint8_t *cells = land + g;
        const uint64_t self = lanes::Load(cells);
        const uint64_t up = lanes::Load(cells - gw);
        const uint64_t down = lanes::Load(cells + gw);
        const uint64_t left = lanes::Load(cells - 1);
        const uint64_t right = lanes::Load(cells + 1);
        if ((self | up | down | left | right) == 0
            || (self & up & down & left & right) == lanes::kOnes)
            continue;
        for (int32_t i = g; i < g + lanes::kWidth; ++i) {
            const int32_t sum = land[i - gw] + land[i - 1] + land[i + gw] + land[i + 1] + land[i];
            const uint8_t value = Majority(sum, land[i]);
            changed |= value ^ land[i];
            land[i] = value;
        }
    }
    return changed != 0;
}

} // namespace

void SmoothCoastOnce(TriangleGrid &grid)
{
    for (int32_t r = 0; r < grid.H; ++r)
        SmoothRow(grid, r);
}

void SmoothCoast(TriangleGrid &grid, int32_t passes)
{
    // A row sees only itself and the rows next to it. When none of them changed since the row
    // was last smoothed, the row would get exactly the same input again and keep its values,
    // so it is passed over. Input from the row above comes from this pass (it is smoothed
    // first), from the row below from the last pass, except where the rows wrap: row 0 sees
    // the last row as the last pass left it, and the last row sees row 0 as this pass left it.
    const auto rows = static_cast<std::size_t>(grid.H);
    std::vector<uint8_t> changedLast(rows, 1);
    std::vector<uint8_t> changedNow(rows, 0);
    const std::size_t lastRow = rows - 1;
    for (int32_t pass = 0; pass < passes; ++pass) {
        for (std::size_t r = 0; r < rows; ++r) {
            const bool above = r == 0 ? changedLast[lastRow] != 0 : changedNow[r - 1] != 0;
            const bool below = r == lastRow ? changedNow[0] != 0 : changedLast[r + 1] != 0;
            const bool self = changedLast[r] != 0;
            changedNow[r] = (above || below || self) && SmoothRow(grid, static_cast<int32_t>(r));
        }
        changedLast.swap(changedNow);
    }
}

void ErodeCoastBands(TriangleGrid &grid, RandomSource &random)
{
    const int32_t rowBand = grid.H / 20 + 4;
    const int32_t columnBand = grid.GW / 40 + 8;

    for (int32_t c = 0; c < grid.GW; ++c) {
        for (int32_t d = 0; d <= rowBand; ++d) {
            ErodeCell(grid, random, d * grid.GW + c, 2 * d + 2, d);
            ErodeCell(grid, random, (grid.H - d - 1) * grid.GW + c, 2 * d + 2, d);
        }
    }
    for (int32_t r = 0; r < grid.H; ++r) {
        for (int32_t d = 0; d <= columnBand; ++d) {
            ErodeCell(grid, random, r * grid.GW + d, 2 * d + 4, d);
            ErodeCell(grid, random, r * grid.GW + grid.GW - d - 1, 2 * d + 4, d);
        }
    }
}

void ErodeAndSmoothCoast(TriangleGrid &grid, RandomSource &random)
{
    ErodeCoastBands(grid, random);
    SmoothCoast(grid, kSmoothingPasses);
}

} // namespace trelvik
