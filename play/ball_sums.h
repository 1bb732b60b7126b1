// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/point_grid.h"

#include <array>
#include <cstdint>
#include <vector>

namespace trelvik::play {

/// The points at most `radius` steps from a point (the point itself included), across the map's
/// edges. They lie, in each of the 2R + 1 rows around the point, on one run of columns, so a
/// visit of them needs no walk; on a map too small for that (the hexagon would meet itself) they
/// are walked ring by ring instead.
class Ball
{
public:
    Ball(const PointGrid &grid, int radius);

    int Radius() const { return mRadius; }

    /// Calls visit(index) for each point of the ball around the point at index `centre`, once.
    template <typename Visit> void ForEach(std::size_t centre, Visit &&visit) const
    {
        if (!mRuns) {
            visit(centre);
            mWalker.Walk(centre, mRadius, [&](std::size_t k, int) { visit(k); });
            return;
        }
        ForEachRun(centre, [&](std::size_t from, std::size_t to) {
            for (std::size_t k = from; k <= to; ++k)
                visit(k);
        });
    }

    /// Calls visit(index, steps) for each point of the ball around the point at index `centre`,
    /// once, with its steps from the centre (0 for the centre).
    template <typename Visit> void ForEachWithSteps(std::size_t centre, Visit &&visit) const
    {
        if (!mRuns) {
            visit(centre, 0);
            mWalker.Walk(centre, mRadius, [&](std::size_t k, int d) { visit(k, d); });
            return;
        }
        const int64_t width = mGrid.Width();
        const int64_t height = mGrid.Height();
        const Point p = mGrid.PointAt(centre);
        for (const Span &span : mSpans[static_cast<std::size_t>(p.Y & 1)]) {
            const auto row = static_cast<std::size_t>(((p.Y + span.Dy + height) % height) * width);
            for (int dx = span.From; dx <= span.To; ++dx) {
                const int64_t x = (p.X + dx + width) % width;
                visit(row + static_cast<std::size_t>(x), StepsAway(p.Y & 1, dx, span.Dy));
            }
        }
    }

    /// Steps between (0, y) and (dx, y + dy) on an unbounded grid laid out as the map's, for
    /// a row y of `parity`.
    static int StepsAway(int64_t parity, int64_t dx, int64_t dy);

    /// Calls run(first, last) for runs of indices (first to last, inclusive) that together hold
    /// each point of the ball once; only when the ball has runs (see HasRuns).
    template <typename Run> void ForEachRun(std::size_t centre, Run &&run) const
    {
        const int64_t width = mGrid.Width();
        const int64_t height = mGrid.Height();
        const Point p = mGrid.PointAt(centre);
        for (const Span &span : mSpans[static_cast<std::size_t>(p.Y & 1)]) {
            const int64_t y = (p.Y + span.Dy + height) % height;
            const auto row = static_cast<std::size_t>(y * width);
            int64_t from = p.X + span.From;
            int64_t to = p.X + span.To;
            if (from < 0) { // the run wraps past the west edge
                run(row + static_cast<std::size_t>(from + width),
                    row + static_cast<std::size_t>(width - 1));
                from = 0;
            }
            if (to >= width) { // past the east edge
                run(row, row + static_cast<std::size_t>(to - width));
                to = width - 1;
            }
            run(row + static_cast<std::size_t>(from), row + static_cast<std::size_t>(to));
        }
    }

    bool HasRuns() const { return mRuns; }

private:
    struct Span
    {
        int Dy, From, To; // columns From to To (inclusive) of the row Dy rows away
    };

    const PointGrid &mGrid;
    int mRadius;
    bool mRuns = false;
    std::array<std::vector<Span>, 2> mSpans{}; // by the row parity of the centre
    mutable StepWalker mWalker;
};

} // namespace trelvik::play
