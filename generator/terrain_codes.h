// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace trelvik {

// Terrain texture codes the generator paints (the codes layers 2 and 3 hold).
inline constexpr uint8_t kTerrainBaseLand = 8;
inline constexpr uint8_t kTerrainWater = 5;
inline constexpr uint8_t kTerrainShore = 4;
inline constexpr uint8_t kTerrainShoreVariant = 7;
inline constexpr uint8_t kTerrainMountainBand = 18;
inline constexpr uint8_t kTerrainShoreBand = 14;
inline constexpr uint8_t kTerrainOuterShoreBand = 0;

/// Mountain textures, in the order every stage tries them.
inline constexpr uint8_t kMountainCodes[4] = {1, 11, 12, 13};

constexpr bool IsMountainCode(uint8_t code)
{
    return code == 1 || code == 11 || code == 12 || code == 13;
}

} // namespace trelvik
