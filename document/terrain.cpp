// SPDX-License-Identifier: GPL-3.0-or-later
#include "terrain.h"

namespace trelvik {

TerrainClass ClassifyTerrain(uint8_t terrainByte)
{
    switch (terrainByte & kTerrainMask) {
    case 0:
    case 6: // shallow water: ground for buildings
    case 8:
    case 9:
    case 10:
    case 14:
    case 15:
    case 18:
    case 34:
        return TerrainClass::Buildable;
    case 1:
    case 11:
    case 12:
    case 13:
        return TerrainClass::Mining;
    case 4:
    case 7:
        return TerrainClass::WalkableOnly;
    case 3:
    case 5:
    case 19:
        return TerrainClass::Impassable;
    default:
        // 2, 16, 20, 21, 22 are snow and lava. A code of no known class is taken as dangerous
        // too: it may make a point unbuildable, never buildable.
        return TerrainClass::Dangerous;
    }
}

} // namespace trelvik
