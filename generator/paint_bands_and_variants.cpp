#include "paint_bands_and_variants.h"

#include "paint_water_and_shore.h"
#include "terrain_codes.h"

namespace trelvik {

namespace {

void ScanMountainBands(TriangleGrid &grid)
{
    for (const uint8_t mountain : kMountainCodes)
        ScanBand(grid, mountain, kTerrainBaseLand, kTerrainMountainBand);
}

uint8_t BaseLandVariant(int32_t v)
{
    if (v >= 9 && v <= 20)
        return 9;
    if (v >= 21 && v <= 30)
        return 10;
    if (v >= 31 && v <= 35)
        return 15;
    return kTerrainBaseLand;
}

} // namespace

void ScanBand(TriangleGrid &grid, uint8_t a, uint8_t b, uint8_t paint)
{
    const int32_t gw = grid.GW;
    const uint8_t *terrain = grid.Terrain.data();
    for (int32_t r = 1; r < grid.H; ++r) {
        for (int32_t c = 1; c < gw; ++c) {
            const int32_t g = r * gw + c;
            const uint8_t self = terrain[g];
            if (self != a && self != b)
                continue;
            const uint8_t other = self == a ? b : a;
            if (terrain[g - 1] == other || terrain[g - gw] == other)
                PaintBlock(grid, g, r, paint);
        }
    }
}

void PaintBandsAndVariants(TriangleGrid &grid, RandomSource &random)
{
    ScanMountainBands(grid);
    for (const uint8_t mountain : kMountainCodes)
        ScanBand(grid, mountain, kTerrainMountainBand, mountain);
    ScanMountainBands(grid);
    ScanBand(grid, kTerrainBaseLand, kTerrainShore, kTerrainShoreBand);
    for (const uint8_t mountain : kMountainCodes)
        ScanBand(grid, mountain, kTerrainShore, kTerrainShoreBand);
    ScanBand(grid, kTerrainShoreBand, kTerrainBaseLand, kTerrainOuterShoreBand);

    for (uint8_t &cell : grid.Terrain) {
        if (cell == kTerrainShore) {
            if (random.RandomBelow(2) == 1)
                cell = kTerrainShoreVariant;
        } else if (cell == kTerrainBaseLand) {
            cell = BaseLandVariant(random.RandomBelow(50));
        }
    }
}

} // namespace trelvik
