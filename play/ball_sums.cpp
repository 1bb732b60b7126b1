#include "ball_sums.h"

#include <cstdlib>

namespace trelvik::play {
namespace {

// Steps between (0, y0) and (dx, y0 + dy) on an unbounded grid laid out as the map's.
int64_t Steps(int64_t y0, int64_t dx, int64_t dy)
{
    const int64_t y1 = y0 + dy;
    const int64_t dr = dy;
    const int64_t dq = (dx - (y1 - (y1 & 1)) / 2) - (0 - (y0 - (y0 & 1)) / 2);
    return (std::abs(dq) + std::abs(dr) + std::abs(dq + dr)) / 2;
}

} // namespace

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
                if (Steps(parity, dx, dy) > radius)
                    continue;
                from = to < from ? dx : from;
                to = dx;
            }
            mSpans[static_cast<std::size_t>(parity)].push_back({dy, from, to});
        }
    }
}

} // namespace trelvik::play
