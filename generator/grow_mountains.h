// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random_source.h"
#include "triangle_grid.h"

#include <cstdint>

namespace trelvik {

/// A base cell whose neighbours' mountain levels add up to this or more cannot become mountain.
inline constexpr int32_t kMountainLevelLimit = 2000;

/// Places a few mountain seeds on base land (8) and grows them in the codes 1, 11, 12 and 13
/// until a random share of the base land has been taken. Also stops when no base cell is left
/// to seed or no cell can grow any more, since the target could then never be passed. Returns
/// the number of cycles (full sweeps) run.
int32_t GrowMountains(TriangleGrid &grid, RandomSource &random);

/// Draws m (5 to 25) and places m + 1 seeds on base land cells, each with a random mountain
/// code and level 1; a draw that falls on any other cell is repeated. Returns m, or 0 (after
/// drawing m only) when there are fewer than m + 1 base cells.
int32_t PlaceMountainSeeds(TriangleGrid &grid, RandomSource &random);

/// One growth cycle: draws the direction, then sweeps the whole grid in place. Returns the
/// number of cells turned to mountain.
int32_t RunMountainCycle(TriangleGrid &grid, RandomSource &random);

/// The mountain growth's weight of a base cell for one code, from which of its neighbours hold
/// that code: 1 to start, 2 with the cell above, 3 more for each side, and a cell below adds
/// 1.5 rounded half to even.
constexpr int32_t MountainWeight(bool above, bool left, bool right, bool below)
{
    int32_t weight = above ? 2 : 1;
    weight += left ? 3 : 0;
    weight += right ? 3 : 0;
    if (below)
        weight += (weight % 2 == 0) ? 2 : 1;
    return weight;
}

/// True when some base cell could still take a mountain code: it has a neighbour with a
/// mountain code and its neighbours' levels add up to less than the limit.
bool MountainCanGrow(const TriangleGrid &grid);

} // namespace trelvik
