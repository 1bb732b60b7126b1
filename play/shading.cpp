// SPDX-License-Identifier: GPL-3.0-or-later
#include "shading.h"

#include "point_grid.h"

#include <algorithm>
#include <array>

namespace trelvik {
namespace {

int Shade(int h, int northEast, int west, int west2, int down)
{
    const int value =
        kFlatShading + 9 * (northEast - h) - 6 * (west - h) - 3 * (west2 - h) - 9 * (down - h);
    return std::clamp(value, 0, 2 * kFlatShading);
}

} // namespace

void ComputeShading(MapDocument &document)
{
    const PointGrid grid(document);
    const MapLayer &heights = document.Layer(1);
    MapLayer &shading = document.Layer(13);
    const std::size_t count = grid.PointsIn(shading);
    const auto anywhere = [&](Point p, std::size_t i) {
        shading[i] = static_cast<uint8_t>(
            Shade(grid.Read(heights, p), grid.Read(heights, grid.NorthEast(p)),
                  grid.Read(heights, grid.West(p)), grid.Read(heights, grid.Offset(p, -2, 0)),
                  grid.Read(heights, grid.West(grid.SouthWest(p)))));
    };
    if (heights.size() < count || count < static_cast<std::size_t>(grid.Width() * grid.Height())) {
        grid.ForEachPoint(count, anywhere);
        return;
    }
    grid.ForEachPointByRows(
        [&](std::size_t i, const PointGrid::NearOffsets &o) {
            const auto at = [&](int64_t offset) {
                return heights[static_cast<std::size_t>(static_cast<int64_t>(i) + offset)];
            };
            // The north-east neighbour, the points one and two west, and the point west of the
            // south-west neighbour.
            shading[i] = static_cast<uint8_t>(
                Shade(heights[i], at(o.Neighbours[2]), at(-1), at(-2), at(o.Neighbours[5] - 1)));
        },
        anywhere);
}

} // namespace trelvik
