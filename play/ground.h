#pragma once

#include "play/building_quality.h"

#include <cstdint>

namespace trelvik::play {

/// Deep (5) and shallow (6) water: what makes open water, and what a point touches when it lies
/// by the water.
constexpr bool IsWaterCode(uint8_t code)
{
    return code == 5 || code == 6;
}

/// Terrain a settler walks on: buildable, mining and walk-only ground.
inline bool IsWalkableCode(uint8_t code)
{
    const TerrainClass c = ClassifyTerrain(code);
    return c == TerrainClass::Buildable || c == TerrainClass::Mining
           || c == TerrainClass::WalkableOnly;
}

} // namespace trelvik::play
