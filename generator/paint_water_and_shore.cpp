// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint_water_and_shore.h"

#include "terrain_codes.h"

#include <algorithm>

namespace trelvik {

void PaintBlock(TriangleGrid &grid, int32_t g, int32_t r, uint8_t code)
{
    uint8_t *terrain = grid.Terrain.data();
    const int32_t gw = grid.GW;
    if (r % 2 != 0) {
        terrain[grid.wrap(g - gw - 1)] = code;
        terrain[grid.wrap(g - 1)] = code;
    } else {
        terrain[grid.wrap(g - gw + 2)] = code;
        terrain[grid.wrap(g + 2)] = code;
    }
    terrain[grid.wrap(g - gw)] = code;
    terrain[grid.wrap(g - gw + 1)] = code;
    terrain[grid.wrap(g + 1)] = code;
    terrain[g] = code;
}

void PaintWaterAndShore(TriangleGrid &grid)
{
    std::fill(grid.Terrain.begin(), grid.Terrain.end(), kTerrainBaseLand);
    const uint8_t *land = grid.Land.data();
    const int32_t gw = grid.GW;

    for (int32_t r = 1; r < grid.H; r += 2) {
        for (int32_t c = 1; c < gw; c += 2) {
            const int32_t g = r * gw + c;
            if (land[g] == 0)
                PaintBlock(grid, g, r, kTerrainWater);
        }
    }

    for (int32_t r = 1; r < grid.H; ++r) {
        for (int32_t c = 1; c < gw; c += 2) {
            const int32_t g = r * gw + c;
            const uint8_t self = land[g];
            if (self != land[grid.wrap(g + 1)] || self != land[g - 1] || self != land[g - gw]
                || self != land[grid.wrap(g + gw)])
                PaintBlock(grid, g, r, kTerrainShore);
        }
    }
}

} // namespace trelvik
