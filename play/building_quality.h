#pragma once

#include "document/map_document.h"
#include "play/ground.h"

#include <cstdint>

namespace trelvik {

/// Building quality codes of layer 9 (the game reads value & 7). There is no harbour code: a
/// harbour is a castle point with the harbour bit set in layer 2.
enum class BuildingQuality : uint8_t {
    Nothing = 0,
    Flag = 1,
    Hut = 2,
    House = 3,
    Castle = 4,
    Mine = 5,
};

/// What a terrain code (low six bits of a layer-2 or layer-3 byte) allows. The codes are the
/// same in every world.
enum class TerrainClass : uint8_t {
    Buildable,
    Mining,
    WalkableOnly,
    Impassable,
    Dangerous,
};

TerrainClass ClassifyTerrain(uint8_t terrainByte);

/// Rewrites layer 9 (building quality) of every point from the terrain of the six triangles
/// around it (layers 2 and 3), the heights (layer 1) of the points up to two steps away, and
/// the objects (layer 6) on it and beside it. The map wraps at its edges. Only layer 9 changes,
/// and only as far as it reaches; bytes past the end of a short layer read as 0.
/// `ground`, when given, is the map's ground as play::ReadWholeGround reads it.
void ComputeBuildingQuality(MapDocument &document, const play::GroundFlags *ground = nullptr);

} // namespace trelvik
