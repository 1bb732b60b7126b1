// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "document/terrain.h"
#include "play/ground.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

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

/// Rewrites layer 9 (building quality) of every point from the terrain of the six triangles
/// around it (layers 2 and 3), the heights (layer 1) of the points up to two steps away, and
/// the objects (layer 6) on it and beside it. The map wraps at its edges. Only layer 9 changes,
/// and only as far as it reaches; bytes past the end of a short layer read as 0.
/// `ground`, when given, is the map's ground as play::ReadWholeGround reads it.
void ComputeBuildingQuality(MapDocument &document, const play::GroundFlags *ground = nullptr);

/// The quality the ground and heights alone allow each of the first ground.size() points, as if
/// nothing stood on the map: ComputeBuildingQuality without its rules for objects.
std::vector<uint8_t> GroundQuality(const MapDocument &document, const play::GroundFlags &ground);

/// GroundQuality worked out again on the points given (indices), after the terrain or the
/// heights near them changed: points up to two steps from a changed height, and points whose
/// triangles or whose south-east neighbour's triangles changed.
void UpdateGroundQuality(const MapDocument &document,
                         const play::GroundFlags &ground,
                         std::vector<uint8_t> &quality,
                         std::span<const std::size_t> points);

/// Writes layer 9 as ComputeBuildingQuality does, from the GroundQuality of the map as it is:
/// the points with no object on or beside them take it as it is, the others are worked out.
void QualityFromGround(MapDocument &document,
                       const std::vector<uint8_t> &groundQuality,
                       const play::GroundFlags &ground);

/// Works out layer 9 again on the points given (indices into the layers) only, by the rules of
/// ComputeBuildingQuality: after an object was put on or taken off a point, on that point's
/// QualityNeighbourhood. Indices past layer 9's end are passed over.
void UpdateBuildingQuality(MapDocument &document,
                           std::span<const std::size_t> points,
                           const play::GroundFlags *ground = nullptr);

/// The points whose building quality the object on a point can change: the point and its six
/// neighbours (heights and terrain reach two steps, objects one).
std::array<std::size_t, 7> QualityNeighbourhood(const PointGrid &grid, std::size_t index);

} // namespace trelvik
