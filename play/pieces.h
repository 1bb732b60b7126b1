// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/ground.h"
#include "play/point_grid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvik::play {

enum class PieceKind : uint8_t { None = 0, Land = 1, Water = 2 };

/// Land: six walkable triangles around; water: six water triangles. Water first, so a point
/// amid shallow water (6, which is walkable too) is water.
constexpr PieceKind KindOf(uint16_t ground)
{
    if ((ground & kAllWater) != 0)
        return PieceKind::Water;
    return (ground & kAllWalkable) != 0 ? PieceKind::Land : PieceKind::None;
}

struct Piece
{
    PieceKind Kind = PieceKind::None;
    std::size_t First = 0; // its first point in row order
    std::size_t Size = 0;  // in points
};

/// The connected pieces of land and of water: points of one kind joined through neighbours
/// of that kind, the map wrapping at its edges.
struct Pieces
{
    std::vector<int32_t> Of; // the piece of each point, -1 for points of no kind
    std::vector<Piece> List; // in the row order of their first points
};

/// The pieces of the first ground.size() points; `ground` holds them in layer order.
Pieces FindPieces(const PointGrid &grid, const GroundFlags &ground);

/// What the finishing steps read of a terrain, which none of them changes.
struct TerrainReading
{
    GroundFlags Ground;
    play::Pieces Pieces;
};

/// Ground and pieces of every point of the map.
TerrainReading ReadTerrain(const PointGrid &grid, const MapDocument &document);

} // namespace trelvik::play
