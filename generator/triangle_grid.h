// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace trelvik {

/// The generator's working grid: two triangle cells per map point, GW = 2 * W columns and H
/// rows, cell index g = r * GW + c. It lives only while one map is generated.
struct TriangleGrid
{
    /// All arrays zero. Sides are map sides (points); the caller keeps them in 64..256.
    TriangleGrid(int32_t width, int32_t height);

    int32_t W = 0;
    int32_t H = 0;
    int32_t GW = 0;
    int32_t N = 0;

    /// 1 = land, 0 = water.
    std::vector<uint8_t> Land;
    /// Terrain texture code of each triangle.
    std::vector<uint8_t> Terrain;
    /// Limits mountain growth; not used after it.
    std::vector<int16_t> MountainLevel;

    /// Linear wrap of an index from -N to 2N - 1: stepping past a row's end lands in the next
    /// row, past the grid's end at cell 0.
    int32_t wrap(int32_t k) const { return k < 0 ? k + N : (k >= N ? k - N : k); }
};

} // namespace trelvik
