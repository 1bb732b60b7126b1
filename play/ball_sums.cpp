// SPDX-License-Identifier: GPL-3.0-or-later
#include "ball_sums.h"

#include <cstdlib>

namespace trelvik::play {
int Ball::StepsAway(int64_t parity, int64_t dx, int64_t dy)
{
    // In axial coordinates (column - row / 2, row), rounded down for the row's parity.
    const int64_t y1 = parity + dy;
    const int64_t dq = (dx - (y1 - (y1 & 1)) / 2) - (0 - (parity - (parity & 1)) / 2);
    return static_cast<int>((std::abs(dq) + std::abs(dy) + std::abs(dq + dy)) / 2);
}

Ball::Ball(const PointGrid &grid, int radius)
    : mGrid(grid)
    , mRadius(radius)
    , mWalker(grid)
{
    const int64_t width = grid.Width();
    const int64_t height = grid.Height();
    // Within a row the hexagon spans at most 2R + 1 columns, and it spans 2R + 1 rows; rows of
    // one parity must keep it when the map wraps, so the height is even.
    mRuns = !grid.Empty() && radius >= 0 && 2 * static_cast<int64_t>(radius) + 1 <= width
            && 2 * static_cast<int64_t>(radius) + 1 <= height && height % 2 == 0;
    if (!mRuns)
        return;
    for (int parity = 0; parity < 2; ++parity) {
        for (int dy = -radius; dy <= radius; ++dy) {
            int from = 0, to = -1;
            for (int dx = -2 * radius; dx <= 2 * radius; ++dx) {
                if (StepsAway(parity, dx, dy) > radius)
                    continue;
                from = to < from ? dx : from;
                to = dx;
            }
            mSpans[static_cast<std::size_t>(parity)].push_back({dy, from, to});
        }
    }
}

} // namespace trelvik::play
