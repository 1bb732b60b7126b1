// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random_source.h"
#include "triangle_grid.h"

namespace trelvik {

inline constexpr int32_t kSmoothingPasses = 10;

/// Thins the land at random in a band along the four edges of the grid, then smooths every
/// coast with ten in-place passes of a five-cell majority rule.
void ErodeAndSmoothCoast(TriangleGrid &grid, RandomSource &random);

/// The random thinning alone: bands of H div 20 + 4 rows at the top and bottom, then of
/// GW div 40 + 8 columns at the left and right, one draw per land cell met.
void ErodeCoastBands(TriangleGrid &grid, RandomSource &random);

/// One in-place smoothing pass over all cells, rows top to bottom, each row left to right;
/// neighbours wrap linearly (the first row sees the last, column 0 sees the previous row's end).
void SmoothCoastOnce(TriangleGrid &grid);

/// `passes` smoothing passes, exactly as that many calls of SmoothCoastOnce, but rows whose
/// neighbourhood has settled are not visited again.
void SmoothCoast(TriangleGrid &grid, int32_t passes);

} // namespace trelvik
