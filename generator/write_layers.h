// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "random_source.h"
#include "triangle_grid.h"

namespace trelvik {

inline constexpr uint8_t kWaterHeight = 10;
inline constexpr uint8_t kCastleQuality = 4;

/// Reduces the grid to the fourteen layers of `document`, one byte per point (each layer is
/// sized to W * H points), draws the heights and smooths them once.
void WriteLayers(const TriangleGrid &grid, MapDocument &document, RandomSource &random);

/// The grid cell that stands for point (x, y): triangle 2x of row y, one further in odd rows
/// except the last, so that cell + 1 always lies inside the grid.
constexpr int32_t SampleCell(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t shift = (y % 2 != 0 && y < height - 1) ? 1 : 0;
    return 2 * (y * width + x) + shift;
}

} // namespace trelvik
