// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random_source.h"
#include "triangle_grid.h"

#include <cstdint>

namespace trelvik {

/// Number of band scans PaintBandsAndVariants makes.
inline constexpr int32_t kBandScanCount = 18;

/// One in-place band scan: every cell of rows 1.. and columns 1.. whose code and its left or
/// upper neighbour's code are `a` and `b` (either way round) gets a block of `paint`.
void ScanBand(TriangleGrid &grid, uint8_t a, uint8_t b, uint8_t paint);

/// The band scans alone, in their fixed order.
void PaintBands(TriangleGrid &grid);

/// The variant pass alone: each shore cell (4) draws once and becomes 7 on a 1 of
/// RandomBelow(2); each base land cell (8) draws RandomBelow(50) and may become 9, 10 or 15.
/// Other cells draw nothing.
void PaintVariants(TriangleGrid &grid, RandomSource &random);

/// Lays the transition bands between mountain, base land and shore, then scatters variants of
/// shore and base land.
void PaintBandsAndVariants(TriangleGrid &grid, RandomSource &random);

} // namespace trelvik
