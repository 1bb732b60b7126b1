// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/point_grid.h"

#include <vector>

namespace trelvik::play {

/// How a map is mirrored so that its starts stand on the same ground. The map wraps, so each
/// mirror has two lines: left-right mirrors about the columns 0 and W / 2 (the map's left half
/// is kept), top-bottom about the rows 0 and H / 2 (the top half is kept). Both together keep
/// the top-left quarter.
struct Mirror
{
    bool LeftRight = false;
    bool TopBottom = false;
};

/// The mirror for 2 players (across the map's longer side, so the players face each other over
/// it) or 4 players (both); no mirror for other counts.
Mirror MirrorFor(int players, int64_t width, int64_t height);

/// The point and its mirror images, in player order: for left-right the image follows the point;
/// for both, the point, its left-right image, its top-bottom image and the image of both.
std::vector<Point> MirrorImages(const PointGrid &grid, Point p, const Mirror &mirror);

/// True when the point lies in the part of the map the mirror keeps, off its lines.
bool InKeptPart(const PointGrid &grid, Point p, const Mirror &mirror);

/// Overwrites the heights and the terrain of the mirrored part with the mirror image of the
/// kept part. A triangle's texture goes to the triangle its mirror image is (top-bottom turns a
/// triangle below a point into one to its lower right and back). Mountain meadow (18) that no
/// mountain touches any more, the band of a mountain the mirror line cut off, becomes meadow.
/// Needs layers 1 to 3 to hold the map, its height even and its sides above 2; does nothing
/// otherwise.
void MirrorTerrain(MapDocument &document, const Mirror &mirror);

/// Overwrites the objects (layers 5 and 6), animals (layer 7) and resources (layer 12) of the
/// mirrored part with those of the kept part, and lists the animals anew from layer 7 in row
/// order.
void MirrorThings(MapDocument &document, const Mirror &mirror);

} // namespace trelvik::play
