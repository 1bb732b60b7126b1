// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random_source.h"
#include "triangle_grid.h"

#include <cstdint>
#include <functional>

namespace trelvik {

/// Receives the progress value, 0 to 10000, after each cycle of the land growth.
using ProgressCallback = std::function<void(int32_t value)>;

inline constexpr int32_t kProgressMax = 10000;

/// Grows the land of a fresh all-water grid from random seeds until the land count passes a
/// random target. `quickMode` selects the faster-growing acceptance rule. Returns the number of
/// sweeps run.
int32_t GrowLand(TriangleGrid &grid,
                 bool quickMode,
                 RandomSource &random,
                 const ProgressCallback &progress = {});

/// The four sweep orders of a land growth cycle, in the order a cycle tries them: rows down or
/// up, each row to the right or to the left.
enum class LandSweep {
    DownRight,
    DownLeft,
    UpLeft,
    UpRight,
};

/// Places the seeds of the land growth on an all-water grid and returns how many were placed.
/// When no seed can start growth (none lies outside the border or beside a cell that does),
/// they are taken back and the count and seeds are drawn again, the source going on, since
/// such a grid would never reach its target.
int32_t PlaceLandSeeds(TriangleGrid &grid, RandomSource &random);

/// One in-place sweep of the land growth over the whole grid: every water cell draws once and
/// turns to land when its score accepts the draw. Returns the number of cells turned to land.
int32_t SweepLand(TriangleGrid &grid, LandSweep sweep, bool quickMode, RandomSource &random);

/// The land growth's score of a water cell with the given land neighbours, away from the
/// border: above 2, left and right 3 each, and a land cell below adds 1.5 rounded half to even.
constexpr int32_t LandScore(bool above, bool left, bool right, bool below)
{
    int32_t score = above ? 2 : 0;
    score += left ? 3 : 0;
    score += right ? 3 : 0;
    if (below)
        score += (score % 2 == 0) ? 2 : 1;
    return score;
}

/// True when cell (c, r) lies in the band where growth never happens: the first and last ten
/// columns and the first and last five rows.
constexpr bool IsLandBorder(int32_t c, int32_t r, int32_t gridWidth, int32_t height)
{
    return c < 10 || c > gridWidth - 11 || r < 5 || r > height - 6;
}

/// Progress after a cycle: landCount / growthTarget * 10000 rounded half to even, at most
/// 10000.
int32_t LandProgress(int32_t landCount, int32_t growthTarget);

} // namespace trelvik
