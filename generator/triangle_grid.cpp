// SPDX-License-Identifier: GPL-3.0-or-later
#include "triangle_grid.h"

#include <cstddef>

namespace trelvik {

TriangleGrid::TriangleGrid(int32_t width, int32_t height)
    : W(width)
    , H(height)
    , GW(2 * width)
    , N(2 * width * height)
    , Land(static_cast<std::size_t>(N), 0)
    , Terrain(static_cast<std::size_t>(N), 0)
    , MountainLevel(static_cast<std::size_t>(N), 0)
{}

} // namespace trelvik
