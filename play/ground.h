// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/point_grid.h"

#include <cstdint>
#include <vector>

namespace trelvik::play {

/// What the six triangles around a point make of it, as bits.
enum GroundFlag : uint16_t {
    kAllBuildable = 1U << 0U,
    kAllMining = 1U << 1U,
    kAllWalkable = 1U << 2U, // buildable, mining or walkable only
    kAllFirm = 1U << 3U,     // buildable or mining
    kAllWater = 1U << 4U,
    kTouchesWater = 1U << 5U,
    kTouchesDanger = 1U << 6U, // snow, lava or a code of no known class
    kAnyBuildable = 1U << 7U,
    kAnyWalkable = 1U << 8U,
    kAnyMining = 1U << 9U,
};

/// The GroundFlag bits of the points of a map, one per point in layer order.
using GroundFlags = std::vector<uint16_t>;

/// The ground flags of one point. Triangles past the end of a short layer read as code 0.
uint16_t GroundAt(const PointGrid &grid, const MapDocument &document, Point p);

/// The ground flags of the first `count` points of the map (at most Width x Height of them).
/// One fast pass when layers 2 and 3 hold every point; point by point otherwise, so that a
/// damaged map claiming a huge size costs no more than `count`.
GroundFlags ReadGround(const PointGrid &grid, const MapDocument &document, std::size_t count);

/// ReadGround of every point of the map, but of no more points than layers 2 and 3 hold;
/// none when the map has no points.
GroundFlags ReadWholeGround(const PointGrid &grid, const MapDocument &document);

/// The ground flags of a point: from `flags` when they reach it, else read afresh.
inline uint16_t GroundOf(const GroundFlags &flags,
                         const PointGrid &grid,
                         const MapDocument &document,
                         Point p,
                         std::size_t index)
{
    return index < flags.size() ? flags[index] : GroundAt(grid, document, p);
}

/// `*known` when given and long enough for `count` points, else the ground read afresh into
/// `fresh`: lets the steps of a finish share one reading.
const GroundFlags &GroundFor(const PointGrid &grid,
                             const MapDocument &document,
                             std::size_t count,
                             const GroundFlags *known,
                             GroundFlags &fresh);

} // namespace trelvik::play
