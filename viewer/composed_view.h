// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace trelvik {

/// One palette index per map point, with the bounds of layer 1.
using ComposedView = std::vector<uint8_t>;

/// Indices of the Winter world's snow variants, by shading step. Shading past the table's end
/// uses its last entry.
inline constexpr std::array<uint8_t, 8> kWinterRamp = {99, 100, 101, 102, 103, 38, 39, 253};

/// The palette index of one point: its terrain code (layer 3, low six bits used), its shading
/// (layer 13) and the map's world type. Unknown world types use the Greenland column.
uint8_t ComposedIndex(uint8_t worldType, uint8_t terrainByte, uint8_t shading);

/// The terrain picture of the whole map, as long as layer 1. A point missing from layer 3 or
/// layer 13 (a file's layers may be shorter than layer 1) gets index 0.
ComposedView BuildComposedView(const MapDocument &document);

/// The picture of every point's other triangle, the one below it (layer 2), through the same
/// colours and the point's own shading; as long as layer 1, with index 0 where layer 2 or
/// layer 13 is too short.
ComposedView BuildLowerTriangles(const MapDocument &document);

/// Makes both pictures again at the given point indices only, after an edit there; indices
/// past the map are skipped. The result equals a whole rebuild of both; pictures of another
/// length than layer 1 (a map of another size) are rebuilt whole.
void UpdateComposedPoints(const MapDocument &document,
                          ComposedView &upper,
                          ComposedView &lower,
                          std::span<const std::size_t> points);

} // namespace trelvik
