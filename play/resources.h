#pragma once

#include "document/map_document.h"
#include "play/ground.h"

#include <cstdint>

namespace trelvik {

/// Rewrites layer 12 (resources) of every point from the terrain around it: ore clusters on
/// points whose six triangles are all mining mountain (coal, iron, granite and gold, amounts 1 to
/// 7; 0x40 on the mountain points between them), fish (0x87) under open water, 0x21 (water to
/// drink) under buildable land, and 0 elsewhere. The same document and seed give the same bytes
/// on every machine. Only layer 12 changes.
/// `ground`, when given, is the map's ground as play::ReadWholeGround reads it.
void PlaceResources(MapDocument &document,
                    uint64_t seed,
                    const play::GroundFlags *ground = nullptr);

/// True for the bytes PlaceResources writes and the game reads as a resource.
bool IsValidResource(uint8_t value);

} // namespace trelvik
