// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "triangle_grid.h"

#include <cstdint>

namespace trelvik {

/// Sets six cells around cell g of row r to `code`: columns c - 1 to c + 1 of rows r - 1 and r
/// when r is odd, columns c to c + 2 when r is even. Indices wrap linearly, so a block passing
/// a row's end continues in the next row and one passing the grid's end continues at cell 0.
void PaintBlock(TriangleGrid &grid, int32_t g, int32_t r, uint8_t code);

/// Paints every cell base land (8), then water (5) from the odd samples of the odd rows, then
/// shore (4) wherever a sample differs from a neighbour.
void PaintWaterAndShore(TriangleGrid &grid);

} // namespace trelvik
