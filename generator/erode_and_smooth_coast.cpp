#include "erode_and_smooth_coast.h"

#include "byte_lanes.h"

#include <cstddef>

namespace trelvik {

namespace {

// Clears a land cell with chance (span - d - 1) / span: the draw is RandomBelow(span) > d.
void ErodeCell(TriangleGrid &grid, RandomSource &random, int32_t g, int32_t span, int32_t d)
{
    uint8_t &cell = grid.Land[static_cast<std::size_t>(g)];
    if (cell == 1 && random.RandomBelow(span) > d)
        cell = 0;
}

uint8_t Majority(int32_t sum, uint8_t self)
{
    if (sum < 2)
        return 0;
    if (sum > 2)
        return 1;
    return self;
}

} // namespace

void SmoothCoastOnce(TriangleGrid &grid)
{
    const int32_t gw = grid.GW;
    const int32_t n = grid.N;
    uint8_t *land = grid.Land.data();
    const auto wrapped = [&](int32_t g) {
        const int32_t sum = land[grid.wrap(g - gw)] + land[grid.wrap(g - 1)]
                            + land[grid.wrap(g + gw)] + land[grid.wrap(g + 1)] + land[g];
        land[g] = Majority(sum, land[g]);
    };
    // Only cells of the first and the last row have neighbours that wrap.
    const int32_t innerFirst = gw;
    const int32_t innerLast = n - gw - 1;
    for (int32_t edge = 0; edge < innerFirst; ++edge)
        wrapped(edge);
    // A cell whose four neighbours match it keeps its value; a group of eight such cells (all
    // land or all water together with their neighbours) is passed at once, any other group is
    // smoothed cell by cell.
    int32_t g = innerFirst;
    while (innerLast - g + 1 >= lanes::kWidth) {
        const uint8_t *cells = land + g;
        const uint64_t self = lanes::Load(cells);
        const uint64_t up = lanes::Load(cells - gw);
        const uint64_t down = lanes::Load(cells + gw);
        const uint64_t left = lanes::Load(cells - 1);
        const uint64_t right = lanes::Load(cells + 1);
        const bool unchanged = (self | up | down | left | right) == 0
                               || (self & up & down & left & right) == lanes::kOnes;
        if (!unchanged) {
            for (int32_t i = g; i < g + lanes::kWidth; ++i) {
                const int32_t sum =
                    land[i - gw] + land[i - 1] + land[i + gw] + land[i + 1] + land[i];
                land[i] = Majority(sum, land[i]);
            }
        }
        g += lanes::kWidth;
    }
    for (; g < n; ++g)
        wrapped(g);
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
    for (int32_t pass = 0; pass < kSmoothingPasses; ++pass)
        SmoothCoastOnce(grid);
}

} // namespace trelvik
