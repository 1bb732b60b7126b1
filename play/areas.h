// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/pieces.h"

namespace trelvik {

/// The byte of layer 14 for a point in no area.
inline constexpr uint8_t kNoArea = 0xFE;

/// Rewrites the header's area table and layer 14 from the terrain: each connected piece of land
/// (points whose six triangles are all walkable) and of water (points whose six triangles are
/// all water) is one entry (type 1 land, 2 water; one of its points; its size in points), largest
/// first, and its points carry the entry's index in layer 14; every other point carries kNoArea,
/// as do the points of pieces beyond the table's 250 entries. Unused entries are cleared.
/// `terrain`, when given, is what play::ReadTerrain reads of the map.
void ComputeAreas(MapDocument &document, const play::TerrainReading *terrain = nullptr);

} // namespace trelvik
