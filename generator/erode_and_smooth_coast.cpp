#include "erode_and_smooth_coast.h"

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
    for (int32_t g = 0; g < innerFirst; ++g)
        wrapped(g);
    for (int32_t g = innerFirst; g <= innerLast; ++g) {
        const int32_t sum = land[g - gw] + land[g - 1] + land[g + gw] + land[g + 1] + land[g];
        land[g] = Majority(sum, land[g]);
    }
    for (int32_t g = innerLast + 1; g < n; ++g)
        wrapped(g);
}

void ErodeAndSmoothCoast(TriangleGrid &grid, RandomSource &random)
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

    for (int32_t pass = 0; pass < kSmoothingPasses; ++pass)
        SmoothCoastOnce(grid);
}

} // namespace trelvik
