#pragma once

#include "generator/grow_land.h"
#include "generator/random_source.h"
#include "generator/triangle_grid.h"

#include <cstdint>
#include <vector>

namespace trelvik::test {

// A second, deliberately plain reading of the generator's rules: one cell at a time, floating
// point exactly as the rules are worded, no shortcuts. The optimised stages must agree with it
// cell for cell and draw for draw.

/// "w x NextRandom(), rounded to four decimals, is greater than 1.4".
bool ReferenceAcceptsFourDecimals(int32_t weight, float value);

/// "floor(s x NextRandom()) is not 0".
bool ReferenceAcceptsQuick(int32_t score, float value);

int32_t
ReferenceSweepLand(TriangleGrid &grid, LandSweep sweep, bool quickMode, RandomSource &random);

void ReferenceSmoothOnce(TriangleGrid &grid);

/// One mountain cycle: direction draw, then the sweep.
int32_t ReferenceMountainCycle(TriangleGrid &grid, RandomSource &random);

/// One band scan, cell by cell, with the block painting written out from its rule.
void ReferenceScanBand(TriangleGrid &grid, uint8_t a, uint8_t b, uint8_t paint);

/// Layer 1 as the layer output writes it: heights per point, then one smoothing pass.
std::vector<uint8_t> ReferenceHeights(const TriangleGrid &grid, RandomSource &random);

/// A grid of the given size whose Land cells are 1 with the given chance (in percent).
TriangleGrid RandomLandGrid(int32_t width, int32_t height, int32_t percent, RandomSource &random);

} // namespace trelvik::test
