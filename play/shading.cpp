#include "shading.h"

#include "point_grid.h"

#include <algorithm>

namespace trelvik {

void ComputeShading(MapDocument &document)
{
    const play::PointGrid grid(document);
    const MapLayer &heights = document.Layer(1);
    MapLayer &shading = document.Layer(13);
    const std::size_t count = grid.PointsIn(shading);
    grid.ForEachPoint(count, [&](play::Point p, std::size_t i) {
        const int h = grid.Read(heights, p);
        const int northEast = grid.Read(heights, grid.NorthEast(p)) - h;
        const int west = grid.Read(heights, grid.West(p)) - h;
        const int west2 = grid.Read(heights, grid.Offset(p, -2, 0)) - h;
        const int down = grid.Read(heights, grid.West(grid.SouthWest(p))) - h;
        const int value = kFlatShading + 9 * northEast - 6 * west - 3 * west2 - 9 * down;
        shading[i] = static_cast<uint8_t>(std::clamp(value, 0, 2 * kFlatShading));
    });
}

} // namespace trelvik
