// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint_bands_and_variants.h"

#include "byte_lanes.h"
#include "paint_water_and_shore.h"
#include "terrain_codes.h"

#include <array>
#include <cstddef>

namespace trelvik {

namespace {

void ScanMountainBands(TriangleGrid &grid)
{
    for (const uint8_t mountain : kMountainCodes)
        ScanBand(grid, mountain, kTerrainBaseLand, kTerrainMountainBand);
}

// The variant of base land for each value of RandomBelow(50): 9 to 20 give 9, 21 to 30 give
// 10, 31 to 35 give 15, the rest keep 8. A table, since the draws make any branch unpredictable.
constexpr std::array<uint8_t, 50> MakeBaseLandVariants()
{
    std::array<uint8_t, 50> variants{};
    for (std::size_t v = 0; v < variants.size(); ++v) {
        if (v >= 9 && v <= 20)
            variants[v] = 9;
        else if (v >= 21 && v <= 30)
            variants[v] = 10;
        else if (v >= 31 && v <= 35)
            variants[v] = 15;
        else
            variants[v] = kTerrainBaseLand;
    }
    return variants;
}
constexpr std::array<uint8_t, 50> kBaseLandVariants = MakeBaseLandVariants();

} // namespace

void ScanBand(TriangleGrid &grid, uint8_t a, uint8_t b, uint8_t paint)
{
    const int32_t gw = grid.GW;
    const uint8_t *terrain = grid.Terrain.data();
    // Every match involves a cell holding `key`, the rarer code of the pair, in the row or the
    // row above; rows where neither holds it are passed over. The test reads the rows as they
    // are when the scan reaches them, after any block painted before.
    const uint8_t key = a == kTerrainBaseLand ? b : a;
    const auto rowHoldsKey = [&](int32_t r) {
        uint64_t found = 0;
        for (int32_t c = 0; c < gw; c += lanes::kWidth)
            found |= lanes::Equal(lanes::Load(terrain + r * gw + c), key);
        return found != 0;
    };
    bool aboveHoldsKey = rowHoldsKey(0);
    for (int32_t r = 1; r < grid.H; ++r) {
        const bool holdsKey = rowHoldsKey(r);
        if (!holdsKey && !aboveHoldsKey) {
            aboveHoldsKey = false;
            continue;
        }
        int32_t c = 1;
        while (c < gw) {
            const int32_t g = r * gw + c;
            // Eight cells at a time: a group without a matching cell is passed at once,
            // otherwise the scan moves to its first match. Painting changes only that cell,
            // cells after it and the row above, so loading again after a block is exact.
            if (gw - c >= lanes::kWidth) {
                const uint64_t self = lanes::Load(terrain + g);
                const uint64_t left = lanes::Load(terrain + g - 1);
                const uint64_t up = lanes::Load(terrain + g - gw);
                const uint64_t match =
                    (lanes::Equal(self, a) & (lanes::Equal(left, b) | lanes::Equal(up, b)))
                    | (lanes::Equal(self, b) & (lanes::Equal(left, a) | lanes::Equal(up, a)));
                if (match == 0) {
                    c += lanes::kWidth;
                    continue;
                }
                const int32_t index = lanes::First(match);
                PaintBlock(grid, g + index, r, paint);
                c += index + 1;
                continue;
            }
            const uint8_t self = terrain[g];
            if (self == a || self == b) {
                const uint8_t other = self == a ? b : a;
                if (terrain[g - 1] == other || terrain[g - gw] == other)
                    PaintBlock(grid, g, r, paint);
            }
            ++c;
        }
        aboveHoldsKey = rowHoldsKey(r);
    }
}

void PaintBands(TriangleGrid &grid)
{
    ScanMountainBands(grid);
    for (const uint8_t mountain : kMountainCodes)
        ScanBand(grid, mountain, kTerrainMountainBand, mountain);
    ScanMountainBands(grid);
    ScanBand(grid, kTerrainBaseLand, kTerrainShore, kTerrainShoreBand);
    for (const uint8_t mountain : kMountainCodes)
        ScanBand(grid, mountain, kTerrainShore, kTerrainShoreBand);
    ScanBand(grid, kTerrainShoreBand, kTerrainBaseLand, kTerrainOuterShoreBand);
}

void PaintVariants(TriangleGrid &grid, RandomSource &random)
{
    for (uint8_t &cell : grid.Terrain) {
        if (cell == kTerrainShore) {
            cell = random.RandomBelow(2) == 1 ? kTerrainShoreVariant : kTerrainShore;
        } else if (cell == kTerrainBaseLand) {
            cell = kBaseLandVariants[static_cast<std::size_t>(random.RandomBelow(50))];
        }
    }
}

void PaintBandsAndVariants(TriangleGrid &grid, RandomSource &random)
{
    PaintBands(grid);
    PaintVariants(grid, random);
}

} // namespace trelvik
